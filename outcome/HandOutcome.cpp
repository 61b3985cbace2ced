#include "outcome/HandOutcome.h"

#include <algorithm>

namespace outcome {

namespace {

bool IsDecision(history::ActionKind kind)
{
    using history::ActionKind;
    return kind != ActionKind::Ante && kind != ActionKind::SmallBlind &&
           kind != ActionKind::BigBlind;
}

} // namespace

int HandOutcome::Won(int s, int paid) const
{
    return s == returnedSeat ? std::max(paid - returned, 0) : paid;
}

HandOutcome OutcomeOf(const history::Hand &hand)
{
    HandOutcome result;
    result.pot = hand.pot;
    // The chips of the seat that put in most beyond what anybody else put in go back to it.
    size_t top = 0;
    for (size_t s = 1; s < hand.seats.size(); ++s)
        top = hand.seats[s].invested > hand.seats[top].invested ? s : top;
    int second = 0;
    for (size_t s = 0; s < hand.seats.size(); ++s)
        second = s != top ? std::max(second, hand.seats[s].invested) : second;
    if (!hand.seats.empty()) {
        const history::HandSeat &seat = hand.seats[top];
        const int excess = seat.invested - second;
        // Only what was really paid back: a file that booked it otherwise keeps its pot.
        if (excess > 0 && seat.won >= excess) {
            result.returnedSeat = static_cast<int>(top);
            result.returned = excess;
            result.pot -= excess;
        }
    }
    if (!hand.showdown) {
        result.ending = Ending::Folds;
    } else {
        bool riverBetting = false;
        for (const history::Action &a : hand.actions)
            riverBetting |= a.street == history::Street::River && IsDecision(a.kind);
        result.ending = riverBetting ? Ending::Showdown : Ending::AllIn;
    }
    return result;
}

std::string HowItEnded(const history::Hand &hand, int s)
{
    for (const history::Action &a : hand.actions) {
        if (a.seat == s && a.kind == history::ActionKind::Fold)
            return a.street == history::Street::Preflop
                       ? "folded preflop"
                       : std::string("folded on the ") + history::StreetName(a.street);
    }
    switch (OutcomeOf(hand).ending) {
    case Ending::Folds:
        return "the others folded";
    case Ending::AllIn:
        return "all in before the river";
    case Ending::Showdown:
        break;
    }
    return "at the showdown";
}

} // namespace outcome
