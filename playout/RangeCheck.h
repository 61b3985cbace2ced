#pragma once
// How well the range tracker reads the personas, measured on games between them where every
// card is known. After each action of a seat, the next seat still in the hand (the judge) takes
// its equity against the tracker's weights for the seat and against the seat's real cards; if
// the weights are the true odds of the seat's cards given its actions, the two agree on average.
// The same against uniform weights (any hand) is the control.
//
// Thread use: CheckRanges plays its games on the calling thread (each game on a thread of its
// own, one after the other).

#include <cstdint>
#include <string>

namespace playout {

// What the seat has just done, the cells of the measure.
enum class RangeSituation
{
    NotActed,    // its first decision of the hand, before it acts: any hand
    Opened,      // raised before the flop with no raise before it
    Called,      // called before the flop
    ReRaised,    // raised before the flop over a raise
    AllIn,       // went all in before the flop
    PostflopBet, // bet or raised after the flop
    PostflopCall,
    PostflopCheck,
};
constexpr int kRangeSituations = 8;
const char *RangeSituationName(RangeSituation situation);

// A running mean of equity differences (in points, 0..100).
struct DiffStats
{
    int n = 0;
    double sum = 0.0;
    double sumSquares = 0.0;

    void Add(double x);
    double Mean() const;
    double HalfWidth95() const; // the 95 % interval's half width; 0 with fewer than two values
};

struct RangeCheckCell
{
    DiffStats model;   // equity against the tracker's weights less equity against the real hand
    DiffStats uniform; // the same against any hand
    // The same against the weights the tracker gives a seat without a persona (statistics and
    // position, narrowed by the actions): how the model of an unknown player fares on these.
    DiffStats unknown;
};

struct RangeCheckOptions
{
    int games = 4;
    int seats = 6;
    int lastHand = 80;       // hands per game at most
    std::uint64_t seed = 1;  // game g plays with seed + g
    int equityTrials = 3000; // deals per equity estimate
    std::string folder;      // the games' files go here (must exist)
};

struct RangeCheckResult
{
    // [persona - kPersonaMaster][situation]
    RangeCheckCell cells[4][kRangeSituations];
    int hands = 0;
    int decisions = 0;
};

RangeCheckResult CheckRanges(const RangeCheckOptions &options);

// One line per persona and situation with data: n, then the mean and interval of the model,
// the control and the unknown-player model.
std::string FormatRangeCheck(const RangeCheckResult &result);

} // namespace playout
