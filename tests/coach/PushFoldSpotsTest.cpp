// The coach against the heads-up jam-or-fold equilibrium (tests/support/PushFoldEquilibrium.h)
// at 5 to 15 big blinds: every class's small-blind jam or fold, and big-blind call or fold
// facing the jam, written as an imported hand against an unknown player. The better of the two
// by the coach's values should be the equilibrium's action for at least 90 % of the hands
// (counted by card pairs; hands the equilibrium mixes count either way), and the equilibrium's
// action, the one the hero takes, never gets a grade worse than a small mistake.
#include "tests/support/PushFoldEquilibrium.h"
#include "tests/support/SpotReview.h"
#include "tests/support/SpotWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

using playout::OptionKind;
using testsupport::kClassCount;

const testsupport::EquityTable &Equities()
{
    static const testsupport::EquityTable table = [] {
        testsupport::EquityTable t;
        std::string error;
        if (!testsupport::ReadEquityTable(BRISQUEL_COACH_DATA "/preflop_equities.txt", t, error))
            ADD_FAILURE() << error;
        return t;
    }();
    return table;
}

// Villain's cards for a showdown and the board: the first cards of this order the hero lacks.
std::vector<std::string> RestOfDeal(const std::array<int, 2> &hero)
{
    std::vector<std::string> rest;
    for (const char *card : {"Qh", "Jd", "9c", "7s", "4h", "2d", "Kc", "8h", "5s", "3c"}) {
        const int c = testsupport::CardOf(card);
        if (c != hero[0] && c != hero[1] && rest.size() < 7)
            rest.push_back(card);
    }
    return rest;
}

// The hero's decision at `stackBb` with a hand of `cls`: first to act from the small blind
// (the button), or in the big blind facing the small blind's jam.
testsupport::Spot PushFoldSpot(bool smallBlind, int cls, double stackBb, bool aggressive,
                               int number)
{
    const std::array<int, 2> hand = testsupport::ClassHands(cls).front();
    const std::vector<std::string> rest = RestOfDeal(hand);
    const int chips = static_cast<int>(stackBb * 100);
    testsupport::Spot spot;
    spot.table = "Spot " + std::to_string(number);
    spot.number = number;
    spot.seats = {
        {"Hero", chips, testsupport::CardName(hand[0]) + " " + testsupport::CardName(hand[1])},
        {"Villain", chips, rest[0] + " " + rest[1]}};
    spot.board = rest[2] + " " + rest[3] + " " + rest[4] + " " + rest[5] + " " + rest[6];
    spot.button = smallBlind ? 0 : 1;
    if (smallBlind)
        spot.actions = aggressive ? "Hero a, Villain f" : "Hero f";
    else
        spot.actions = aggressive ? "Villain a, Hero c" : "Villain a, Hero f";
    return spot;
}

struct SideFigures
{
    double agreement = 0.0; // share of card pairs
    int badGrades = 0;
    std::string bad; // the first few, for the message
};

// A hand of class `mine` against the jams of `strategy`, weighted by their deals.
double EquityAgainstJams(int mine, const std::array<double, kClassCount> &strategy)
{
    double sum = 0.0, weight = 0.0;
    for (int cls = 0; cls < kClassCount; ++cls) {
        const double w = strategy[cls] * testsupport::DisjointDeals(mine, cls);
        sum += w * Equities()[static_cast<size_t>(mine)][cls];
        weight += w;
    }
    return weight > 0 ? sum / weight : 0.0;
}

class PushFoldSpots : public testing::TestWithParam<double>
{
};

TEST_P(PushFoldSpots, TheCoachPlaysTheEquilibriumAgainstAnUnknownPlayer)
{
    const double stackBb = GetParam();
    const testsupport::PushFoldSolution eq = testsupport::SolvePushFold(Equities(), stackBb, 1e-5);
    ASSERT_LT(eq.exploitabilityBb, 0.01);
    std::vector<testsupport::Spot> spots;
    for (int side = 0; side < 2; ++side) {
        const auto &strategy = side == 0 ? eq.jam : eq.call;
        for (int cls = 0; cls < kClassCount; ++cls)
            spots.push_back(PushFoldSpot(side == 0, cls, stackBb, strategy[cls] >= 0.5,
                                         1 + side * kClassCount + cls));
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<testsupport::SpotVerdict> verdicts =
        testsupport::ReviewSpots(testsupport::SpotsText(spots), 20241209);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(verdicts.size(), spots.size()) << verdicts.front().error;

    SideFigures figures[2];
    // Facing the jam, the equity line reads the range the grades read: the equilibrium's. Each
    // figure is a sample of a few hundred deals; their mean gap shows a range apart.
    double equityGap = 0.0;
    for (int side = 0; side < 2; ++side) {
        const auto &strategy = side == 0 ? eq.jam : eq.call;
        const OptionKind go = side == 0 ? OptionKind::AllIn : OptionKind::Call;
        double agreed = 0.0;
        for (int cls = 0; cls < kClassCount; ++cls) {
            const testsupport::SpotVerdict &v =
                verdicts[static_cast<size_t>(side * kClassCount + cls)];
            ASSERT_TRUE(v.error.empty()) << testsupport::ClassName(cls) << ": " << v.error;
            const playout::Advice &advice = v.rows.back().advice;
            const int yes = testsupport::OptionOfKind(advice, go);
            const int no = testsupport::OptionOfKind(advice, OptionKind::Fold);
            ASSERT_TRUE(advice.valid && yes >= 0 && no >= 0) << testsupport::ClassName(cls);
            const bool coachGoes = advice.options[yes].evBb > advice.options[no].evBb;
            if (side == 1)
                equityGap += (v.rows.back().estimate.range.value - EquityAgainstJams(cls, eq.jam)) /
                             kClassCount;
            const bool mixed = strategy[cls] > 0.1 && strategy[cls] < 0.9;
            if (mixed || coachGoes == (strategy[cls] >= 0.5))
                agreed += static_cast<double>(testsupport::ClassHands(cls).size());
            if (advice.grade == playout::Grade::Mistake ||
                advice.grade == playout::Grade::Blunder) {
                SideFigures &f = figures[side];
                if (++f.badGrades <= 8)
                    f.bad += " " + testsupport::ClassName(cls) + " (" +
                             playout::GradeName(advice.grade) + ": " + playout::LiveLine(advice) +
                             ")";
            }
        }
        figures[side].agreement = agreed / 1326.0;
    }
    std::printf("%4.0f bb: small blind jams %.1f %% of hands, agreement %.1f %%, %d graded "
                "mistake or worse; big blind calls %.1f %%, agreement %.1f %%, %d; %.1f s\n",
                stackBb, 100 * testsupport::RangeShare(eq.jam), 100 * figures[0].agreement,
                figures[0].badGrades, 100 * testsupport::RangeShare(eq.call),
                100 * figures[1].agreement, figures[1].badGrades, seconds);
    EXPECT_LT(std::abs(equityGap), 0.015) << "the equity line against the jams";
    const char *const sides[] = {"small blind", "big blind"};
    for (int side = 0; side < 2; ++side) {
        EXPECT_GE(figures[side].agreement, 0.90) << sides[side];
        EXPECT_EQ(figures[side].badGrades, 0) << sides[side] << ":" << figures[side].bad;
    }
}

INSTANTIATE_TEST_SUITE_P(Stacks, PushFoldSpots, testing::Values(5.0, 8.0, 10.0, 12.0, 15.0),
                         [](const testing::TestParamInfo<double> &stack) {
                             return std::to_string(static_cast<int>(stack.param)) + "bb";
                         });

} // namespace
