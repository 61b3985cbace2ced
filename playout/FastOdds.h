#pragma once
// The decision code's questions answered fast enough to replay thousands of decisions: the
// questions before the flop from tables filled once per process (each entry a large Monte Carlo
// sample, so the answers agree with the poker library's within its own noise), after the flop a
// smaller sample. Used by the range tracker and the play-outs, never by the table's own opponents.
//
// Thread use: the tables are filled once, safely, and then only read; a CFastOdds object belongs
// to one thread at a time (it owns its random source).

#include "opponents/Decisions.h"

#include <cstdint>

namespace playout {

class CFastOdds : public IDecisionOdds
{
public:
    explicit CFastOdds(std::uint64_t seed = 1);
    double ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                            int players) override;
    double ProbabilityAgainstTop(const int hole[2], double pct,
                                 const CStatSpectr &spectrum) override;
    int Combination(const int hole[2], const int board[5], int boardCount) override;
    int Group(int first, int second) override;

private:
    std::uint64_t m_state[4];
};

} // namespace playout
