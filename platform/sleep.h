#pragma once

#include <cstdint>
#include <functional>

// The one way the game waits. Tests swap the implementation so that a whole
// quiz with its one-second pauses runs in milliseconds.
using SleepFunction = std::function<void(int32_t nMilliseconds)>;

void Sleep(int32_t nMilliseconds);

// Replaces the sleep for the whole process and returns the previous one.
// An empty function restores the real sleep.
SleepFunction SetSleepFunction(SleepFunction fn);
