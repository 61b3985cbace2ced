#pragma once
// Hand accumulator for the hot paths: a hand is the sum of its cards' entries, so a shared
// board is summed once and each hole pair added to it.

#include <cstdint>

namespace brisquel {

struct Hand
{
    std::uint64_t mask = 0; // bit 16 * suit + rank index per card

    Hand operator+(const Hand &o) const { return Hand{mask + o.mask}; }
    Hand &operator+=(const Hand &o)
    {
        mask += o.mask;
        return *this;
    }
};

inline Hand CardHand(int card)
{
    return Hand{1ull << (16 * (card / 13) + card % 13)};
}

// A value that orders hands exactly (higher wins); distinct cards, 0..7 of them.
std::uint32_t Evaluate(const Hand &hand);

} // namespace brisquel
