#include "pokerlib/Carrowby.h"
#include "pokerlib/Rng.h"

#include <atomic>
#include <chrono>

namespace brisquel {

namespace {

std::atomic<bool> g_seeded{false};
std::atomic<std::uint64_t> g_librarySeed{0};
std::atomic<std::uint64_t> g_drawCount{0};

} // namespace

std::uint64_t NextLibrarySeed()
{
    // The counter keeps two calls within one clock tick apart.
    std::uint64_t x = g_drawCount.fetch_add(1, std::memory_order_relaxed);
    if (g_seeded.load(std::memory_order_acquire)) {
        x += g_librarySeed.load(std::memory_order_relaxed) * 0xD1B54A32D192ED03ull;
    } else {
        const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        x ^= std::uint64_t(now) * 0x9E3779B97F4A7C15ull;
    }
    return SplitMix64(x);
}

} // namespace brisquel

void SeedPokerLibrary(std::uint64_t seed)
{
    brisquel::g_librarySeed.store(seed, std::memory_order_relaxed);
    brisquel::g_drawCount.store(0, std::memory_order_relaxed);
    brisquel::g_seeded.store(true, std::memory_order_release);
}

EasyRandom::EasyRandom(int lo, int hi)
{
    SetInterval(lo, hi);
    brisquel::SeedXoshiro(m_state, brisquel::NextLibrarySeed());
}

void EasyRandom::SetTimerSeed()
{
    if (m_fixed)
        return; // a fixed sequence must not pick up the clock
    brisquel::SeedXoshiro(m_state, brisquel::NextLibrarySeed());
}

void EasyRandom::SetFixedSeed(std::uint64_t seed)
{
    m_fixed = true;
    brisquel::SeedXoshiro(m_state, seed);
}

void EasyRandom::SetInterval(int lo, int hi)
{
    if (lo > hi)
        std::swap(lo, hi);
    m_lo = lo;
    m_hi = hi;
}

int EasyRandom::DrawRandomNumber()
{
    const std::uint64_t range = std::uint64_t(std::int64_t(m_hi) - m_lo) + 1;
    return int(std::int64_t(m_lo) + std::int64_t(brisquel::UniformBelow(m_state, range)));
}
