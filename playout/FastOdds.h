#pragma once
// The decision code's questions answered fast enough to replay thousands of decisions: the
// questions before the flop from tables filled once per process (each entry a large Monte Carlo
// sample, so the answers agree with the poker library's within its own noise), after the flop a
// smaller sample. Used by the range tracker and the play-outs, never by the table's own opponents.
//
// After the flop, a board asked about many times (the range tracker asks for every combination)
// gets a table of its own: every combination's equity on each run-out at once (every run-out on
// the turn and the river, a sample of them on the flop), kept until another board is asked about.
//
// Thread use: the tables are filled once, safely, and then only read; a CFastOdds object belongs
// to one thread at a time (it owns its random source and its board table).

#include "opponents/Decisions.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace playout {

// Monte Carlo deals behind each table entry before the flop, and behind each answer after it
// when the board has no table yet.
constexpr int kFastPreflopTrials = 20000;
constexpr int kFastPostflopTrials = 1000;
// Deals behind each entry against the top of the spectrum (one opponent: cheaper per deal).
constexpr int kFastTopTrials = 10000;
// Questions about one board, each not asked before, after which its table is built (for the
// players asked about and fewer; built again should more be asked about).
constexpr int kBoardTableAfter = 12;
// Rivers sampled for each turn card in a flop's table (the turn and the river take every
// run-out).
constexpr int kFlopRiversPerTurn = 6;

class CFastOdds : public IDecisionOdds
{
public:
    explicit CFastOdds(std::uint64_t seed = 1);
    ~CFastOdds() override;
    double ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                            int players) override;
    double ProbabilityAgainstTop(const int hole[2], double pct,
                                 const CStatSpectr &spectrum) override;
    int Combination(const int hole[2], const int board[5], int boardCount) override;
    int Group(int first, int second) override;

    // Builds the board's table now: for a caller about to ask for every combination.
    void PrepareBoard(const int board[5], int boardCount, int players);

private:
    // The board's table, when it has one or has been asked about often enough; else nullptr.
    const float *BoardEquities(const int board[5], int boardCount, int players, bool now);

    struct BoardTable;
    std::uint64_t m_state[4];
    std::uint64_t m_seed = 0;
    std::unique_ptr<BoardTable> m_board;
    // Answers after the flop remembered by question (one slot per hash, the latest kept).
    struct Answer
    {
        std::uint64_t board = 0;
        std::uint32_t tag = 0; // the hand and the player count; 0: empty
        double equity = 0.0;
    };
    static constexpr std::size_t kRememberedAnswers = 1 << 14;
    std::vector<Answer> m_answers;
};

// Fills every before-the-flop win entry (2 to 10 players) now rather than on first use; under
// two seconds of one core. Safe to call from any thread, any number of times.
void WarmFastOdds();

} // namespace playout
