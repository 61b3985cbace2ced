#pragma once
// The SuperMemo 2 schedule of one item (P. A. Wozniak, 1990): each answer is rated 0..5; a
// rating of 3 or more counts as remembered and lengthens the interval (1 day, 6 days, then the
// last interval times the ease factor, rounded up); below 3 the repetitions start again from
// the first interval. The ease factor moves with every rating and never falls below 1.3. Items
// rated below 4 are asked again the same day until rated 4 or more, without moving their
// schedule (Deck.h's Schedule does that).
// Pure functions.

namespace practice {

constexpr double kStartEase = 2.5;
constexpr double kLeastEase = 1.3;

struct Sm2State
{
    int repetitions = 0;  // answers in a row rated 3 or more
    int intervalDays = 0; // days until the item is due again; 0 before the first answer
    double ease = kStartEase;
};

// The state after an answer rated `quality` (clamped to 0..5).
Sm2State Sm2Answer(const Sm2State &state, int quality);

} // namespace practice
