#include "pokerlib/PotSplit.h"
#include "pokerlib/Carrowby.h"

#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <random>
#include <vector>

namespace {

using V = std::vector<long long>;

struct SplitCase
{
    const char *name;
    V put;
    std::vector<unsigned> scores;
    int button;
    V expected;
};

// The cases the showdown, the importers, the all-in judge and the coach each checked on their
// own splitting before they shared one. Odd chips: the first tied winner after the button.
const SplitCase kSplits[] = {
    {"MainPotToTheBestHand", {100, 100, 100}, {270, 310, 140}, 0, {0, 300, 0}},
    // Seat 0 all-in for 50 with the best hand, seat 1 for 150 with the second best.
    {"TwoSidePots", {50, 150, 300, 300}, {330, 290, 140, 150}, 0, {200, 300, 0, 300}},
    {"UnmatchedChipIsNoOddChip", {100, 100, 101, 0}, {200, 200, 200, 0}, 3, {100, 100, 101, 0}},
    {"OddChipAfterButtonSeat1", {101, 101, 101, 0}, {200, 200, 0, 0}, 0, {151, 152, 0, 0}},
    {"OddChipSkipsTheButton", {75, 75, 75, 75, 1}, {100, 250, 0, 250, 0}, 1, {0, 150, 0, 151, 0}},
    {"OddChipWrapsRound", {75, 75, 75, 75, 1}, {100, 250, 0, 250, 0}, 4, {0, 151, 0, 150, 0}},
    // Levels with the same seats in are one pot: one odd chip, not one a level.
    {"LevelsOfOnePot", {1, 10, 10, 10, 2}, {0, 5, 5, 5, 0}, 0, {0, 11, 11, 11, 0}},
    {"FoldedTopBetGoesBack", {200, 200, 400}, {150, 160, 0}, 0, {0, 600, 200}},
    {"FoldedBlindToTheWinner", {10, 20, 20}, {0, 300, 280}, 0, {0, 50, 0}},
    {"UncalledGoesBack", {200, 500}, {310, 150}, 0, {400, 300}},
    {"NobodyLeftTakesBack", {30, 60}, {0, 0}, 0, {30, 60}},
    {"NegativeStakeIsNone", {-50, 100}, {200, 100}, 0, {0, 100}},
    {"ScoresShorterThanStakes", {10, 20}, {5}, 0, {20, 10}},
    {"Empty", {}, {}, 0, {}},
};

void PrintTo(const SplitCase &c, std::ostream *os)
{
    *os << c.name;
}

class PotSplit : public testing::TestWithParam<SplitCase>
{
};

TEST_P(PotSplit, PaysAsCardRoomsDo)
{
    const SplitCase &c = GetParam();
    EXPECT_EQ(brisquel::SplitPots(c.put, c.scores, c.button), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PotSplit, testing::ValuesIn(kSplits),
                         [](const auto &c) { return std::string(c.param.name); });

TEST(PotSplit, PotsAndWhoMayWinThem)
{
    // A folded seat's chips stay in the pots they reached; an opponent with chips behind
    // (reach unbounded) contests every pot.
    const auto pots = brisquel::CutPots({100, 40, 70, 150}, {100, 40, 0, LLONG_MAX});
    ASSERT_EQ(pots.size(), 3u);
    EXPECT_EQ(pots[0].chips, 160);
    EXPECT_EQ(pots[0].eligible, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(pots[1].chips, 150);
    EXPECT_EQ(pots[1].eligible, (std::vector<int>{0, 3}));
    EXPECT_EQ(pots[2].chips, 50);
    // Chips above everyone's reach join the top pot.
    const auto one = brisquel::CutPots({50, 50, 80}, {50, 50, 0});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].chips, 180);
    EXPECT_TRUE(brisquel::CutPots({10, 20}, {0, 0}).empty());
}

TEST(PotSplit, SharesWithoutWinnersOrTable)
{
    EXPECT_TRUE(brisquel::SharePot(7, {}, 0, 3).empty());
    EXPECT_EQ(brisquel::SharePot(7, {2, 0}, 0, 0), (V{4, 3}));
}

TEST(PotSplit, TheShowdownPaysByTheSameRule)
{
    const int put[4] = {101, 101, 101, 0}, scores[4] = {200, 200, 0, 0};
    int winnings[4] = {};
    GameResult(put, scores, winnings, 4, 0);
    EXPECT_EQ(std::vector<int>(winnings, winnings + 4), (std::vector<int>{151, 152, 0, 0}));
    GameResult(nullptr, nullptr, nullptr, 3, 0); // no crash
}

TEST(PotSplit, PropertyWinningsEqualContributions)
{
    std::mt19937 gen(7);
    for (int round = 0; round < 20000; ++round) {
        const int seats = 2 + int(gen() % 9);
        V put(seats);
        std::vector<unsigned> scores(seats);
        for (int i = 0; i < seats; ++i) {
            put[i] = gen() % 4 == 0 ? 0 : gen() % 2000;
            scores[i] = gen() % 3 == 0 ? 0 : 10 * (1 + gen() % 4);
        }
        const V won = brisquel::SplitPots(put, scores, int(gen() % seats));
        ASSERT_EQ(std::accumulate(put.begin(), put.end(), 0LL),
                  std::accumulate(won.begin(), won.end(), 0LL))
            << "round " << round;
        for (int i = 0; i < seats; ++i) {
            ASSERT_GE(won[i], 0);
            // A seat without a hand only ever gets back part of its own chips.
            if (scores[i] == 0) {
                ASSERT_LE(won[i], put[i]);
            }
        }
    }
}

} // namespace
