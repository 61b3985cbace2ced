#pragma once
// The typical player: how the coach expects a player whose decision code it does not know to
// play (a seat of another program's hand history, the human when another seat is reviewed, and
// every opponent when the coach asks what standard play would be against the table).
//
// Its leanings at a decision are shares of folding, checking or calling, and betting or
// raising, set by the hand's strength, the position, the stack depth and the action so far,
// with the frequencies of low-stakes online play: opening about 13 % of hands from early
// position to about 40 % on the button, defending the big blind with about a third, three-
// betting about 5 %, c-betting two flops in three and folding to about half of them. Stacks of
// 15 big blinds or less before the flop jam or fold, and call jams, by the heads-up push/fold
// equilibrium (PushFold.h), tightened for every player still to act behind.
//
// The same leanings act in the play-outs (Decide) and read the player's hand from its actions
// (ShareOf): one model for both, so that the range the coach draws from is the one that plays.
//
// Threads: pure functions of the table; the odds object belongs to the calling thread.

#include "engine/GameState.h"
#include "opponents/Decisions.h"

namespace typical {

struct Leaning
{
    double fold = 0.0;       // 0 when nothing is owed: a free check is never folded
    double passive = 0.0;    // check, or call what is owed
    double aggressive = 0.0; // bet or raise to raiseTotal
    int raiseTotal = 0;      // the seat's round bet after its bet or raise (0: none possible)
};

// The leanings of `seat` with the hole cards in the table. street: -1 before the flop, 0 flop,
// 1 turn, 2 river. The shares add up to 1.
Leaning Lean(const CGameTable &table, int seat, int street, IDecisionOdds &odds);

// The chips to put in now (0 checks or folds), drawn from the leanings by `uniform` in [0, 1);
// the caller mends it as the table does.
int Decide(const CGameTable &table, int seat, int street, double uniform, IDecisionOdds &odds);

// What the seat did, as the range reader sees it.
enum class Seen
{
    Fold,
    Passive,
    Aggressive,
};

// How likely the typical player with the table's hole cards was to act as seen.
double ShareOf(const Leaning &leaning, Seen seen);

// A hand's place among the 1,326 starting combinations by strength before the flop: 0 the
// strongest, 1 the weakest; the members of a class share its middle place.
double PreflopPlace(int card1, int card2);

} // namespace typical
