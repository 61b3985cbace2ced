#pragma once
// Hands that several tests play, by name: who sits where, the cards in the order the game draws
// them (first one card per seat for the button, the highest wins, then the deal), and the
// decisions of the computer seats as (seat, amount).

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

// Button draws, one card per seat.
// Heads-up, button 0: the button posts the small blind and acts first before the flop.
inline const std::vector<int> kButtonOnSeat0Of2 = {12, 5};
// Three seats, button 1: seat 2 posts the small blind, seat 0 the big blind, seat 1 acts first.
inline const std::vector<int> kButtonOnSeat1Of3 = {5, 12, 3};
// Three seats, button 2: seat 0 posts the small blind, seat 1 the big blind, seat 2 acts first.
inline const std::vector<int> kButtonOnSeat2Of3 = {3, 5, 12};
// Four seats, button 3: seat 0 posts the small blind, seat 1 the big blind, seat 2 acts first.
inline const std::vector<int> kButtonOnSeat3Of4 = {5, 3, 1, 12};

// The button draw followed by the cards of `deal` ("Ah Kd ...").
std::vector<int> Draws(const std::vector<int> &buttonDraw, std::string_view deal);

struct ScriptedHand
{
    std::vector<std::string> names;
    std::vector<int> stacks;
    std::vector<int> draws;
    std::vector<std::pair<int, int>> decisions;
};

// Hero, Master and Tim with 1000 each, button 1: a call, a completion and a check before the
// flop, three checks on the flop, a bet of 40 by the small blind on the turn and two folds.
ScriptedHand WonByFoldsOnTheTurn();
// The same seats: the button folds, both blinds go all in, and the board is a royal flush that
// splits the pot.
ScriptedHand SplitPotAllInBeforeTheFlop();
// Stacks 300, 600 and 1000, all in before the flop: the big blind's aces win the main pot,
// the button's kings the side pot against the small blind.
ScriptedHand ThreeWayAllInWithASidePot();

} // namespace testsupport
