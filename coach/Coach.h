#pragma once
// The coach: judges one decision of a player from the price the pot offers and the equity the
// hand holds. Plain C++, no Qt; the desktop program and `brisquel-cli review` both use it.
//
// For one decision point (hole cards, board, the opponents still in, the pot with every bet in
// front, the chips to call) it gives:
// - the price: the equity a call needs, to_call / (winnable + to_call), and the pot odds
//   winnable:to_call, where winnable is the part of the pot the player can win (see WinnablePot);
// - the equity against the opponents holding random hands, and against estimated ranges, each
//   a Monte Carlo estimate over a fixed number of deals with its standard error;
// - the expected value of calling in chips, summed over the pot's layers (main and side pots)
//   the player contests, each won against the opponents eligible for it, less to_call; and a
//   judgement of the price, taken against the range equity (see Judge).
// The verdict the coach shows on a move is the grade of its loss by play-outs (playout::Advice)
// wherever there is one; the price and the equity explain a call or a fold, and give the
// verdict only where no grade exists.
//
// Pot layers: a player who puts in T chips in all can win at most T from each other seat. The
// layers are cut at T and at the totals of opponents already all in below T; an opponent with
// chips behind counts as eligible for every layer (it can still call), an all-in one only for the
// layers its chips reach. Without the seats' contributions (they do not add up to the pot) the
// whole pot is one layer, as if nobody were short.
//
// How an opponent's range is chosen (RangeFor):
// - with at least kMinHandsForStats hands of statistics, an opponent who raised before the flop
//   in this hand holds the best PFR % of starting hands, one who only called the best VPIP %;
// - otherwise (too few hands, or no voluntary chips before the flop) the range of its position
//   class: late (button and blinds) the button opening range of about 40 %, middle the cut-off
//   range of about 27 %, early the best kEarlyRangePercent % of hands.
// Combinations that clash with cards already known are left out; an opponent whose range has
// none left holds a random hand.
//
// Thread use: an Estimator belongs to one thread at a time; everything else is pure functions.

#include "playout/Advice.h"
#include "pokerlib/Carrowby.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace coach {

// A fold with this much equity or more above what the price needs is too tight; a call with this
// much or more below it is too loose.
constexpr double kVerdictMargin = 0.05;
// Deals per estimate: the standard error stays under 0.5 points of equity.
constexpr int kDefaultTrials = 10000;
// Fewer hands than this and an opponent's VPIP and PFR say too little to go by.
constexpr int kMinHandsForStats = 20;
constexpr double kEarlyRangePercent = 15.0;
// A range is never narrower than this, whatever the statistics say.
constexpr double kMinRangePercent = 2.0;

enum class PreflopMove
{
    None,   // no voluntary chips before the flop (yet)
    Called, // called, never raised
    Raised, // raised (or re-raised)
};

struct Opponent
{
    int seat = -1;
    int positionClass = 0; // 0 early, 1 middle, 2 late
    int stack = 0;         // chips behind; 0 means all in
    int committed = 0;     // chips it has put in this hand
    int hands = 0;         // N of its statistics
    double vpip = 0.0;     // shares 0..1
    double pfr = 0.0;
    PreflopMove preflop = PreflopMove::None;
    // The play-outs' weights of its hands by combination (playout::ComboIndex), so that the
    // equity line and the grades read one range; empty: the range of its statistics (a seat
    // yet to act).
    std::vector<double> weights;
};

struct DecisionPoint
{
    std::array<int, 2> hole{-1, -1};
    std::vector<int> board;          // 0, 3, 4 or 5 cards
    std::vector<Opponent> opponents; // the seats still in, the player not among them
    int pot = 0;                     // every chip put in, the bets in front included
    int toCall = 0;                  // chips the player must add to stay in (capped at its stack)
    int committed = 0;               // chips the player has put in this hand
    std::vector<int> dead;           // chips put in this hand by seats that folded
};

struct Price
{
    double needed = 0.0;  // to_call / (winnable + to_call); 0 with nothing to call
    double potOdds = 0.0; // winnable / to_call; 0 with nothing to call
};

struct Equity
{
    double value = 0.0;
    double standardError = 0.0;
};

struct Estimate
{
    bool valid = false; // false for unusable cards (unknown, repeated, out of range)
    Price price;
    Equity random; // against random hands
    Equity range;  // against the estimated ranges
    double evCall = 0.0;
    double evCallError = 0.0; // standard error of evCall
};

enum class Move
{
    Fold,
    Check,
    Call,
    Bet,
    Raise,
};

enum class Verdict
{
    Ok,
    TooTight,
    TooLoose,
    NotJudged, // bets and raises
};

enum class RangeSource
{
    Pfr,
    Vpip,
    Position,
};

Price PriceOf(int pot, int toCall);
// The chips of the pot (before the call) the player can win: its own, and from every other seat
// at most the player's total after the call. The whole pot when the contributions are not known.
int WinnablePot(const DecisionPoint &point);
// "3:1", "2.5:1"; "-" with nothing to call.
std::string PotOddsText(const Price &price);
// The range source and its share of hands (in %; for Position the range's own share).
RangeSource ChooseRange(const Opponent &opponent, double &percent);

// The Monte Carlo estimates.
class Estimator
{
public:
    // Without a seed the library's seed source decides (repeatable after SeedPokerLibrary).
    explicit Estimator(int trials = kDefaultTrials, std::optional<std::uint64_t> seed = {});
    Estimate Evaluate(const DecisionPoint &point);
    int Trials() const { return m_trials; }
    // The combinations an opponent is given, each as (card, card); empty means any hand.
    const std::vector<std::pair<int, int>> &RangeFor(const Opponent &opponent);

private:
    // The range equity, and the call's expected value over the pot's layers into `estimate`.
    void RangeEquity(const DecisionPoint &point, Estimate &estimate);

    int m_trials;
    std::uint64_t m_rng[4];
    CStatSpectr m_spectrum;
    std::vector<std::pair<int, int>> m_positionRanges[3];
    std::map<long, std::vector<std::pair<int, int>>> m_percentRanges; // by tenths of a percent
};

// Gives each opponent of `point` the play-outs' weights of its hands from `ranges` (numbered by
// the play-outs' seats; `seatOf` turns an opponent's seat into that number, the same without it).
void TakeRanges(DecisionPoint &point, const std::vector<playout::HandWeights> &ranges,
                const std::function<int(int)> &seatOf = {});

// Fold: too tight when the range equity beats the price by the margin or more. Call: too loose
// when it falls short of the price by the margin or more. Check: ok. Bet or raise: not judged.
Verdict Judge(Move move, const Estimate &estimate);
// Chips the move gave away against the other choice, 0 unless the verdict is a mistake.
double ChipsLost(Move move, const Estimate &estimate);

const char *MoveName(Move move);          // "fold", "check", "call", "bet", "raise"
const char *VerdictName(Verdict verdict); // "ok", "too tight", "too loose", "-"
// The one verdict on a move: the grade ("mistake", "small mistake (uncertain)") when the
// advice has one, else the judgement of the price.
std::string VerdictText(Verdict price, const playout::Advice &advice);

// The action panel's line (UTF-8): "Equity 43 % · needs 25 % (3:1)".
std::string PanelLine(const Estimate &estimate);
// The output pane's line after the hand (UTF-8), for example
// "Coach: river call 120 into 300, equity 18 % < 29 % needed: mistake (−44)".
// amount is the chips put in by the move (the call's price for a fold is point.toCall);
// street "preflop", "flop", "turn" or "river". The verdict is the grade of `graded` (its
// chosen option settled) when it has one; without one, the judgement of the price, and bets
// and raises go without a verdict.
std::string PaneLine(const std::string &street, Move move, int amount, const DecisionPoint &point,
                     const Estimate &estimate, const playout::Advice &graded = {});

} // namespace coach
