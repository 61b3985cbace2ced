#include "tests/support/ScriptedHands.h"

#include "tests/support/Cards.h"

namespace testsupport {

std::vector<int> Draws(const std::vector<int> &buttonDraw, std::string_view deal)
{
    std::vector<int> draws = buttonDraw;
    const std::vector<int> cards = Cards(deal);
    draws.insert(draws.end(), cards.begin(), cards.end());
    return draws;
}

ScriptedHand WonByFoldsOnTheTurn()
{
    return {{"Hero", "Master", "Tim"},
            {1000, 1000, 1000},
            Draws(kButtonOnSeat1Of3, "Ah 2c 7d Kd 3c 8d Qs Js 4h 9c"),
            {{1, 20}, {2, 10}, {0, 0}, {2, 0}, {0, 0}, {1, 0}, {2, 40}, {0, 0}, {1, 0}}};
}

ScriptedHand SplitPotAllInBeforeTheFlop()
{
    return {{"Hero", "Master", "Tim"},
            {1000, 1000, 1000},
            Draws(kButtonOnSeat1Of3, "2c 7h 4c 3d 8h 5d As Ks Qs Js Ts"),
            {{1, 0}, {2, 990}, {0, 980}}};
}

ScriptedHand ThreeWayAllInWithASidePot()
{
    return {{"Hero", "Master", "Tim"},
            {300, 600, 1000},
            Draws(kButtonOnSeat1Of3, "As Ks 7c Ad Kd 2h 3h 8s 9d Jc 4s"),
            {{1, 600}, {2, 590}, {0, 280}}};
}

} // namespace testsupport
