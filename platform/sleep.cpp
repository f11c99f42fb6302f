#include "platform/sleep.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace {

std::mutex g_mutex;
std::shared_ptr<const SleepFunction> g_fn;

} // namespace

void Sleep(int32_t nMilliseconds)
{
    std::shared_ptr<const SleepFunction> fn;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        fn = g_fn;
    }
    if (fn) {
        (*fn)(nMilliseconds);
        return;
    }
    if (nMilliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds));
}

SleepFunction SetSleepFunction(SleepFunction fn)
{
    auto next = fn ? std::make_shared<const SleepFunction>(std::move(fn)) : nullptr;
    std::lock_guard<std::mutex> lock(g_mutex);
    auto previous = std::move(g_fn);
    g_fn = std::move(next);
    return previous ? *previous : SleepFunction();
}
