#pragma once
// Deals cards at random from the cards that are not known yet.

#include "pokerlib/Rng.h"

#include <cstdint>

namespace brisquel {

// Deals from the unknown cards by partial Fisher-Yates: each card is a swap of a uniformly
// chosen later card to the front. The deck is not restored between samples; a partial shuffle
// of any arrangement is still uniform. Indices come from 32-bit halves of one 64-bit draw by
// multiply-and-shift, with Lemire's rejection so that no card is favoured.
class Dealer
{
public:
    Dealer(std::uint64_t *rng, std::uint64_t known)
        : m_rng(rng)
    {
        for (int c = 0; c < 52; ++c)
            if (!(known >> c & 1))
                m_deck[m_size++] = c;
    }

    void Restart() { m_next = 0; }

    // Uniform in [0, range), range < 2^32.
    std::uint32_t Below(std::uint32_t range)
    {
        std::uint64_t m = std::uint64_t(Random32()) * range;
        if (std::uint32_t(m) < range) [[unlikely]] {
            const std::uint32_t threshold = (0u - range) % range;
            while (std::uint32_t(m) < threshold)
                m = std::uint64_t(Random32()) * range;
        }
        return std::uint32_t(m >> 32);
    }

    // The next card of this sample.
    int Deal()
    {
        const std::uint32_t range = std::uint32_t(m_size - m_next);
        const int j = m_next + int(Below(range));
        const int card = m_deck[j];
        m_deck[j] = m_deck[m_next];
        m_deck[m_next++] = card;
        return card;
    }

    // The next card that is not in excluded (rare rejection keeps it uniform).
    int DealExcept(std::uint64_t excluded)
    {
        for (;;) {
            const int card = Deal();
            if (!(excluded >> card & 1))
                return card;
            --m_next; // put it back among the undealt cards and draw again
        }
    }

private:
    std::uint32_t Random32()
    {
        if (m_halfLeft) {
            m_halfLeft = false;
            return std::uint32_t(m_bits >> 32);
        }
        m_bits = NextXoshiro(m_rng);
        m_halfLeft = true;
        return std::uint32_t(m_bits);
    }

    std::uint64_t *m_rng;
    std::uint64_t m_bits = 0;
    bool m_halfLeft = false;
    int m_deck[52];
    int m_size = 0;
    int m_next = 0;
};

} // namespace brisquel
