#pragma once
// Equity of 2 to 10 players, each holding a known hand, a range or a random hand: sampled on
// every core, or counted exactly over every board and every combination of the ranges.
//
// Sampling runs in blocks of kTrialsPerBlock trials, block i seeded from (seed, i) alone, and
// sums integer counts; so a seed gives the same result whatever the number of threads.
// A combination that shares a card with the board, a dead card or another player's known hand
// is dropped; the players' hands are drawn together, uniformly among the deals in which none
// collide: by one draw among those deals listed once when the ranges clash often, otherwise
// hand by hand, redrawn on a clash within a bounded number of redraws.
//
// Thread use: CalculateEquity may be called from any thread, several at once; it shares its
// work with the process's pool of workers (WorkPool.h) and returns once they are done with
// it. The progress callback runs on the caller's thread or on those workers.

#include "pokerlib/CardCodes.h"
#include "pokerlib/RangeNotation.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brisquel {

constexpr int kMaxEquityPlayers = kMaxSeats;
constexpr std::uint64_t kTrialsPerBlock = 1u << 16;
// Exact counting evaluates at most this many showdowns (about a second on one core for two
// players). Deals that differ only by a relabelling of suits, and boards that differ only by
// suits that cannot make a flush, share one showdown: a hand against a hand before the flop
// takes some 50,000 for its 1,712,304 boards.
constexpr std::uint64_t kMaxExactShowdowns = 60'000'000;

struct EquityPlayer
{
    ComboList combos; // the hands the player may hold; empty: a random hand
};

struct EquitySetup
{
    std::vector<EquityPlayer> players;
    std::vector<int> board; // 0, 3, 4 or 5 cards
    std::vector<int> dead;  // cards out of play: in no hand and not on the board
    bool exact = false;
    std::uint64_t trials = 100000; // when sampling
    std::uint64_t seed = 0;
    int threads = 0; // 0: one per core
    // Only the first player's figures are wanted: sampling then ends a deal as soon as that
    // player has lost, and the result holds that player alone.
    bool firstPlayerOnly = false;
    // Called now and then with the share of the work done; returning false stops the run,
    // which then reports an error.
    std::function<bool(double)> progress;
};

struct PlayerEquity
{
    double win = 0;      // alone with the best hand
    double tie = 0;      // sharing the best hand
    double equity = 0;   // wins plus the shares of ties
    double stdError = 0; // of equity; 0 when counted exactly
};

struct EquityResult
{
    bool ok = false;
    std::string error;
    bool exact = false;
    std::uint64_t deals = 0;     // trials sampled, or deals counted
    std::uint64_t showdowns = 0; // evaluated when counting exactly
    std::uint64_t redraws = 0;   // sampling: ranged hands drawn again after a clash
    int threads = 0;             // threads that ran
    std::vector<PlayerEquity> players;
};

EquityResult CalculateEquity(const EquitySetup &setup);

// The deals exact counting stands for, or limit + 1 as soon as there are more; 0 for a setup
// that cannot be dealt.
std::uint64_t CountExactDeals(const EquitySetup &setup, std::uint64_t limit = UINT64_MAX / 2);

// The showdowns exact counting would evaluate, or limit + 1 when they are more; 0 for a setup
// that cannot be dealt. The setup's progress, when given, can stop the search early (then the
// answer is limit + 1).
std::uint64_t CountExactShowdowns(const EquitySetup &setup,
                                  std::uint64_t limit = kMaxExactShowdowns);

} // namespace brisquel
