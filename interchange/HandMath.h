#pragma once
// Shared by the writers and readers: the pots of a finished hand, the PokerStars wording of a
// made hand, and the replay that gives an imported hand what history/ gives a read one.

#include "history/HistoryReader.h"
#include "history/TextPatterns.h"

#include <string>
#include <vector>

namespace interchange::detail {

struct Pot
{
    int amount = 0;
    std::vector<int> eligible;               // seats still in that may win it
    std::vector<std::pair<int, int>> shares; // (seat, chips) paid from it
};

struct Settlement
{
    int uncalledSeat = -1; // the seat whose unmatched chips go back, -1 for none
    int uncalled = 0;
    std::vector<Pot> pots; // the main pot first
    bool split = false;    // the shares of every pot are known and add up to what each seat won
    // Set when the hands shown split the pots otherwise than the seats' winnings (which are
    // kept): who won what against what the hands give.
    std::string warning;
};

// The uncalled bet, the main and side pots and who took what from each, from the chips each
// seat put in and won.
Settlement Settle(const history::Hand &hand);

// Pays each pot to its best hands among its eligible seats (odd chips to the first winners
// after the button); false when a needed hand is not known.
bool SplitByStrength(const history::Hand &hand, std::vector<Pot> &pots);

// "a pair of Aces", "two pair, Aces and Eights", ...; empty without five cards.
std::string Describe(const std::array<int, 2> &hole, const std::vector<int> &board);

// Fills what follows from the seats' starting stacks, the actions' streets, seats, kinds and
// chips and the seats' winnings: the table before every action, the chips each seat put in,
// the stacks at the end, the winners and the positions.
void Replay(history::Hand &hand, int humanSeat);

// The seat's hand against the board, 0 when its cards are not known.
unsigned HandStrength(const history::Hand &hand, int seat);

using history::detail::SplitLines;

// The hand's button, the last seat when the hand names none.
int ButtonOf(const history::Hand &hand);

// The seats in play order for a hand: from the first seat after the button round to the button.
std::vector<int> SeatsFromButton(const history::Hand &hand);

} // namespace interchange::detail
