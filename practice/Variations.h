#pragma once
// Variations of a spot: the same decision with other hole cards of the same class (the same two
// ranks, suited or not as they were), valued again by the play-outs, so that the player learns
// the spot and not the hand. Plain C++, no Qt.
//
// Thread use: pure functions; each variation is valued on the calling thread.

#include "practice/Deck.h"

#include <array>
#include <cstdint>
#include <vector>

namespace practice {

// Every other pair of cards of the class of `hole` that shares no card with `taken`, in card
// order.
std::vector<std::array<int, 2>> SameClassCards(const std::array<int, 2> &hole,
                                               const std::vector<int> &taken);

// Up to `count` variations of `spot`, a decision of `seat` in `game`: the hand rebuilt up to it,
// the seat's cards swapped for others of the class picked by `seed`, every option valued with
// `samples` play-outs. A variation keeps its spot's leak; it was never played, so it gives
// nothing away (lossBb 0) and comes after the real spots of its leak.
std::vector<Spot> Variations(const history::Game &game, int seat, const Spot &spot, int count,
                             int samples, std::uint64_t seed);

} // namespace practice
