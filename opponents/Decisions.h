#pragma once
// The computer opponents' decisions before and after the flop. Each returns the chips the seat
// puts in now: 0 checks when nothing is owed and folds otherwise.
//
// Threads: called on the game thread with a consistent table; the only state they change is
// the random source passed in.

#include "engine/EngineInterfaces.h"
#include "engine/GameState.h"

// The library questions a decision asks. The real answers come from the poker library; tests
// substitute fixed answers where a Monte Carlo estimate would make a boundary untestable.
class IDecisionOdds
{
public:
    virtual ~IDecisionOdds() = default;
    virtual double ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                                    int players) = 0;
    // Equity against the best pct % of starting hands.
    virtual double ProbabilityAgainstTop(const int hole[2], double pct,
                                         const CStatSpectr &spectrum) = 0;
    virtual int Combination(const int hole[2], const int board[5], int boardCount) = 0;
    virtual int Group(int first, int second) = 0; // Sklansky group, 0 outside all groups
};

// Answers from the poker library, with a fresh sampler of kDecisionTrials per question.
class CLibraryOdds : public IDecisionOdds
{
public:
    double ProbabilityOfWin(const int hole[2], const int board[5], int boardCount,
                            int players) override;
    double ProbabilityAgainstTop(const int hole[2], double pct,
                                 const CStatSpectr &spectrum) override;
    int Combination(const int hole[2], const int board[5], int boardCount) override;
    int Group(int first, int second) override;
};

constexpr int kDecisionTrials = 5000;

int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random);
int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random, IDecisionOdds &odds);

// street: 0 flop, 1 turn, 2 river.
int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random);
int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random,
                   IDecisionOdds &odds);

// Master's small-blind push: the stack in big blinds below which the hand goes all in.
// Ranks 2..14 (ace 14); a pair of aces returns infinity.
double PushThreshold(int rank1, int rank2, bool suited);

// The personas plugged into the engine.
class CPersonaDecider : public IDecider
{
public:
    CPersonaDecider() = default;
    // odds must outlive the decider; nullptr means the poker library.
    explicit CPersonaDecider(IDecisionOdds *odds)
        : m_odds(odds)
    {}

    int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) override;
    int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random) override;

private:
    IDecisionOdds *m_odds = nullptr;
    CLibraryOdds m_library;
};
