#pragma once
// The coach over a game read from its files: every decision of one seat, judged, and the
// engine's statistics rebuilt hand by hand so that opponents' ranges are chosen as they would
// have been at the table. Used by `brisquel-cli review` and the review window.
//
// Thread use: pure functions apart from the Estimator passed in.

#include "coach/Coach.h"
#include "history/HistoryReader.h"
#include "playout/Advice.h"
#include "stats/PokerStat.h"

#include <functional>
#include <string>
#include <vector>

namespace coach {

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
    // Every option of the decision valued in big blinds, the move made among them and graded.
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
bool ReviewGame(const history::Game &game, int seat, Estimator &estimator,
                std::vector<ReviewRow> &rows, ReviewSummary &summary, std::string &error,
                const std::function<bool()> &wanted = {});

// The engine's event list of a hand (what it hands to AnalyzeHand), rebuilt from the files.
std::vector<CAction> HandEvents(const history::Hand &hand, bool firstHandOfGame);

// The statistics of every seat before each hand: result[h][s] holds what seat s had after
// hands 0 .. h-1; the last entry holds the totals after every hand.
std::vector<std::vector<CPokerStat>> StatisticsBeforeHands(const history::Game &game);

// One tab-separated line per row and the header line, as `brisquel-cli review` prints them.
std::string ReviewHeader();
std::string ReviewLine(const ReviewRow &row);

} // namespace coach
