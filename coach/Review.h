#pragma once
// The coach over a game read from its files: every decision of one seat, judged, and the
// engine's statistics rebuilt hand by hand so that opponents' ranges are chosen as they would
// have been at the table. Used by `brisquel-cli review` and the review window.
//
// Every decision is also valued by play-outs (playout::Advise): each option a fixed number of
// times, from a seed of its own derived from the review's seed, the hand's number and the
// decision's place in the hand, so that the answer is the same however the work is shared out.
// A bet or raise of a size the advisor does not offer is graded as the offered size nearest
// to it; a fold where a check was free against a fold option worth 0. The grade is the row's
// verdict (VerdictText); the judgement of the price stands in only for rows without one.
//
// Thread use: ReviewGame values the decisions on a few threads of its own, joined before it
// returns; `wanted` is asked on the calling thread only. Otherwise pure functions apart from
// the Estimator passed in.

#include "coach/Coach.h"
#include "history/HistoryReader.h"
#include "playout/Advice.h"
#include "stats/PokerStat.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace coach {

// Play-outs per option behind each decision's advice: enough for grades that mostly hold from
// one seed to another, and a 90-hand game of one seat at nine seats reviewed in well under half
// a minute on two cores (bench/bench_review.cpp).
constexpr int kDefaultReviewSamples = 600;

struct ReviewOptions
{
    int samplesPerOption = kDefaultReviewSamples; // 0: no advice, the verdicts alone
    std::optional<std::uint64_t> seed;            // none: a random one per review
    int threads = 0;                              // 0: one per core
};

// Where the seat sat in the hand, as the leak table groups decisions: the blinds apart, the
// other seats by the engine's position classes.
enum class Position
{
    Early,
    Middle,
    Late,
    Blinds,
};
const char *PositionName(Position position); // "early", "middle", "late", "blinds"

struct ReviewRow
{
    int hand = 0; // the hand's number
    history::Street street = history::Street::Preflop;
    Move move = Move::Fold;
    int amount = 0; // chips put in by the move
    DecisionPoint point;
    Estimate estimate;
    Verdict verdict = Verdict::Ok;
    double chipsLost = 0.0;
    Position position = Position::Early;
    int bigBlind = 0; // of the hand
    // Every option of the decision valued in big blinds, the move made among them and graded;
    // not valid when the hand does not replay (or no advice was asked for).
    playout::Advice advice;
};

struct ReviewSummary
{
    int decisions = 0;
    int tooTight = 0;
    int tooLoose = 0;
    int hands = 0; // hands the seat was dealt into
    double chipsLost = 0.0;
    double evLossBb = 0.0; // big blinds the graded decisions gave away against the best option
    int graded = 0;        // decisions with a grade
    std::array<int, 4> byGrade{};      // graded ok, small mistake, mistake, blunder (by Grade)
    std::vector<std::string> warnings; // hands left without advice, one sentence each
    double chipsLostPer100() const { return hands > 0 ? 100.0 * chipsLost / hands : 0.0; }
    double evLossPer100() const { return hands > 0 ? 100.0 * evLossBb / hands : 0.0; }
};

// The seat to review: `player` by name (with or without its "_seat" suffix), else the human,
// else seat 0. -1 with a message when the name is not at the table.
int ReviewSeat(const history::Game &game, const std::string &player, std::string &error);

// Every decision (fold, check, call, bet, raise) of `seat`, in order; `summary` adds up. False
// with a message when the seat's own cards are not known (no game log for a computer seat).
// `wanted`, when given, is asked before each hand and each decision: once it says false the
// review stops at once and returns false with error "stopped".
// Each row's advice is valued as `options` says.
bool ReviewGame(const history::Game &game, int seat, Estimator &estimator,
                std::vector<ReviewRow> &rows, ReviewSummary &summary, std::string &error,
                const std::function<bool()> &wanted = {}, const ReviewOptions &options = {});

// The engine's event list of a hand (what it hands to AnalyzeHand), rebuilt from the files.
std::vector<CAction> HandEvents(const history::Hand &hand, bool firstHandOfGame);

// The statistics of every seat before each hand: result[h][s] holds what the player in seat s of
// hand h had after hands 0 .. h-1, counted by his name wherever he sat; the last entry holds the
// totals after every hand, for the seats of the last hand.
std::vector<std::vector<CPokerStat>> StatisticsBeforeHands(const history::Game &game);

// One tab-separated line per row and the header line, as `brisquel-cli review` prints them;
// `game` names the row's game. Cells without a value hold "-".
std::string ReviewHeader();
std::string ReviewLine(const ReviewRow &row, const std::string &game = {});

// The decisions grouped by street, position and action, in that order: how many, how many
// graded a small mistake or worse (and of those, how many only against the computer
// opponents' code), and the big blinds they gave away.
struct LeakCell
{
    history::Street street = history::Street::Preflop;
    Position position = Position::Early;
    Move move = Move::Fold;
    int decisions = 0;
    int mistakes = 0;
    double lostBb = 0.0;
    // Of the mistakes, those whose move was the best against typical players: lessons about
    // the computer opponents' code, not about poker.
    int exploitOnly = 0;
};
std::vector<LeakCell> LeakTable(const std::vector<ReviewRow> &rows);

} // namespace coach
