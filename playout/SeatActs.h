#pragma once
// A seat's decision as the engine books it: the chips a decider answers, mended to a legal
// amount, and what that amount makes of the decision. The range tracker compares the replayed
// decisions with the seat's by these; measuring tools record them the same way.

#include "engine/GameState.h"

namespace playout {

enum class ActKind
{
    Fold,
    Check,
    Call,
    Raise, // a bet or a raise, all in or not
};

struct SeatAct
{
    ActKind kind = ActKind::Fold;
    int total = 0; // the seat's round bet afterwards
    bool allIn = false;
};

// The decider's answer as the engine mends it: within the stack, then legal (a raise short of
// the minimum becomes the minimum, one the betting was not reopened for a call).
int MendedPut(const CGameTable &table, int seat, int amount);

// Whether the seat owes chips: a check is then a fold. street: -1 before the flop.
bool Owes(const CGameTable &table, int seat, int street);

// What putting `put` in, or folding, makes of the decision.
SeatAct ClassifyAct(const CGameTable &table, int seat, int street, int put, bool fold);

} // namespace playout
