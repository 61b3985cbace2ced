#pragma once
// How a game went for one seat, from the game's files: hands played, net chips and big blinds
// per 100 hands, the result with all-in luck taken out, the biggest pots won and lost, and the
// decisions the coach found most costly. Plain C++, no Qt; the game summary window shows it.
//
// Thread use: pure functions on values (the equity counts start their own workers).

#include "coach/Review.h"
#include "history/HistoryReader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace summary {

struct PotResult
{
    int hand = 0;       // the hand's number
    int pot = 0;        // every chip put in during the hand but a bet nobody called
    int net = 0;        // what the seat won minus what it put in
    std::string ending; // how it ended for the seat: "folded preflop", "at the showdown", ...
};

struct GameSummary
{
    int seat = -1;
    int hands = 0;                      // hands the seat was dealt into
    int net = 0;                        // chips won over the game, chips added not counted
    double bbPer100 = 0;                // net in big blinds of each hand, per 100 hands
    double allInNet = 0;                // net with every all-in before the river paid by its equity
    int allInHands = 0;                 // the hands so adjusted
    std::vector<PotResult> biggestWon;  // up to three, largest first
    std::vector<PotResult> biggestLost; // likewise, by chips lost
};

// The summary of the game seat's player, followed through the hands wherever he sat. All-in
// hands are counted exactly over the boards still to come.
GameSummary Summarize(const history::Game &game, int seat);

// The seat's net in one hand had each pot still open at the all-in been shared out by equity:
// the hand's actual net when it was not all in before the river with every hand known.
// `adjusted` tells which.
double AllInAdjustedNet(const history::Hand &hand, int seat, bool &adjusted);

// What a decision cost in big blinds, as the coach's verdict has it: the graded loss of a
// decision graded a small mistake or worse (0 for one graded ok); without a grade, the chips
// the judgement of the price says it lost, in big blinds of its hand.
double DecisionCostBb(const coach::ReviewRow &row);
// The coach's decisions that cost most (DecisionCostBb > 0), largest first, at most `count`.
std::vector<coach::ReviewRow> CostliestDecisions(const std::vector<coach::ReviewRow> &rows,
                                                 int count = 3);

} // namespace summary
