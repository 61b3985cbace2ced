#pragma once
// Hands written as PokerStars hand-history text from a short description, so that a test can
// put a decision before the coach as an imported hand. The writer keeps the books itself: the
// blinds posted, raises written as "raises D to T", all-ins marked, an uncalled bet returned,
// the pot (main and side pots) paid to the best hands at a showdown by PreflopEquity.h's
// evaluator, and the summary.
//
// Actions: "Name f" folds, "Name x" checks, "Name c" calls, "Name b300" bets 300, "Name r300"
// raises to 300 on the street, "Name a" goes all in (a bet, a raise or a call, as the stack
// allows); comma-separated, streets apart by '|'. After the last street given the rest of the
// board is dealt out when two players or more are left, and their hands shown.

#include <string>
#include <vector>

namespace testsupport {

struct SpotSeat
{
    std::string name;
    int stack = 0;     // chips
    std::string cards; // "Ah Kd": the hero's, or a hand to show at the showdown
};

struct Spot
{
    std::string table; // one table per spot keeps each opponent without a history
    int number = 1;    // the hand's number
    int smallBlind = 50, bigBlind = 100;
    std::vector<SpotSeat> seats; // seat 1 first
    int button = 0;              // index into seats; heads-up the button posts the small blind
    std::string hero = "Hero";   // the one "Dealt to"
    std::string actions;
    std::string board; // "Ks 7h 2c 9d 3s", as far as needed
};

// The hand's text; throws std::invalid_argument when the description does not add up.
std::string SpotText(const Spot &spot);
std::string SpotsText(const std::vector<Spot> &spots);

} // namespace testsupport
