#include "tests/opponents/DecisionTestSupport.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

namespace {

// Six seats, button 0, small blind 1 (10), big blind 2 (20); 3, 4, 5 act first.

TEST(Professor, RaisesUnopenedPotAndAnswersSmallRaisesWithThreeTimesTheRaise)
{
    TestTable tt;
    tt.Hold(3, "Ah", "Kd", kPersonaProfessor);
    tt.odds.p = 0.6;
    EXPECT_EQ(tt.Pre(3), 60);
    EXPECT_EQ(tt.odds.lastPlayers, 6);

    tt.RaiseTo(3, 60);
    tt.Hold(4, "Qh", "Qd", kPersonaProfessor);
    EXPECT_EQ(tt.Pre(4), 180);
}

TEST(Professor, AboveThreeBigBlindsAsksTheGroup)
{
    TestTable tt;
    tt.RaiseTo(3, 61);
    tt.Hold(4, "Kh", "Kd", kPersonaProfessor);
    tt.odds.p = 0.7;
    tt.odds.group = 0;
    EXPECT_EQ(tt.Pre(4), 0);
    tt.odds.group = 1;
    EXPECT_EQ(tt.Pre(4), 1000);
    tt.Hold(4, "Ah", "Kd", kPersonaProfessor);
    tt.odds.group = 2;
    EXPECT_EQ(tt.Pre(4), 61);
    tt.odds.group = 3;
    EXPECT_EQ(tt.Pre(4), 0);
}

TEST(Professor, MiddlingHandsOnlyCompleteAnUnraisedPot)
{
    TestTable tt;
    tt.Hold(1, "9h", "8h", kPersonaProfessor);
    tt.odds.p = 0.5;          // the upper bound belongs to the middle band
    EXPECT_EQ(tt.Pre(1), 20); // added to the small blind: a raise to 30
    tt.odds.p = 0.4;
    EXPECT_EQ(tt.Pre(1), 0);
    tt.odds.p = 0.45;
    tt.RaiseTo(3, 40);
    EXPECT_EQ(tt.Pre(1), 0);
}

TEST(Cap, AmountNeverExceedsWhatTheDeepestOpponentCanMatch)
{
    TestTable tt;
    tt.Hold(3, "Ah", "As", kPersonaTim);
    tt.t.m_stack[4] = 100; // the deepest other seat: 100 behind, nothing in
    for (int s : {0, 1, 2, 5})
        tt.Fold(s);
    EXPECT_EQ(tt.Pre(3), 60);
    tt.t.m_amountToCall = 50;
    EXPECT_EQ(tt.Pre(3), 100); // 3 x 50 lowered to 100
}

TEST(Cap, BelowOwnBetTheAmountBecomesZero)
{
    // Seat 3 has raised to 200; the only other seat left is all in for 150 in total.
    TestTable tt;
    tt.Hold(3, "Ah", "As", kPersonaTim);
    tt.RaiseTo(3, 200);
    for (int s : {0, 1, 2, 5})
        tt.Fold(s);
    tt.t.m_stack[4] = 0;
    tt.t.m_bet[4] = 150;
    EXPECT_EQ(tt.Pre(3), 0); // a check: its bet matches
    // The same when a seat that has since folded raised above it: 0 is then a fold.
    tt.t.m_amountToCall = 300;
    EXPECT_EQ(tt.Pre(3), 0);
}

TEST(Master, AgainstTwoRaisersOnlyAcesGoOn)
{
    TestTable tt;
    tt.RaiseTo(3, 60);
    tt.RaiseTo(4, 200);
    tt.Hold(5, "Ah", "Ad", kPersonaMaster);
    EXPECT_EQ(tt.Pre(5), 1000);
    tt.Hold(5, "Kh", "Kd", kPersonaMaster);
    EXPECT_EQ(tt.Pre(5), 0);
}

TEST(Master, AgainstOneRaiserWithFewHandsOfStatistics)
{
    TestTable tt;
    tt.RaiseTo(3, 60);
    tt.t.m_players[3].m_stat.m_N = 19;
    tt.t.m_players[3].m_stat.m_pfrRatio = 0.9;
    tt.Hold(5, "Kh", "Kd", kPersonaMaster);
    EXPECT_EQ(tt.Pre(5), 1000);
    tt.Hold(5, "Qh", "Qd", kPersonaMaster);
    tt.odds.group = 1;
    EXPECT_EQ(tt.Pre(5), 1000);
    tt.Hold(5, "Ah", "Kd", kPersonaMaster);
    tt.odds.group = 2;
    EXPECT_EQ(tt.Pre(5), 60);
    tt.Hold(5, "9h", "8h", kPersonaMaster);
    tt.odds.group = 4;
    EXPECT_EQ(tt.Pre(5), 0);
    EXPECT_EQ(tt.odds.topCalls, 0);
    // The big blind calls a raise of up to three big blinds more whatever it holds.
    tt.Hold(2, "7h", "2d", kPersonaMaster);
    tt.odds.group = 0;
    EXPECT_EQ(tt.Pre(2), 40);
    // No last raiser recorded: nothing to read, nothing put in.
    tt.Hold(5, "Qh", "Qd", kPersonaMaster);
    tt.odds.group = 1;
    tt.t.m_lastRaiser = -1;
    EXPECT_EQ(tt.Pre(5), 0);
}

TEST(Master, ARaiseFromSeatZeroIsReadLikeAnyOther)
{
    TestTable tt; // seat 0 is the button
    tt.RaiseTo(0, 80);
    tt.t.m_players[0].m_stat.m_N = 5;
    tt.Hold(1, "Qh", "Qd", kPersonaMaster); // the small blind owes 70, more than 3 big blinds
    tt.odds.group = 1;
    EXPECT_EQ(tt.Pre(1), 990);
}

TEST(Master, AgainstOneRaiserWithTwentyHandsUsesTheRaisersRange)
{
    TestTable tt;
    tt.RaiseTo(3, 60);
    tt.t.m_pot = 200; // pot total 290
    tt.t.m_players[3].m_stat.m_N = 20;
    tt.t.m_players[3].m_stat.m_pfrRatio = 0.25;
    tt.Hold(5, "Qh", "Qd", kPersonaMaster);
    tt.odds.group = 1;         // never asked now
    tt.odds.pAgainstTop = 0.5; // ev 145: 85 over the call, size 100 >= 60
    EXPECT_EQ(tt.Pre(5), 60);
    EXPECT_DOUBLE_EQ(tt.odds.lastPct, 25.0);
    tt.odds.pAgainstTop = 75.0 / 290; // ev 75: size 20 < 60
    EXPECT_EQ(tt.Pre(5), 0);
    tt.odds.pAgainstTop = 0.2; // ev 58 <= 60
    EXPECT_EQ(tt.Pre(5), 0);
}

TEST(Master, BoundariesAgainstOneRaiser)
{
    TestTable tt;
    // The big blind goes on for up to three big blinds more, whatever it holds.
    tt.Hold(2, "7h", "2d", kPersonaMaster);
    tt.odds.group = 0;
    tt.RaiseTo(3, 80);
    EXPECT_EQ(tt.Pre(2), 60);
    tt.RaiseTo(3, 81);
    tt.t.m_players[3].m_stat.m_N = 5;
    EXPECT_EQ(tt.Pre(2), 0);

    // A size exactly the amount owed is enough: pot total 240, ev 105, 45 over: size 60.
    TestTable t2;
    t2.RaiseTo(3, 60);
    t2.t.m_pot = 150;
    t2.t.m_players[3].m_stat.m_N = 20;
    t2.Hold(5, "9h", "9d", kPersonaMaster);
    t2.odds.pAgainstTop = 0.4375;
    EXPECT_EQ(t2.Pre(5), 60);
    t2.odds.pAgainstTop = 0.375; // ev 90, 30 over: size 40 < 60
    EXPECT_EQ(t2.Pre(5), 0);
}

TEST(Master, UnraisedPotOwingMoreThanABigBlindFolds)
{
    // An ante level: 40 to call with no raise; a hand outside the tens-or-better rule.
    TestTable tt;
    tt.t.m_ranges.m_sets[0].clear();
    tt.t.m_ranges.m_sets[1].clear();
    tt.t.m_amountToCall = 40;
    tt.Limp(3);
    tt.odds.group = 7;
    tt.Hold(1, "9h", "5c", kPersonaMaster);
    EXPECT_EQ(tt.Pre(1), 0); // 30 owed
    tt.Hold(2, "9h", "5c", kPersonaMaster);
    EXPECT_EQ(tt.Pre(2), 20); // exactly a big blind owed: called
}

TEST(Master, TheButtonRangeIsOnlyTheButtonsAndTheSmallBlinds)
{
    TestTable tt;
    tt.t.m_ranges.m_sets[0] = {{Card("Ks"), Card("9h")}};
    tt.t.m_ranges.m_sets[1].clear();
    tt.odds.group = 0;
    tt.Hold(3, "Ks", "9h", kPersonaMaster); // first to act
    EXPECT_EQ(tt.Pre(3), 0);
    tt.Hold(1, "Ks", "9h", kPersonaMaster); // the small blind
    EXPECT_EQ(tt.Pre(1), 60);
}

TEST(Master, UnraisedAceKingRaisesThreeLevels)
{
    TestTable tt;
    tt.t.m_ranges.m_sets[0].clear();
    tt.t.m_ranges.m_sets[1].clear();
    tt.odds.group = 0;
    tt.Hold(3, "Ah", "Kd", kPersonaMaster); // sum 27
    EXPECT_EQ(tt.Pre(3), 60);
    tt.Hold(3, "Ah", "Qd", kPersonaMaster); // sum 26: the group decides, and group 0 folds
    EXPECT_EQ(tt.Pre(3), 0);
}

TEST(Master, UnopenedRangeRaisesReturnWithoutTheCap)
{
    TestTable tt;
    tt.t.m_ranges.m_sets[0] = {{Card("Ks"), Card("9h")}};
    tt.t.m_ranges.m_sets[1] = {{Card("7d"), Card("7c")}};
    for (int s = 1; s < 6; ++s)
        tt.t.m_stack[s] = 5; // nobody could match 60
    for (int s : {3, 4})
        tt.Fold(s);
    tt.Hold(0, "9h", "Ks", kPersonaMaster); // the higher card leads the key
    EXPECT_EQ(tt.Pre(0), 60);
    tt.Hold(0, "Ks", "9h", kPersonaMaster); // in either order of the hole cards
    EXPECT_EQ(tt.Pre(0), 60);
    tt.t.m_stack[5] = 1000;
    tt.t.m_stack[0] = 5;
    tt.Hold(5, "7c", "7d", kPersonaMaster); // a pair: the second card leads
    EXPECT_EQ(tt.Pre(5), 60);
    tt.Hold(5, "7d", "7c", kPersonaMaster);
    tt.odds.group = 0;
    EXPECT_EQ(tt.Pre(5), 0);
}

TEST(Master, SmallBlindPushIsStrictlyBelowTheThreshold)
{
    TestTable tt;
    tt.t.m_ranges.m_sets[0].clear();
    tt.t.m_ranges.m_sets[1].clear();
    for (int s : {3, 4, 5, 0})
        tt.Fold(s);
    tt.Hold(1, "Kc", "2d", kPersonaMaster); // pushes below 9.9997075 big blinds
    tt.odds.group = 0;
    tt.t.m_stack[1] = 199;
    EXPECT_EQ(tt.Pre(1), 199);
    tt.t.m_stack[1] = 200;
    EXPECT_EQ(tt.Pre(1), 0);
    // Lowered to what the big blind can match, 150 in all.
    tt.t.m_stack[1] = 190;
    tt.t.m_stack[2] = 130;
    EXPECT_EQ(tt.Pre(1), 140);
    // Exactly on a threshold: four-deuce offsuit at 0.988073 big blinds does not push.
    tt.t.m_bigBlind = 1000000;
    tt.t.m_amountToCall = 1000000;
    tt.t.m_stack[2] = 5000000;
    tt.Hold(1, "4c", "2d", kPersonaMaster);
    tt.t.m_stack[1] = 988073;
    EXPECT_EQ(tt.Pre(1), 0);
    tt.t.m_stack[1] = 988072;
    EXPECT_EQ(tt.Pre(1), 988072);
    tt.t.m_bigBlind = 20;
    tt.t.m_amountToCall = 20;
    tt.t.m_stack[2] = 130;
    // Aces always push.
    tt.Hold(1, "Ac", "Ad", kPersonaMaster);
    tt.t.m_stack[1] = 1000000;
    EXPECT_EQ(tt.Pre(1), 140);
}

TEST(Master, UnraisedPotWithoutRangeOrPush)
{
    TestTable tt;
    tt.t.m_ranges.m_sets[0].clear();
    tt.t.m_ranges.m_sets[1].clear();
    tt.Hold(3, "Th", "Td", kPersonaMaster);
    EXPECT_EQ(tt.Pre(3), 60);
    tt.Hold(3, "9h", "5d", kPersonaMaster);
    tt.odds.group = 7;
    EXPECT_EQ(tt.Pre(3), 0); // nothing in yet
    tt.Limp(3);
    tt.Hold(1, "9h", "5c", kPersonaMaster);
    tt.odds.group = 0;
    EXPECT_EQ(tt.Pre(1), 0);
    tt.odds.group = 6;
    EXPECT_EQ(tt.Pre(1), 20); // a raise to 30
    tt.odds.group = 7;
    EXPECT_EQ(tt.Pre(1), 10); // completes
    tt.Hold(2, "9h", "5c", kPersonaMaster);
    EXPECT_EQ(tt.Pre(2), 20); // nothing owed: the big blind raises
}

struct PairCase
{
    int rankChar;
    int positionClass;
    int callers;
    int expected; // 0 fold, 1 level, 3 three times level
};
void PrintTo(const PairCase &c, std::ostream *os)
{
    *os << static_cast<char>(c.rankChar) << " class " << c.positionClass << " callers "
        << c.callers;
}

class TimPairs : public testing::TestWithParam<PairCase>
{
};

TEST_P(TimPairs, Table)
{
    const PairCase c = GetParam();
    TestTable tt(10);
    const std::string r(1, static_cast<char>(c.rankChar));
    tt.Hold(6, (r + "h").c_str(), (r + "d").c_str(), kPersonaTim);
    tt.t.m_positionClass[6] = c.positionClass;
    for (int i = 0; i < c.callers; ++i)
        tt.Limp(3 + i);
    EXPECT_EQ(tt.Pre(6), 20 * c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Preflop, TimPairs, testing::Values(
    PairCase{'7', 0, 1, 0}, PairCase{'8', 0, 0, 0}, PairCase{'8', 0, 2, 1},
    PairCase{'9', 0, 3, 0}, PairCase{'T', 0, 0, 1},
    PairCase{'7', 1, 2, 0}, PairCase{'7', 1, 3, 1}, PairCase{'8', 1, 0, 0},
    PairCase{'8', 1, 1, 1}, PairCase{'9', 1, 0, 3}, PairCase{'9', 1, 1, 1},
    PairCase{'T', 1, 2, 1},
    PairCase{'7', 2, 0, 0}, PairCase{'8', 2, 1, 3}, PairCase{'9', 2, 2, 1},
    PairCase{'T', 2, 2, 3}, PairCase{'T', 2, 3, 1},
    PairCase{'5', 2, 0, 0}, PairCase{'5', 2, 1, 3}, PairCase{'5', 2, 2, 0},
    PairCase{'6', 2, 3, 1}, PairCase{'6', 0, 1, 0}, PairCase{'2', 1, 3, 0},
    PairCase{'J', 0, 0, 3}, PairCase{'A', 0, 3, 3}), support::PrintedName());
// clang-format on

TEST(Tim, SmallPairsFoldToARaiseEvenInLatePosition)
{
    TestTable tt(10);
    tt.Hold(6, "5h", "5d", kPersonaTim);
    tt.t.m_positionClass[6] = 2;
    tt.Limp(3);
    EXPECT_EQ(tt.Pre(6), 60); // one caller: three times the level
    tt.RaiseTo(4, 60);
    EXPECT_EQ(tt.Pre(6), 0);
}

TEST(Tim, RaisesFoldEveryMiddlePairAndNonPairsFold)
{
    TestTable tt(10);
    tt.RaiseTo(3, 60);
    tt.Hold(6, "Th", "Td", kPersonaTim);
    tt.t.m_positionClass[6] = 2;
    EXPECT_EQ(tt.Pre(6), 0);
    tt.Hold(6, "Ah", "Kd", kPersonaTim);
    EXPECT_EQ(tt.Pre(6), 180); // three times the level of 60
    tt.Hold(6, "Ah", "Qd", kPersonaTim);
    EXPECT_EQ(tt.Pre(6), 0);
}

// The first seed whose first draw over 0..100 is value.
std::uint64_t SeedDrawing(int value)
{
    for (std::uint64_t seed = 1;; ++seed) {
        EasyRandom r;
        r.SetFixedSeed(seed);
        r.SetInterval(0, 100);
        if (r.DrawRandomNumber() == value)
            return seed;
    }
}

TEST(Maniac, DrawsDecideSmallPairsAndUnraisedJunk)
{
    TestTable tt;
    const struct
    {
        const char *first, *second;
        int draw;
        int expected;
    } cases[] = {
        {"5h", "5d", 30, 0}, {"5h", "5d", 31, 1000}, {"9h", "2d", 90, 0}, {"9h", "2d", 91, 1000}};
    for (const auto &c : cases) {
        tt.Hold(3, c.first, c.second, kPersonaManiac);
        tt.random.SetFixedSeed(SeedDrawing(c.draw));
        EXPECT_EQ(tt.Pre(3), c.expected) << c.first << c.second << " draw " << c.draw;
    }
}

TEST(Maniac, StrongHandsGoAllInWithoutDrawing)
{
    TestTable tt;
    tt.random.SetFixedSeed(SeedDrawing(0)); // any draw would fold
    tt.Hold(3, "8h", "8d", kPersonaManiac);
    EXPECT_EQ(tt.Pre(3), 1000);
    tt.Hold(3, "Qh", "9d", kPersonaManiac); // sum 21
    EXPECT_EQ(tt.Pre(3), 1000);
    tt.t.m_amountToCall = 25; // an ante level: junk never draws
    tt.Hold(3, "Qh", "8d", kPersonaManiac);
    EXPECT_EQ(tt.Pre(3), 0);

    tt.RaiseTo(4, 60);
    tt.Hold(5, "Jh", "Jd", kPersonaManiac);
    EXPECT_EQ(tt.Pre(5), 1000);
    tt.Hold(5, "Ah", "Kd", kPersonaManiac);
    EXPECT_EQ(tt.Pre(5), 1000);
    tt.Hold(5, "Th", "Td", kPersonaManiac);
    EXPECT_EQ(tt.Pre(5), 0);
}

TEST(Decision, LeavesTheSharedSourceOnZeroToHundred)
{
    TestTable tt;
    tt.Hold(3, "Ah", "Kd", kPersonaTim);
    tt.random.SetInterval(4, 7);
    tt.Pre(3);
    bool wide = false;
    for (int i = 0; i < 200; ++i)
        wide = wide || tt.random.DrawRandomNumber() > 7;
    EXPECT_TRUE(wide);
}

TEST(Decision, LibraryBackedDeciderPlaysObviousHands)
{
    SeedPokerLibrary(11);
    TestTable tt;
    CPersonaDecider decider;
    for (int s : {0, 1, 2, 5})
        tt.Fold(s); // heads-up, so that aces are clear favourites
    tt.Hold(3, "Ah", "As", kPersonaProfessor);
    EXPECT_EQ(decider.DecidePreflop(tt.t, 3, tt.random), 60);
    tt.Hold(3, "7h", "2s", kPersonaProfessor);
    EXPECT_EQ(decider.DecidePreflop(tt.t, 3, tt.random), 0);
}

} // namespace
