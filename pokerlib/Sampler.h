#pragma once
// Monte Carlo equity: a win counts 1, a k-way tie 1/k.

#include <cstdint>

class Spec;

namespace brisquel {

// Equity of hole against players - 1 random hands; the missing board is dealt at random.
// Returns 0 for unusable input (bad or repeated cards, no trials).
double EquityVsRandom(std::uint64_t rng[4], const int hole[2], const int board[5], int boardCount,
                      int players, int trials);
// Equity against one hand drawn uniformly from the range's combinations that miss the known
// cards; a range with none of those falls back to a random hand.
double EquityVsRange(std::uint64_t rng[4], const int hole[2], const int board[5], int boardCount,
                     const Spec &spec, int trials);
// The combination code of a hand value (see PokerLogic::getCombination).
int CombinationCode(std::uint32_t value);
// The combination code of the hole cards and the board so far; cards outside 0..51 are left out.
int CombinationOfCards(const int hole[2], const int board[5], int boardCount);

} // namespace brisquel
