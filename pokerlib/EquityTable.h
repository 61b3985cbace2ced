#pragma once
// The setup of an equity calculation checked and turned into card sums, for the sampler and the
// exact count.

#include "pokerlib/EquityCalculator.h"
#include "pokerlib/Evaluator.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brisquel::equity {

struct Combo
{
    std::uint64_t mask; // its two cards
    Hand hand;
};

// The setup checked and turned into card sums. Players with one possible hand are fixed,
// players with several are ranged, the others random (ranged over every hand when exact).
struct Table
{
    int players = 0;
    std::uint64_t known = 0; // board, dead cards and fixed hands
    std::uint64_t boardCards = 0, deadCards = 0;
    Hand board;
    int missing = 0;       // board cards to come
    std::vector<int> deck; // cards not known, ascending
    std::array<Hand, kMaxEquityPlayers> fixedHands{};
    std::array<std::uint64_t, kMaxEquityPlayers> fixedMasks{};
    std::vector<int> fixed, random;
    std::vector<int> ranged;                // seats
    std::vector<std::vector<Combo>> combos; // per ranged seat, those that miss the known cards
    std::vector<int> holding;               // fixed and ranged seats but the first
};

// False, with the message in `r`.
bool Fail(EquityResult &r, const std::string &message);

// False with the message in `r` when the setup cannot be dealt; `exact` ranges random players
// over every hand.
bool Prepare(const EquitySetup &s, bool exact, Table &t, EquityResult &r);

} // namespace brisquel::equity
