#pragma once
// What an opponent's actions in a hand say about its hole cards. A computer opponent's
// decisions are replayed with its own decision code (opponents/) for every combination it could
// hold, in the state it decided in, and each combination weighed by how likely that code was to
// act as it did. A seat whose code is unknown (the human; a seat of another program's file) is
// given the ranges its statistics or position suggest, narrowed by its actions.
//
// Thread use: a tracker belongs to one thread at a time.

#include "engine/GameState.h"
#include "opponents/Decisions.h"
#include "playout/Advice.h"

#include <memory>
#include <vector>

namespace playout {

class RangeTracker
{
public:
    // `odds` answers the decision code's questions (the fast tables of FastOdds.h in play);
    // it must outlive the tracker. `known` are the cards the judge sees (its own hole cards and
    // the board so far): no opponent holds them.
    RangeTracker(IDecisionOdds &odds, std::vector<int> known);
    ~RangeTracker();

    // Seat `seat` decided with `table` as it stood just before the decision (the engine's own
    // fields: bets, stacks, m_lastAction, the raising history, the board so far; the seat's own
    // hole cards in the table are ignored) and put in `put` chips (0 with a check), or folded.
    // street: -1 before the flop, 0 flop, 1 turn, 2 river. Call in the hand's order.
    void Observe(const CGameTable &table, int seat, int street, int put, bool fold);

    // A board card came: combinations holding it drop out.
    void AddKnownCard(int card);

    // The weights of one seat's combinations after what has been observed, the largest 1 (no
    // combination it could hold below a small floor); a seat never seen deciding holds any
    // hand (empty weights).
    HandWeights Weights(int seat) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace playout
