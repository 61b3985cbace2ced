#include "pokerlib/Carrowby.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace {

std::vector<int> Pay(const std::vector<int> &contributions, const std::vector<int> &scores)
{
    std::vector<int> winnings(contributions.size(), -1);
    GameResult(contributions.data(), scores.data(), winnings.data(), int(contributions.size()));
    return winnings;
}

using V = std::vector<int>;

TEST(GameResult, MainPotToTheBestHand)
{
    EXPECT_EQ(Pay({100, 100, 100}, {270, 310, 140}), (V{0, 300, 0}));
}

TEST(GameResult, TwoSidePots)
{
    // Seat 0 all-in for 50 with the best hand, seat 1 all-in for 150 with the second best,
    // seats 2 and 3 put in 300.
    EXPECT_EQ(Pay({50, 150, 300, 300}, {330, 290, 140, 150}), (V{200, 300, 0, 300}));
}

TEST(GameResult, SplitPotsWithOddChips)
{
    // 301 split three ways: the extra chip goes to the first tied seat.
    EXPECT_EQ(Pay({100, 100, 101, 0}, {200, 200, 200, 0}), (V{100, 100, 101, 0}));
    EXPECT_EQ(Pay({101, 101, 101, 0}, {200, 200, 0, 0}), (V{152, 151, 0, 0}));
    // Seats 1 and 3 tie; the odd chip goes to seat 1, the earlier of the two.
    EXPECT_EQ(Pay({75, 75, 75, 75, 1}, {100, 250, 0, 250, 0}), (V{0, 151, 0, 150, 0}));
}

TEST(GameResult, FoldedSeatsChipsStayInThePot)
{
    // Seat 2 folded after putting in 400, more than anyone who stayed.
    EXPECT_EQ(Pay({200, 200, 400}, {150, 160, 0}), (V{0, 600, 200}));
    // A folded seat's blind goes to the winner.
    EXPECT_EQ(Pay({10, 20, 20}, {0, 300, 280}), (V{0, 50, 0}));
}

TEST(GameResult, UncalledTopLevelGoesBack)
{
    // Seat 1 bet 500 and was called for 200 only: the 300 return to it, whatever the hands.
    EXPECT_EQ(Pay({200, 500}, {310, 150}), (V{400, 300}));
    // Nobody with a hand is left at any level: every seat takes back what it put in.
    EXPECT_EQ(Pay({30, 60}, {0, 0}), (V{30, 60}));
}

TEST(GameResult, BadInputLeavesNothingBroken)
{
    EXPECT_EQ(Pay({-50, 100}, {200, 100}), (V{0, 100})); // a negative stake counts as none
    EXPECT_EQ(Pay({}, {}), V{});
    GameResult(nullptr, nullptr, nullptr, 3); // no crash
}

TEST(GameResult, PropertyWinningsEqualContributions)
{
    std::mt19937 gen(7);
    for (int round = 0; round < 20000; ++round) {
        const int seats = 2 + int(gen() % 9);
        std::vector<int> contributions(seats), scores(seats);
        for (int i = 0; i < seats; ++i) {
            contributions[i] = gen() % 4 == 0 ? 0 : int(gen() % 2000);
            scores[i] = gen() % 3 == 0 ? 0 : 10 * int(1 + gen() % 4);
        }
        const auto winnings = Pay(contributions, scores);
        const long long in = std::accumulate(contributions.begin(), contributions.end(), 0LL);
        const long long out = std::accumulate(winnings.begin(), winnings.end(), 0LL);
        ASSERT_EQ(in, out) << "round " << round;
        for (int i = 0; i < seats; ++i) {
            ASSERT_GE(winnings[i], 0);
            // A seat without a hand only ever gets back part of its own chips.
            if (scores[i] == 0) {
                ASSERT_LE(winnings[i], contributions[i]);
            }
        }
    }
}

} // namespace
