#pragma once
// The heads-up jam-or-fold game and its equilibrium: the small blind (0.5 bb posted) goes all
// in or folds, the big blind (1 bb posted) calls or folds, both with the same stack, no ante.
// Hands are the 169 classes, dealt as often as their card pairs are (card removal between the
// two hands included), and an all-in called is worth the class-against-class equity of
// PreflopEquity.h. Solved by CFR+ (regret matching with regrets kept non-negative, averages
// weighted by iteration) until neither side can gain more than asked by changing its play.

#include "tests/support/PreflopEquity.h"

#include <array>

namespace testsupport {

struct PushFoldSolution
{
    double stackBb = 0.0;
    std::array<double, kClassCount> jam{};  // the small blind's all-in share per class
    std::array<double, kClassCount> call{}; // the big blind's call share per class, facing it
    // What both best responses together gain against the solution, in big blinds per hand.
    double exploitabilityBb = 0.0;
    double smallBlindValueBb = 0.0; // the small blind's result per hand, blinds counted
    int iterations = 0;
};

// At most `maxIterations`; check exploitabilityBb against what was asked.
PushFoldSolution SolvePushFold(const EquityTable &equity, double stackBb,
                               double exploitabilityBb = 0.001, int maxIterations = 200000);

// The share of all hands a strategy plays (combination-weighted).
double RangeShare(const std::array<double, kClassCount> &strategy);

} // namespace testsupport
