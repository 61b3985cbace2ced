#pragma once
// Hands for the advisor's tests, set up by hand: seats, stacks, blinds and the decisions so
// far, and opponents whose cards the test fixes.

#include "opponents/Decisions.h"
#include "playout/HandSim.h"
#include "tests/support/Cards.h"
#include "vocabulary/GameVocabulary.h"

#include <string>
#include <vector>

namespace playouttest {

// Seats 0..n-1 dealt in with the given stacks, the personas round Master, Maniac, Professor,
// Tim; `seat` decides with `cards` ("As Ah").
inline playout::HandSoFar MakeHand(const std::vector<int> &stacks, int button, int smallBlind,
                                   int bigBlind, int seat, const char *cards)
{
    playout::HandSoFar hand;
    hand.seatCount = static_cast<int>(stacks.size());
    hand.button = button;
    hand.smallBlind = smallBlind;
    hand.bigBlind = bigBlind;
    hand.seat = seat;
    for (int s = 0; s < hand.seatCount; ++s) {
        playout::SeatSoFar &out = hand.seats[s];
        out.inHand = true;
        out.startStack = stacks[static_cast<size_t>(s)];
        out.persona = kFirstBotPersona + s % 4;
        out.name = "P" + std::to_string(s);
    }
    const std::vector<int> mine = testsupport::Cards(cards);
    hand.seats[seat].cards[0] = mine[0];
    hand.seats[seat].cards[1] = mine[1];
    return hand;
}

inline void Add(playout::HandSoFar &hand, int seat, int street, int put, bool fold = false)
{
    hand.decisions.push_back({seat, street, put, fold});
}

// All the weight on one hand: an opponent whose cards the test fixes.
inline playout::HandWeights Exactly(int seat, const char *cards)
{
    const std::vector<int> c = testsupport::Cards(cards);
    playout::HandWeights weights;
    weights.seat = seat;
    weights.weights.assign(playout::kComboCount, 0.0);
    weights.weights[static_cast<size_t>(playout::ComboIndex(c[0], c[1]))] = 1.0;
    return weights;
}

} // namespace playouttest
