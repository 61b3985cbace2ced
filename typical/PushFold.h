#pragma once
// Heads-up jam-or-fold equilibrium for short stacks: the small blind jams or folds, the big
// blind calls the jam or folds. Blinds 0.5 / 1 bb, no ante. The chart (PushFoldChart.inc,
// made by tools/GenPushFold.cpp from exact class-against-class equities) holds one pure action
// per starting-hand class at every half big blind from 1 to 20 bb; a stack between two grid
// points takes the lower one, and stacks outside 1..20 take the nearer end.
//
// Cards are pokerlib's integers (pokerlib/CardCodes.h).
// Plain functions of constant data; any thread.

#include "pokerlib/CardCodes.h"

namespace typical {

bool JamsHeadsUp(int card1, int card2, double stackBb);
bool CallsHeadsUp(int card1, int card2, double stackBb);
// The share (0..1) of the 1326 hands that jam / call at that stack.
double JamShare(double stackBb);
double CallShare(double stackBb);

// The chart's grid.
constexpr double kChartMinBb = 1.0;
constexpr double kChartMaxBb = 20.0;
constexpr double kChartStepBb = 0.5;
constexpr int kChartStacks = 39;

// The 169 starting-hand classes on a 13 x 13 grid of rank indices: a pair at (r, r), a suited
// hand at (high, low), an offsuit one at (low, high); index = row * 13 + column.
constexpr int kHandClasses = 169;
constexpr int HandClassOf(int card1, int card2)
{
    const int r1 = brisquel::RankOf(card1), r2 = brisquel::RankOf(card2);
    const int high = r1 > r2 ? r1 : r2, low = r1 > r2 ? r2 : r1;
    return brisquel::SameSuit(card1, card2) ? high * 13 + low : low * 13 + high;
}

} // namespace typical
