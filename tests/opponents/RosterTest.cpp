#include "Roster.h"
#include "Decisions.h"

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

} // namespace
