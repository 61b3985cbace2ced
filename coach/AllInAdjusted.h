#pragma once
// Results adjusted to all-in equity: luck taken out of the hands whose money all went in before
// the river. For such a hand the seat is credited with the chips it could expect from the pot
// at that moment (every remaining board enumerated with the cards of every seat still in, main
// and side pots settled as the table settles them) instead of the chips the board gave it.
//
// A hand counts as an all-in when the betting ended before the river with two or more seats
// still in (everyone else all in, or all but one). A hand whose betting went on after an all-in
// (a side pot played out between others) keeps its actual result. Folded seats' cards stay in
// the deck: nobody at the table saw them.
//
// Thread use: pure functions on values; any thread.

#include "history/HistoryReader.h"

#include <vector>

namespace coach {

struct AllInHandResult
{
    int hand = 0;          // the hand's number
    bool dealt = false;    // the seat had chips at the start of the hand
    bool allIn = false;    // the money went in before the river with this seat still in
    bool adjusted = false; // allIn, and every card needed was known: `adjustedChips` is the EV
    int boardAtAllIn = 0;  // board cards dealt when the betting ended (0, 3 or 4) when allIn
    int actualChips = 0;   // chips won less chips put in (ante included; chips added left out)
    // The chips expected from the pot at the all-in less chips put in; actualChips otherwise.
    double adjustedChips = 0.0;
};

struct AllInAdjustedResult
{
    std::vector<AllInHandResult> hands; // one per hand of the game, in the game's order
    int allIns = 0;                     // hands adjusted
    long long actualChips = 0;          // sums over the hands
    double adjustedChips = 0.0;
};

// The chips `seat` can expect from the pot of `hand` once its betting is over, with the first
// `boardCards` board cards known and the rest dealt in every way from the cards nobody still
// in holds. Pots are cut by what each seat put in (folded seats' chips included) and split
// among the best hands still in that reach them. -1 when a card needed is not known (a seat
// still in without known cards, fewer board cards than asked), or the seat folded.
double ExpectedFromPot(const history::Hand &hand, int seat, int boardCards);

// One hand, and every hand of a game, for `seat`.
AllInHandResult AllInAdjustedHand(const history::Hand &hand, int seat);
AllInAdjustedResult AllInAdjusted(const history::Game &game, int seat);

} // namespace coach
