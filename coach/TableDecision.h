#pragma once
// The coach's view of the live table: the decision point of a seat as the game state stands,
// and the move a decision amounts to.
//
// Threads: read the table with the game's state mutex held.

#include "coach/Coach.h"
#include "engine/GameState.h"
#include "stats/PokerStat.h"

#include <string>
#include <vector>

namespace coach {

// Seat `seat` deciding now; actions is the hand's event list so far (who called or raised
// before the flop).
DecisionPoint TableDecision(const CGameTable &table, const std::vector<CAction> &actions, int seat);
// What the engine books for `amount` chips put in (and FOLD pressed or not) at this point.
Move MoveOf(const DecisionPoint &point, int amount, bool fold, int stack);
// "preflop", "flop", "turn", "river" for a board of 0, 3, 4 or 5 cards.
std::string StreetOfBoard(int boardCount);
// An opponent's statistics as the coach reads them.
void ApplyStatistics(Opponent &opponent, const CPokerStat &stat);

} // namespace coach
