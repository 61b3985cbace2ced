#pragma once
// How cards and a table's places are numbered, for every part of the program.

namespace brisquel {

// A card is 0..51: suit * 13 + rank, the suits clubs, diamonds, hearts, spades and the ranks
// from the deuce (0) to the ace (12); -1 marks an empty slot.
constexpr int kRankCount = 13;
constexpr int RankOf(int card)
{
    return card % kRankCount;
}
constexpr int SuitOf(int card)
{
    return card / kRankCount;
}
constexpr int CardOf(int rank, int suit)
{
    return suit * kRankCount + rank;
}
constexpr bool SameSuit(int a, int b)
{
    return SuitOf(a) == SuitOf(b);
}

// A table seats ten at most.
constexpr int kMaxSeats = 10;
// A table's cards in one array: seat s's hole cards at 2s and 2s + 1, then the board.
constexpr int kBoardFirst = 2 * kMaxSeats;
constexpr int kTableCards = kBoardFirst + 5;

} // namespace brisquel
