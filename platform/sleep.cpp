#include "platform/sleep.h"

#include <chrono>
#include <memory>
#include <thread>

namespace {

std::mutex g_mutex;
std::shared_ptr<const SleepFunction> g_fn;

std::shared_ptr<const SleepFunction> SwappedSleep()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_fn;
}

} // namespace

void Sleep(int32_t nMilliseconds)
{
    if (const auto fn = SwappedSleep()) {
        (*fn)(nMilliseconds);
        return;
    }
    if (nMilliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
}

int32_t SleepUnlessWoken(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                         int32_t nMilliseconds, const std::function<bool()>& bWoken)
{
    if (bWoken())
        return nMilliseconds > 0 ? nMilliseconds : 0;
    if (const auto fn = SwappedSleep()) {
        lock.unlock();
        (*fn)(nMilliseconds);
        lock.lock();
        // A test's sleep that returns with the wait woken stands for one cut
        // short at its start: all of it is left.
        return bWoken() ? nMilliseconds : 0;
    }
    if (nMilliseconds <= 0)
        return 0;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(nMilliseconds);
    if (!cv.wait_until(lock, end, bWoken))
        return 0;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
    return static_cast<int32_t>(left > 0 ? left : 0);
}

SleepFunction SetSleepFunction(SleepFunction fn)
{
    auto next = fn ? std::make_shared<const SleepFunction>(std::move(fn)) : nullptr;
    std::lock_guard<std::mutex> lock(g_mutex);
    auto previous = std::move(g_fn);
    g_fn = std::move(next);
    return previous ? *previous : SleepFunction();
}
