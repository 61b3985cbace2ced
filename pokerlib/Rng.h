#pragma once
// Random sources of the library: xoshiro256** seeded through splitmix64, and the seeds that
// make a whole run repeat after SeedPokerLibrary.

#include <cstdint>

namespace brisquel {

inline std::uint64_t SplitMix64(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

inline void SeedXoshiro(std::uint64_t state[4], std::uint64_t seed)
{
    for (int i = 0; i < 4; ++i)
        state[i] = SplitMix64(seed);
}

inline std::uint64_t NextXoshiro(std::uint64_t s[4])
{
    const auto rotl = [](std::uint64_t v, int k) { return (v << k) | (v >> (64 - k)); };
    const std::uint64_t result = rotl(s[1] * 5, 7) * 9;
    const std::uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 45);
    return result;
}

__extension__ typedef unsigned __int128 UInt128;

// Uniform in [0, range) without bias (Lemire's multiply-and-reject); range > 0.
inline std::uint64_t UniformBelow(std::uint64_t s[4], std::uint64_t range)
{
    UInt128 m = UInt128(NextXoshiro(s)) * range;
    std::uint64_t low = std::uint64_t(m);
    if (low < range) {
        const std::uint64_t threshold = (0 - range) % range;
        while (low < threshold) {
            m = UInt128(NextXoshiro(s)) * range;
            low = std::uint64_t(m);
        }
    }
    return std::uint64_t(m >> 64);
}

// A fresh seed: derived from the library seed when one was set, from the clock otherwise.
std::uint64_t NextLibrarySeed();

} // namespace brisquel
