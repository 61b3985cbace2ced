#include "pokerlib/Carrowby.h"
#include "pokerlib/HandValue.h"
#include "pokerlib/Rng.h"
#include "pokerlib/Sampler.h"

#include <algorithm>

namespace {

constexpr int kDefaultTrials = 100000; // the odds calculator's count: well under a second

} // namespace

PokerLogic::PokerLogic()
    : trialCount(kDefaultTrials)
{
    brisquel::SeedXoshiro(m_rng, brisquel::NextLibrarySeed());
}

double PokerLogic::getProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                                       int players)
{
    return brisquel::EquityVsRandom(m_rng, hole, board, boardCount, players, trialCount);
}

double PokerLogic::getProbabilityOfWinBySpectr(const int hole[2], const int board[5],
                                               int boardCount, const Spec &spec)
{
    return brisquel::EquityVsRange(m_rng, hole, board, boardCount, spec, trialCount);
}

// Code: high card 1..13 by the top rank (deuce 1 .. ace 13), one pair 14..26 by the pair's rank,
// then 27 two pair, 28 trips, 29 straight, 30 flush, 31 full house, 32 quads, 33 straight flush.
int PokerLogic::getCombination(const int hole[2], const int board[5], int boardCount)
{
    return brisquel::CombinationOfCards(hole, board, boardCount);
}
