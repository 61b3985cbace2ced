#include "opponents/Roster.h"
#include "opponents/Decisions.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

namespace {

TEST(Roster, OnlyExactPersonaNamesSelectAPersona)
{
    EXPECT_EQ(PersonaOfName("Hero"), kPersonaHero);
    EXPECT_EQ(PersonaOfName("Master"), kPersonaMaster);
    EXPECT_EQ(PersonaOfName("Maniac"), kPersonaManiac);
    EXPECT_EQ(PersonaOfName("Professor"), kPersonaProfessor);
    EXPECT_EQ(PersonaOfName("Tim"), kPersonaTim);
    for (const char *other : {"tim", "Tim ", "MASTER", "Unknow", "Albert", ""})
        EXPECT_EQ(PersonaOfName(other), 0) << other;
}

TEST(Roster, OtherNamesDrawEveryPersonaFromTheSource)
{
    EasyRandom random;
    random.SetFixedSeed(3);
    random.SetInterval(4, 7);
    std::set<int> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(AssignPersona("Unknow", random));
    EXPECT_EQ(seen, (std::set<int>{4, 5, 6, 7}));
    EXPECT_EQ(AssignPersona("Hero", random), kPersonaHero);
}

TEST(Roster, StrategyNamesListsAndSeating)
{
    EXPECT_EQ(StrategyLogName(kPersonaTim), "Tight");
    EXPECT_EQ(StrategyLogName(kPersonaHero), "Hero");
    EXPECT_EQ(StrategyLogName(42), "None");

    const auto &rows = StrategyList();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].nick, "Tim");
    EXPECT_EQ(rows[2].strategy, "Loose Agressive Strategy");

    const auto seating = DefaultSeating();
    ASSERT_EQ(seating.size(), 9u);
    EXPECT_EQ(seating[0].name, "Hero");
    EXPECT_EQ(seating[8].name, "Professor");
    EXPECT_EQ(seating[8].stack, 1000);

    const auto blank = BlankSeating(3);
    ASSERT_EQ(blank.size(), 3u);
    EXPECT_EQ(blank[0].name, "Hero");
    EXPECT_EQ(blank[2].name, "Unknow");
}

TEST(Roster, RandomOpponentsAreDistinctPoolNamesAndRowZeroStays)
{
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        EasyRandom random;
        random.SetFixedSeed(seed);
        std::vector<std::string> names(10, "x");
        names[0] = "Hero";
        DrawRandomOpponents(names, random);
        EXPECT_EQ(names[0], "Hero");
        const std::set<std::string> distinct(names.begin() + 1, names.end());
        EXPECT_EQ(distinct.size(), 9u);
        for (const auto &name : distinct)
            EXPECT_NE(AvatarOfSeatName(name), 0) << name;
        EXPECT_EQ(PersonaOfName(names[3]), 0);
    }
}

TEST(Roster, AvatarsBySeatName)
{
    EXPECT_EQ(AvatarTable().size(), 25u);
    EXPECT_EQ(AvatarOfSeatName("Albert"), 483);
    EXPECT_EQ(AvatarOfSeatName("Harold_4"), 501);
    EXPECT_EQ(AvatarOfSeatName(" Gloria _2"), 499);
    EXPECT_EQ(AvatarOfSeatName("Tim_3"), 505);
    EXPECT_EQ(AvatarOfSeatName("Unknow_1"), 506);
    EXPECT_EQ(AvatarOfSeatName("Hero_0"), 507);
    EXPECT_EQ(AvatarOfSeatName("tim_3"), 0);
    EXPECT_EQ(AvatarOfSeatName("Gladys\r\n_5"), 500);
    EXPECT_EQ(AvatarOfSeatName("\vDiana\f"), 493);
}

TEST(PushTable, ThresholdsIncludingTheSettledNineEightOffsuit)
{
    EXPECT_EQ(PushThreshold(14, 14, false), std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(PushThreshold(2, 2, false), 24.0270595);
    EXPECT_DOUBLE_EQ(PushThreshold(13, 14, true), 277.254996);
    EXPECT_DOUBLE_EQ(PushThreshold(2, 3, false), 0.912687);
    EXPECT_DOUBLE_EQ(PushThreshold(9, 8, true), 7.6466715);
    // Nine-high offsuit thresholds rise with the kicker; nine-eight fits between nine-seven
    // and ten-eight rather than repeating ten-deuce.
    double previous = 0;
    for (int low = 2; low <= 8; ++low) {
        const double t = PushThreshold(9, low, false);
        EXPECT_GT(t, previous) << low;
        previous = t;
    }
    EXPECT_LT(PushThreshold(9, 8, false), PushThreshold(10, 8, false));
    EXPECT_LT(PushThreshold(9, 8, false), PushThreshold(9, 8, true));
}

TEST(PushTable, EveryTwoRankEntryAndEveryPair)
{
    struct Entry
    {
        int high, low;
        double suited, offsuit;
    };
    // clang-format off
    const Entry table[] = {
        {14, 13, 277.254996, 165.943592},
        {14, 12, 137.1055955, 96.3351085},
        {14, 11, 91.610668, 68.155235},
        {14, 10, 69.4565415, 53.132356},
        {14, 9, 52.062394, 40.858098},
        {14, 8, 44.9328245, 35.4782565},
        {14, 7, 39.5879525, 31.373873},
        {14, 6, 35.3722665, 28.075615},
        {14, 5, 36.146064, 28.2710435},
        {14, 4, 33.3252645, 25.969745},
        {14, 3, 31.1376575, 24.222719},
        {14, 2, 29.0709965, 22.586172},
        {13, 12, 43.3138475, 29.385832},
        {13, 11, 36.3106285, 25.419394},
        {13, 10, 31.402779, 22.473269},
        {13, 9, 23.906179, 17.877076},
        {13, 8, 19.955405, 15.2369435},
        {13, 7, 18.665326, 14.2705926},
        {13, 6, 17.4450005, 13.3378545},
        {13, 5, 16.1516655, 12.340487},
        {13, 4, 15.0816415, 11.4225105},
        {13, 3, 14.1909025, 10.6961095},
        {13, 2, 13.3654215, 9.9997075},
        {12, 11, 24.75772, 16.408411},
        {12, 10, 21.904732, 14.8582005},
        {12, 9, 16.259853, 11.7097695},
        {12, 8, 13.359276, 9.909663},
        {12, 7, 11.3426185, 8.53866755},
        {12, 6, 10.892582, 8.1475695},
        {12, 5, 10.16093, 7.51749053},
        {12, 4, 9.458176, 6.8310835},
        {12, 3, 8.8670055, 6.251616},
        {12, 2, 8.320516, 5.651475},
        {11, 10, 18.053261, 11.542626},
        {11, 9, 12.856262, 8.89969},
        {11, 8, 10.3181215, 7.4338805},
        {11, 7, 8.5972605, 6.333019},
        {11, 6, 7.3592985, 5.3903375},
        {11, 5, 7.024208, 4.9936465},
        {11, 4, 6.4777355, 4.453119},
        {11, 3, 6.020172, 3.9573605},
        {11, 2, 5.5693635, 3.4428825},
        {10, 9, 11.245741, 7.416103},
        {10, 8, 8.7328525, 6.078492},
        {10, 7, 7.099713, 5.1023775},
        {10, 6, 5.960544, 4.2859775},
        {10, 5, 4.97345, 3.4604785},
        {10, 4, 4.630033, 3.124256},
        {10, 3, 4.207859, 2.7402105},
        {10, 2, 3.769418, 2.416127},
        {9, 8, 7.6466715, 5.1},
        {9, 7, 6.1257085, 4.2854815},
        {9, 6, 5.0488365, 3.5370755},
        {9, 5, 4.1305215, 2.8254135},
        {9, 4, 3.2918205, 2.1728915},
        {9, 3, 3.0294955, 2.000152},
        {9, 2, 2.679649, 1.7926095},
        {8, 7, 5.555276, 3.752866},
        {8, 6, 4.497373, 3.0499175},
        {8, 5, 3.6195855, 2.406115},
        {8, 4, 2.8463865, 1.868948},
        {8, 3, 2.2319045, 1.4974135},
        {8, 2, 2.2319045, 1.3979185},
        {7, 6, 4.1592085, 2.719563},
        {7, 5, 3.29708, 2.1348985},
        {7, 4, 2.5546005, 1.6833735},
        {7, 3, 2.0090165, 1.365986},
        {7, 2, 1.6107545, 1.1216545},
        {6, 5, 3.103694, 1.9861525},
        {6, 4, 2.3846105, 1.585156},
        {6, 3, 1.8885865, 1.2956715},
        {6, 2, 1.5274045, 1.0698725},
        {5, 4, 2.425147, 1.6106465},
        {5, 3, 1.925527, 1.320137},
        {5, 2, 1.5574995, 1.090801},
        {4, 3, 1.7010815, 1.1830365},
        {4, 2, 1.3981115, 0.988073},
        {3, 2, 1.2837305, 0.912687}
    };
    // clang-format on
    for (const Entry &e : table) {
        EXPECT_DOUBLE_EQ(PushThreshold(e.high, e.low, true), e.suited) << e.high << "/" << e.low;
        EXPECT_DOUBLE_EQ(PushThreshold(e.low, e.high, false), e.offsuit) << e.high << "/" << e.low;
    }
    const double pairs[] = {476.9977325, 239.0040985, 159.6067945, 119.9105085,
                            95.7069665,  79.648447,   67.4238525,  57.674266,
                            49.3149365,  40.989795,   32.7204105,  24.0270595};
    for (int rank = 13; rank >= 2; --rank)
        EXPECT_DOUBLE_EQ(PushThreshold(rank, rank, true), pairs[13 - rank]) << rank;
}

} // namespace
