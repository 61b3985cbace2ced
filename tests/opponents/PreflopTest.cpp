#include "tests/opponents/DecisionTestSupport.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The Professor and the Master, one answer a case.
struct PreflopCase
{
    const char *name;
    int persona;
    const char *first, *second;
    int seat;
    std::vector<std::pair<int, int>> raises; // (seat, total) in order; a total of 0 calls
    double p;                                // the winning chance the library gives
    int group;                               // the class it gives the hand
    int expected;
    int raiserHands = 0; // hands in the last raiser's statistics
    double raiserPfr = 0;
    double pAgainstTop = 0; // the chance against the raiser's range
    int pot = 0;
    bool noRanges = false; // the opening ranges cleared
    int call = -2;         // the amount to call before the raises, when set
    int lastRaiser = -2;   // when set, after the raises
    int players = 0;       // when set, the players the winning chance is asked for
};
void PrintTo(const PreflopCase &c, std::ostream *os)
{
    *os << c.name;
}

class Preflop : public testing::TestWithParam<PreflopCase>
{
};

TEST_P(Preflop, AmountPutIn)
{
    const PreflopCase &c = GetParam();
    TestTable tt;
    if (c.noRanges) {
        tt.t.m_ranges.m_sets[0].clear();
        tt.t.m_ranges.m_sets[1].clear();
    }
    if (c.call > -2)
        tt.t.m_amountToCall = c.call;
    for (const auto &[seat, total] : c.raises)
        total == 0 ? tt.Limp(seat) : tt.RaiseTo(seat, total);
    if (c.lastRaiser > -2)
        tt.t.m_lastRaiser = c.lastRaiser;
    if (c.raiserHands > 0) {
        tt.t.m_players[c.raises.back().first].m_stat.m_N = c.raiserHands;
        tt.t.m_players[c.raises.back().first].m_stat.m_pfrRatio = c.raiserPfr;
    }
    tt.t.m_pot = c.pot;
    tt.Hold(c.seat, c.first, c.second, c.persona);
    tt.odds.p = c.p;
    tt.odds.group = c.group;
    tt.odds.pAgainstTop = c.pAgainstTop;
    EXPECT_EQ(tt.Pre(c.seat), c.expected);
    // The raiser's range is asked for only once its statistics hold twenty hands.
    EXPECT_EQ(tt.odds.topCalls > 0, c.pAgainstTop > 0);
    if (c.pAgainstTop > 0) {
        EXPECT_DOUBLE_EQ(tt.odds.lastPct, 100 * c.raiserPfr);
    }
    if (c.players > 0) {
        EXPECT_EQ(tt.odds.lastPlayers, c.players);
    }
}

constexpr int kPro = kPersonaProfessor, kMaster = kPersonaMaster;

// Six seats, button 0, small blind 1 (10), big blind 2 (20); 3, 4, 5 act first.
// clang-format off
const PreflopCase kPreflopCases[] = {
    {"ProfessorRaisesAnUnopenedPot", kPro, "Ah", "Kd", 3, {}, 0.6, 0, 60, 0, 0, 0, 0, false, -2, -2, 6},
    {"ProfessorAnswersASmallRaiseWithThreeTimesIt", kPro, "Qh", "Qd", 4, {{3, 60}}, 0.6, 0, 180},
    // Above three big blinds the group decides.
    {"ProfessorFoldsGroup0AboveThreeBigBlinds", kPro, "Kh", "Kd", 4, {{3, 61}}, 0.7, 0, 0},
    {"ProfessorGoesAllInWithGroup1", kPro, "Kh", "Kd", 4, {{3, 61}}, 0.7, 1, 1000},
    {"ProfessorCallsWithGroup2", kPro, "Ah", "Kd", 4, {{3, 61}}, 0.7, 2, 61},
    {"ProfessorFoldsGroup3", kPro, "Ah", "Kd", 4, {{3, 61}}, 0.7, 3, 0},
    // Middling hands only complete an unraised pot; the upper bound belongs to the middle band.
    {"ProfessorCompletesAtTheTopOfTheMiddleBand", kPro, "9h", "8h", 1, {}, 0.5, 0, 20},
    {"ProfessorFoldsBelowTheMiddleBand", kPro, "9h", "8h", 1, {}, 0.4, 0, 0},
    {"ProfessorFoldsMiddlingHandsToARaise", kPro, "9h", "8h", 1, {{3, 40}}, 0.45, 0, 0},
    // Against two raisers only aces go on.
    {"MasterAcesAgainstTwoRaisers", kMaster, "Ah", "Ad", 5, {{3, 60}, {4, 200}}, 0, 0, 1000},
    {"MasterKingsFoldToTwoRaisers", kMaster, "Kh", "Kd", 5, {{3, 60}, {4, 200}}, 0, 0, 0},
    // Against one raiser with fewer than twenty hands of statistics the group decides.
    {"MasterFewHandsKingsAllIn", kMaster, "Kh", "Kd", 5, {{3, 60}}, 0, 0, 1000, 19, 0.9},
    {"MasterFewHandsGroup1AllIn", kMaster, "Qh", "Qd", 5, {{3, 60}}, 0, 1, 1000, 19, 0.9},
    {"MasterFewHandsGroup2Calls", kMaster, "Ah", "Kd", 5, {{3, 60}}, 0, 2, 60, 19, 0.9},
    {"MasterFewHandsGroup4Folds", kMaster, "9h", "8h", 5, {{3, 60}}, 0, 4, 0, 19, 0.9},
    {"MasterBigBlindCallsUpToThreeBigBlindsMore", kMaster, "7h", "2d", 2, {{3, 60}}, 0, 0, 40, 19, 0.9},
    {"MasterWithoutALastRaiserPutsNothingIn", kMaster, "Qh", "Qd", 5, {{3, 60}}, 0, 1, 0, 19, 0.9, 0, 0, false, -2, -1},
    {"MasterReadsARaiseFromSeatZeroLikeAnyOther", kMaster, "Qh", "Qd", 1, {{0, 80}}, 0, 1, 990, 5},
    {"MasterBigBlindFoldsMoreThanThreeBigBlindsMore", kMaster, "7h", "2d", 2, {{3, 81}}, 0, 0, 0, 5},
    {"MasterBigBlindCallsExactlyThreeBigBlindsMore", kMaster, "7h", "2d", 2, {{3, 80}}, 0, 0, 60},
    // With twenty hands the raiser's range decides: pot total 290, ev 145 is 85 over the call.
    {"MasterCallsWhenTheSizeReachesTheCall", kMaster, "Qh", "Qd", 5, {{3, 60}}, 0, 1, 60, 20, 0.25, 0.5, 200},
    {"MasterFoldsWhenTheSizeIsShort", kMaster, "Qh", "Qd", 5, {{3, 60}}, 0, 1, 0, 20, 0.25, 75.0 / 290, 200},
    {"MasterFoldsWhenTheEvIsNoMoreThanTheCall", kMaster, "Qh", "Qd", 5, {{3, 60}}, 0, 1, 0, 20, 0.25, 0.2, 200},
    // Pot total 240: ev 105 is 45 over, a size of exactly the 60 owed; ev 90 gives 40.
    {"MasterCallsOnASizeOfExactlyTheAmountOwed", kMaster, "9h", "9d", 5, {{3, 60}}, 0, 0, 60, 20, 0, 0.4375, 150},
    {"MasterFoldsOnASizeBelowTheAmountOwed", kMaster, "9h", "9d", 5, {{3, 60}}, 0, 0, 0, 20, 0, 0.375, 150},
    // An ante level: 40 to call with no raise; a hand outside the tens-or-better rule.
    {"MasterFoldsOwingMoreThanABigBlindUnraised", kMaster, "9h", "5c", 1, {{3, 0}}, 0, 7, 0, 0, 0, 0, 0, true, 40},
    {"MasterCallsOwingExactlyABigBlindUnraised", kMaster, "9h", "5c", 2, {{3, 0}}, 0, 7, 20, 0, 0, 0, 0, true, 40},
    // Without opening ranges ace-king (sum 27) raises three levels and ace-queen asks the group.
    {"MasterUnraisedAceKingRaisesThreeLevels", kMaster, "Ah", "Kd", 3, {}, 0, 0, 60, 0, 0, 0, 0, true},
    {"MasterUnraisedAceQueenFoldsGroup0", kMaster, "Ah", "Qd", 3, {}, 0, 0, 0, 0, 0, 0, 0, true},
    {"MasterUnraisedTensRaise", kMaster, "Th", "Td", 3, {}, 0, 0, 60, 0, 0, 0, 0, true},
    {"MasterUnraisedGroup7PutsNothingIn", kMaster, "9h", "5d", 3, {}, 0, 7, 0, 0, 0, 0, 0, true},
    {"MasterSmallBlindFoldsGroup0AfterALimp", kMaster, "9h", "5c", 1, {{3, 0}}, 0, 0, 0, 0, 0, 0, 0, true},
    {"MasterSmallBlindRaisesGroup6AfterALimp", kMaster, "9h", "5c", 1, {{3, 0}}, 0, 6, 20, 0, 0, 0, 0, true},
    {"MasterSmallBlindCompletesGroup7AfterALimp", kMaster, "9h", "5c", 1, {{3, 0}}, 0, 7, 10, 0, 0, 0, 0, true},
    {"MasterBigBlindRaisesGroup7OwingNothing", kMaster, "9h", "5c", 2, {{3, 0}}, 0, 7, 20, 0, 0, 0, 0, true},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Decisions, Preflop, testing::ValuesIn(kPreflopCases),
                         support::PrintedName());

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
