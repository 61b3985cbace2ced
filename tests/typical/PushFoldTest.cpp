// The heads-up jam-or-fold chart against what is known of the equilibrium: single hands, the
// shares of hands at familiar stacks, and the shares the chart reports against a count of it.
#include "typical/PushFold.h"

#include "tests/support/Cards.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using testsupport::Card;

struct HandCase
{
    const char *card1, *card2;
    double stackBb;
    bool jams, calls;
};

TEST(PushFold, SingleHands)
{
    const HandCase cases[] = {
        {"As", "Ah", 1, true, true},    {"As", "Ah", 20, true, true},
        {"7c", "2d", 10, false, false}, {"2d", "7c", 10, false, false},
        {"Kh", "5h", 15, true, false},  {"Kh", "5d", 15, false, false}, // suited is not offsuit
        {"Kc", "2c", 10, true, true},   {"Kc", "2d", 10, true, false},
        {"3c", "2d", 2, false, true},   // 1 to win 3: every hand has the 25 % it needs
        {"As", "As", 10, false, false}, // not a hand
    };
    for (const HandCase &c : cases) {
        const int a = Card(c.card1), b = Card(c.card2);
        EXPECT_EQ(typical::JamsHeadsUp(a, b, c.stackBb), c.jams)
            << c.card1 << c.card2 << " at " << c.stackBb;
        EXPECT_EQ(typical::CallsHeadsUp(a, b, c.stackBb), c.calls)
            << c.card1 << c.card2 << " at " << c.stackBb;
    }
}

TEST(PushFold, EveryAceJamsAtTenBigBlinds)
{
    for (int other = 0; other < 52; ++other) {
        if (other == 12)
            continue;
        EXPECT_TRUE(typical::JamsHeadsUp(12, other, 10)) << "Ac with card " << other;
    }
}

TEST(PushFold, SharesAtFamiliarStacks)
{
    EXPECT_GT(typical::JamShare(10), 0.55);
    EXPECT_LT(typical::JamShare(10), 0.60);
    EXPECT_GT(typical::CallShare(10), 0.35);
    EXPECT_LT(typical::CallShare(10), 0.40);
    const double stacks[] = {20, 15, 12, 10, 8, 5, 2};
    for (int n = 1; n < 7; ++n) {
        EXPECT_GT(typical::JamShare(stacks[n]), typical::JamShare(stacks[n - 1])) << stacks[n];
        EXPECT_GT(typical::CallShare(stacks[n]), typical::CallShare(stacks[n - 1])) << stacks[n];
    }
}

TEST(PushFold, SharesCountTheChartAndStacksTakeTheLowerGridPoint)
{
    for (double stack = 1; stack <= 20; stack += 0.5) {
        int jams = 0, calls = 0;
        for (int a = 0; a < 52; ++a)
            for (int b = a + 1; b < 52; ++b) {
                jams += typical::JamsHeadsUp(a, b, stack);
                calls += typical::CallsHeadsUp(a, b, stack);
            }
        EXPECT_DOUBLE_EQ(typical::JamShare(stack), jams / 1326.0) << stack;
        EXPECT_DOUBLE_EQ(typical::CallShare(stack), calls / 1326.0) << stack;
        EXPECT_EQ(typical::JamShare(stack + 0.49), typical::JamShare(stack)) << stack;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(typical::JamShare(0.2), typical::JamShare(1));
    EXPECT_EQ(typical::JamShare(nan), typical::JamShare(1));
    EXPECT_EQ(typical::CallShare(300), typical::CallShare(20));
}

} // namespace
