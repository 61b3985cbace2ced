#pragma once
// How a hand read back from its files ended, for the windows that show it: the uncalled bet
// that went back to its owner (the hand history books it among the winnings), the pot the
// players really played for, and whether the hand ended by folds, at a showdown, or all in
// with the board dealt out. Plain C++, no Qt.
//
// Thread use: pure functions on values.

#include "history/HistoryReader.h"

#include <string>

namespace outcome {

enum class Ending
{
    Folds,    // one player left: nobody showed a hand
    Showdown, // the betting went to the river and the hands were shown
    AllIn,    // all in before the river: the board was dealt out without betting
};

struct HandOutcome
{
    Ending ending = Ending::Folds;
    int returnedSeat = -1; // the seat whose chips nobody matched, -1 for none
    int returned = 0;      // those chips, given back
    int pot = 0;           // every chip put in but the returned ones

    // What seat s took from the pot, of the `paid` chips the hand history pays it: less its
    // own chips given back.
    int Won(int s, int paid) const;
};

HandOutcome OutcomeOf(const history::Hand &hand);

// How the hand ended for seat s, in a few words: "folded on the flop", "the others folded",
// "at the showdown", "all in before the river".
std::string HowItEnded(const history::Hand &hand, int s);

} // namespace outcome
