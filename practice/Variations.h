#pragma once
// Variations of a spot, so that the player learns the spot and not the hand: the same decision
// with other hole cards of the same class (the same two ranks, suited or not as they were),
// with another board of the same texture, or with the player's stack halved or doubled, each
// valued again by the play-outs. Plain C++, no Qt.
//
// Thread use: pure functions; each variation is valued on the calling thread.

#include "practice/Deck.h"

#include <array>
#include <cstdint>
#include <vector>

namespace practice {

// Spot::variant numbers: 1 to 99 other hole cards, kBoardVariant + k the k-th other board,
// kStackVariant + k the player's stack times kStackFactors[k - 1].
constexpr int kBoardVariant = 100;
constexpr int kStackVariant = 200;
constexpr double kStackFactors[] = {0.5, 2.0};
// The factor of the player's stack in a variant: 1 but for a stack variation.
double StackFactor(int variant);

// Every other pair of cards of the class of `hole` that shares no card with `taken`, in card
// order.
std::vector<std::array<int, 2>> SameClassCards(const std::array<int, 2> &hole,
                                               const std::vector<int> &taken);

// Up to `count` other boards of the texture of `board`, none sharing a card with `taken`,
// picked by `seed`: the same cards paired (and the rest apart), the same cards of one suit,
// each card's rank in the same band (ten to ace, six to nine, two to five).
std::vector<std::vector<int>> SameTextureBoards(const std::vector<int> &board,
                                                const std::vector<int> &taken, int count,
                                                std::uint64_t seed);

// Up to `count` variations of `spot`, a decision of `seat` in `game`: the hand rebuilt up to it,
// the seat's cards swapped for others of the class picked by `seed`, every option valued with
// `samples` play-outs. A variation keeps its spot's leak; it was never played, so it gives
// nothing away (lossBb 0) and comes after the real spots of its leak.
std::vector<Spot> Variations(const history::Game &game, int seat, const Spot &spot, int count,
                             int samples, std::uint64_t seed);
// The same with up to `count` other boards of the spot's texture (none before the flop).
std::vector<Spot> BoardVariations(const history::Game &game, int seat, const Spot &spot, int count,
                                  int samples, std::uint64_t seed);
// The same with the player's stack at the start of the hand times each of kStackFactors; a
// stack too short for what the player put in before the decision gives no variation.
std::vector<Spot> StackVariations(const history::Game &game, int seat, const Spot &spot,
                                  int samples, std::uint64_t seed);

} // namespace practice
