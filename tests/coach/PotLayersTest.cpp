// What a short stack can win: the price and the call's value on the chips it can contest, checked
// against pots worked out by hand and an exact enumeration of the remaining cards.
#include "coach/Coach.h"

#include "pokerlib/CardNames.h"
#include "pokerlib/HandValue.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace coach;

namespace {

int Card(const char *text)
{
    return brisquel::ParseCard(text);
}

Opponent AllIn(int seat, int committed, double pfr)
{
    Opponent opponent;
    opponent.seat = seat;
    opponent.committed = committed;
    opponent.stack = 0;
    opponent.hands = 40;
    opponent.pfr = pfr;
    opponent.preflop = PreflopMove::Raised;
    return opponent;
}

// The big blind (20 in, 270 behind) facing a shove to 6,060 after the small blind folded its 10.
DecisionPoint ShortBigBlind()
{
    DecisionPoint point;
    point.hole = {Card("9s"), Card("9d")};
    point.opponents.push_back(AllIn(3, 6060, 0.10));
    point.dead = {10};
    point.committed = 20;
    point.pot = 6090;
    point.toCall = 270;
    return point;
}

} // namespace

TEST(CoachPotLayers, ShortCallIsPricedOnWhatItCanWin)
{
    DecisionPoint point = ShortBigBlind();
    // 20 of its own, the small blind's 10, and 290 of the shove: each capped at the 290 it puts in.
    EXPECT_EQ(WinnablePot(point), 320);
    Estimator estimator(4000, 21);
    const Estimate e = estimator.Evaluate(point);
    EXPECT_NEAR(e.price.needed, 270.0 / 590.0, 1e-12);
    EXPECT_EQ(PotOddsText(e.price), "1.2:1");
    // One opponent, one layer: the call wins 590 at the range equity.
    EXPECT_NEAR(e.evCall, e.range.value * 590 - 270, 1e-6);

    // At the equity of the hand first reported: −18, where the whole pot made it +2,450.
    Estimate reported = e;
    reported.range = Equity{2720.0 / 6360.0, 0.0};
    reported.evCall = reported.range.value * 590 - 270;
    EXPECT_EQ(PaneLine("preflop", Move::Call, 270, point, reported),
              "Coach: preflop call 270 into 6090, equity 43 % < 46 % needed: ok (\xE2\x88\x92"
              "18)");

    // Contributions that do not add up to the pot are unknown: the whole pot, as before.
    point.committed = 0;
    EXPECT_EQ(WinnablePot(point), 6090);
    EXPECT_NEAR(estimator.Evaluate(point).price.needed, 270.0 / 6360.0, 1e-12);
}

// Nobody can act any more; the player's call is its last chips. The test's own pots: the main pot
// of 150 from each of the three and the folded 50 (500, all three eligible) and the side pot of
// 250 from the player and the big shove (500, the player and that shove); the shove's last 600
// are beyond the player's reach.
TEST(CoachPotLayers, AllInCallMatchesAnExactSidePotValue)
{
    DecisionPoint point;
    point.hole = {Card("Ah"), Card("Kh")};
    point.board = {Card("Qh"), Card("Jd"), Card("7h"), Card("2c")};
    point.opponents = {AllIn(1, 150, 0.03), AllIn(2, 1000, 0.08)};
    point.dead = {50};
    point.committed = 100;
    point.toCall = 300;
    point.pot = 150 + 1000 + 50 + 100;
    EXPECT_EQ(WinnablePot(point), 700);

    Estimator estimator(60000, 4);
    const auto &shortRange = estimator.RangeFor(point.opponents[0]);
    const auto &bigRange = estimator.RangeFor(point.opponents[1]);

    // Each opponent in turn holds a combination of its range drawn evenly from those clear of
    // the cards already out; every river card is equally likely.
    std::uint64_t known = 0;
    for (int c : {point.hole[0], point.hole[1]})
        known |= 1ull << c;
    for (int c : point.board)
        known |= 1ull << c;
    const auto clear = [](std::uint64_t dead, const std::pair<int, int> &combo) {
        return !(dead >> combo.first & 1) && !(dead >> combo.second & 1);
    };
    const auto count = [&](const std::vector<std::pair<int, int>> &range, std::uint64_t dead) {
        int n = 0;
        for (const auto &combo : range)
            n += clear(dead, combo) ? 1 : 0;
        return n;
    };
    const auto value = [&](int a, int b, int river) {
        int cards[7] = {a,    b, point.board[0], point.board[1], point.board[2], point.board[3],
                        river};
        return brisquel::EvaluateCards(cards, 7);
    };
    const int shortCount = count(shortRange, known);
    double exact = 0.0;
    for (const auto &s : shortRange) {
        if (!clear(known, s))
            continue;
        const std::uint64_t afterShort = known | 1ull << s.first | 1ull << s.second;
        const int bigCount = count(bigRange, afterShort);
        for (const auto &b : bigRange) {
            if (!clear(afterShort, b))
                continue;
            const std::uint64_t dead = afterShort | 1ull << b.first | 1ull << b.second;
            double sum = 0.0;
            int rivers = 0;
            for (int river = 0; river < 52; ++river) {
                if (dead >> river & 1)
                    continue;
                ++rivers;
                const auto mine = value(point.hole[0], point.hole[1], river);
                const auto shortValue = value(s.first, s.second, river);
                const auto bigValue = value(b.first, b.second, river);
                if (mine >= bigValue) {
                    const int sideTied = mine == bigValue ? 2 : 1;
                    sum += 500.0 / sideTied;
                    if (mine >= shortValue)
                        sum += 500.0 / (sideTied + (mine == shortValue ? 1 : 0));
                }
            }
            exact += sum / rivers / shortCount / bigCount;
        }
    }
    exact -= 300;

    const Estimate e = estimator.Evaluate(point);
    EXPECT_NEAR(e.price.needed, 300.0 / 1000.0, 1e-12);
    EXPECT_GT(e.evCallError, 0.0);
    EXPECT_NEAR(e.evCall, exact, 2 * e.evCallError);
    // The whole pot at one multiway equity is far off.
    EXPECT_GT(std::fabs(e.range.value * 1600 - 300 - exact), 10 * e.evCallError);
}

// Deep stacks with nobody all in: the cap never binds and the price is today's.
TEST(CoachPotLayers, DeepStacksKeepTheWholePot)
{
    DecisionPoint point;
    point.hole = {Card("Ah"), Card("Kh")};
    Opponent raiser;
    raiser.seat = 4;
    raiser.committed = 60;
    raiser.stack = 940;
    Opponent blind = raiser;
    blind.seat = 2;
    blind.committed = 20;
    point.opponents = {raiser, blind};
    point.dead = {10};
    point.pot = 90;
    point.toCall = 60;
    EXPECT_EQ(WinnablePot(point), 90);
    Estimator estimator(4000, 8);
    const Estimate e = estimator.Evaluate(point);
    EXPECT_NEAR(e.price.needed, 60.0 / 150.0, 1e-12);
    EXPECT_NEAR(e.evCall, e.range.value * 150 - 60, 1e-6);
}
