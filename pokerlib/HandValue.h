#pragma once
// Exact hand values. A value orders hands exactly (higher is better, equal only for hands of
// equal strength): bits 20..23 hold the category, bits 0..19 five rank nibbles, the most
// significant first (rank index 0 deuce .. 12 ace).
//   pair:      pair rank, three kickers
//   two pair:  high pair, low pair, kicker
//   trips:     trips rank, two kickers
//   straight / straight flush: the top rank only (the wheel tops at the five, rank index 3)
//   full house: trips rank, pair rank;  quads: quads rank, kicker;  high card / flush: 5 ranks
// This form is slow to compute but easy to read; the equity samplers use the table evaluator.

#include <cstdint>

namespace brisquel {

enum HandCategory : int
{
    kHighCard = 0,
    kOnePair,
    kTwoPair,
    kTrips,
    kStraight,
    kFlush,
    kFullHouse,
    kQuads,
    kStraightFlush,
};

constexpr int kCategoryShift = 20;

inline int CategoryOf(std::uint32_t value)
{
    return int(value >> kCategoryShift);
}
// The n-th rank nibble, 0 the most significant.
inline int RankNibble(std::uint32_t value, int n)
{
    return int(value >> (16 - 4 * n)) & 0xF;
}

// Best value of 0..7 cards given as per-rank counts and per-suit 13-bit rank masks.
std::uint32_t EvaluateCounts(const int counts[13], const unsigned suitMasks[4]);
// Best value of n (0..7) distinct card integers; cards outside 0..51 are skipped.
std::uint32_t EvaluateCards(const int *cards, int n);
// Top rank of a straight within a 13-bit rank mask, or -1.
int StraightTop(unsigned rankMask);

} // namespace brisquel
