// The yardsticks the spot tests measure the coach by, checked themselves: the equity table
// against a count made another way and against figures every odds table prints, the
// equilibrium's shape, and a written hand read back with the chips where the writer put them.
#include "interchange/Interchange.h"
#include "tests/support/PushFoldEquilibrium.h"
#include "tests/support/SpotWriter.h"

#include <gtest/gtest.h>

namespace {

using testsupport::ClassIndex;

testsupport::EquityTable Table()
{
    testsupport::EquityTable table;
    std::string error;
    EXPECT_TRUE(
        testsupport::ReadEquityTable(BRISQUEL_COACH_DATA "/preflop_equities.txt", table, error))
        << error;
    return table;
}

TEST(Yardsticks, TheEquityTableHoldsAgainstADirectCountAndTheFiguresOddsTablesPrint)
{
    const testsupport::EquityTable table = Table();
    ASSERT_EQ(table.size(), 169u);
    for (int a = 0; a < testsupport::kClassCount; ++a) {
        EXPECT_NEAR(table[a][a], 0.5, 1e-6) << testsupport::ClassName(a);
        for (int b = 0; b < a; ++b)
            ASSERT_NEAR(table[a][b] + table[b][a], 1.0, 2e-6);
    }
    const int aks = ClassIndex("AKs"), aa = ClassIndex("AA");
    EXPECT_NEAR(table[aks][aa], testsupport::DirectClassEquity(aks, aa), 1e-6);
    const struct
    {
        const char *a, *b;
        double equity;
    } known[] = {{"AA", "KK", 0.82},  {"AKo", "QQ", 0.43}, {"22", "AKo", 0.525},
                 {"AA", "72o", 0.88}, {"KK", "AKs", 0.66}, {"AKo", "KQo", 0.745}};
    for (const auto &k : known)
        EXPECT_NEAR(table[ClassIndex(k.a)][ClassIndex(k.b)], k.equity, 0.005) << k.a << k.b;
}

TEST(Yardsticks, TheEquilibriumJamsAndCallsLessAsTheStacksGrow)
{
    const testsupport::EquityTable table = Table();
    double jams = 1.0, calls = 1.0;
    for (double stack : {5.0, 8.0, 10.0, 12.0, 15.0}) {
        const testsupport::PushFoldSolution eq = testsupport::SolvePushFold(table, stack, 1e-4);
        EXPECT_LT(eq.exploitabilityBb, 1e-4) << stack;
        EXPECT_EQ(eq.jam[ClassIndex("AA")], 1.0);
        EXPECT_EQ(eq.call[ClassIndex("AA")], 1.0);
        EXPECT_EQ(eq.call[ClassIndex("72o")], 0.0);
        // The small blind risks less to win the blinds than the big blind needs to call.
        EXPECT_LT(testsupport::RangeShare(eq.call), testsupport::RangeShare(eq.jam));
        EXPECT_LT(testsupport::RangeShare(eq.jam), jams);
        EXPECT_LT(testsupport::RangeShare(eq.call), calls);
        jams = testsupport::RangeShare(eq.jam);
        calls = testsupport::RangeShare(eq.call);
    }
    EXPECT_EQ(testsupport::SolvePushFold(table, 15.0).jam[ClassIndex("72o")], 0.0);
}

TEST(Yardsticks, AWrittenHandReadsBackWithItsSidePotPaidToTheRightSeats)
{
    testsupport::Spot spot;
    spot.table = "Side pot";
    spot.seats = {{"Hero", 1000, "As Ah"}, {"Kim", 5000, "Ks Kh"}, {"Lou", 5000, "Qs Qh"}};
    spot.actions = "Hero a, Kim c, Lou c | Kim b1000, Lou c | Kim x, Lou x | Kim x, Lou x";
    spot.board = "2c 7d 9h 3s 4c";
    interchange::ImportResult result;
    std::string error;
    ASSERT_TRUE(interchange::ImportPokerStars(testsupport::SpotText(spot), "spot", result, error))
        << error;
    ASSERT_EQ(result.skipped, 0) << result.warnings.front();
    const history::Hand &hand = result.games.at(0).hands.at(0);
    EXPECT_EQ(hand.seats[0].won, 3000); // the main pot, 1000 from each
    EXPECT_EQ(hand.seats[1].won, 2000); // the side pot between the other two
    EXPECT_EQ(hand.seats[2].won, 0);
    EXPECT_EQ(result.games[0].seats[0].human, true);
}

} // namespace
