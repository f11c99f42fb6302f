#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

// The one way the game waits. Tests swap the implementation so that a whole
// quiz with its one-second pauses runs in milliseconds.
using SleepFunction = std::function<void(int32_t nMilliseconds)>;

void Sleep(int32_t nMilliseconds);

// Sleeps up to nMilliseconds, but returns as soon as bWoken() holds. lock
// holds cv's mutex; whoever makes bWoken true does so under that mutex and
// then notifies cv. Returns the milliseconds left unslept: 0 when the time
// ran out. A swapped sleep function stands for the time passing: it is
// called, with the lock released, unless bWoken already holds; if bWoken
// holds when it returns, the whole time counts as left.
int32_t SleepUnlessWoken(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                         int32_t nMilliseconds, const std::function<bool()>& bWoken);

// Replaces the sleep for the whole process and returns the previous one.
// An empty function restores the real sleep.
SleepFunction SetSleepFunction(SleepFunction fn);
