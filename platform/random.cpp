#include "platform/random.h"

#include <chrono>
#include <mutex>
#include <random>

namespace {

std::mutex g_mutex;
std::mt19937 g_engine; // default seed until someone seeds it

} // namespace

int32_t Rand()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return static_cast<int32_t>(g_engine() >> 1);
}

void SeedRandom(uint32_t nSeed)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_engine.seed(nSeed);
}

void SeedRandomFromTime()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    SeedRandom(static_cast<uint32_t>(now) ^ static_cast<uint32_t>(static_cast<uint64_t>(now) >> 32));
}
