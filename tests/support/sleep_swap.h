#pragma once

#include "platform/sleep.h"

#include <utility>

// Swaps the game's sleep for the lifetime of a test.
class CSleepSwap
{
public:
    explicit CSleepSwap(SleepFunction fn) : m_previous(SetSleepFunction(std::move(fn))) {}
    ~CSleepSwap() { SetSleepFunction(m_previous); }
    CSleepSwap(const CSleepSwap&) = delete;
    CSleepSwap& operator=(const CSleepSwap&) = delete;

private:
    SleepFunction m_previous;
};
