#include "tests/opponents/DecisionTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Six seats; after the blinds the flop is dealt and nobody has bet (m_amountToCall -1).
struct FlopTable : TestTable
{
    FlopTable()
    {
        Flop("2c", "7d", "Js");
        t.m_pot = 300;
    }
    void BetTo(int s, int total)
    {
        Post(s, total - t.m_bet[s]);
        t.m_amountToCall = total;
        t.m_lastAction[s] = 4;
    }
};

TEST(ProfessorPostflop, BandsOfTheWinningChance)
{
    FlopTable ft;
    ft.Hold(3, "Jh", "Jd", kPersonaProfessor);
    ft.odds.p = 0.6;
    EXPECT_EQ(ft.After(3, 0), 60);
    ft.odds.p = 0.5; // the upper bound belongs to the middle band
    EXPECT_EQ(ft.After(3, 0), 0);
    ft.odds.p = 0.45;
    EXPECT_EQ(ft.After(3, 0), 0); // nothing owed: a check
    ft.BetTo(4, 60);
    EXPECT_EQ(ft.After(3, 1), 60);
    ft.BetTo(4, 61);
    EXPECT_EQ(ft.After(3, 1), 0);
    ft.odds.p = 0.4;
    ft.BetTo(4, 20);
    EXPECT_EQ(ft.After(3, 2), 0);
}

TEST(MasterPostflop, OpensWithTheNextBigBlindMultipleAboveItsShare)
{
    FlopTable ft;
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.odds.p = 0.01; // share 3: still one big blind
    EXPECT_EQ(ft.After(3, 0), 20);
    ft.t.m_pot = 200;
    ft.odds.p = 0.5; // share 100: strictly above, 120
    EXPECT_EQ(ft.After(3, 0), 120);
    ft.t.m_amountToCall = 0; // behind a check: still an opening bet, even with no share at all
    ft.odds.p = 0;
    EXPECT_EQ(ft.After(3, 0), 20);
}

TEST(MasterPostflop, FacingABet)
{
    FlopTable ft; // pot 300 + a bet of 100 = 400
    ft.BetTo(4, 100);
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.odds.p = 0.4; // 160: 60 over the bet, less than the bet again: call
    EXPECT_EQ(ft.After(3, 0), 100);
    ft.odds.p = 0.625; // 250: raise to the multiple above
    EXPECT_EQ(ft.After(3, 0), 260);
    ft.odds.p = 0.22; // 88: within a big blind of the call
    EXPECT_EQ(ft.After(3, 0), 100);
    ft.odds.p = 0.15; // 60: not within
    EXPECT_EQ(ft.After(3, 0), 0);
    ft.t.m_stack[3] = 300; // share 360 above all it has: all in
    ft.odds.p = 0.9;
    EXPECT_EQ(ft.After(3, 0), 300);
}

TEST(MasterPostflop, BoundariesFacingABet)
{
    FlopTable ft; // pot 300 + a bet of 100 = 400
    ft.BetTo(4, 100);
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.odds.p = 0.5; // 200: exactly a bet over the bet is a raise, not a call
    EXPECT_EQ(ft.After(3, 0), 220);
    ft.odds.p = 0.25; // 100, the call itself: called
    EXPECT_EQ(ft.After(3, 0), 100);
    ft.t.m_pot = 220; // 320 in all
    ft.odds.p = 0.25; // 80: a big blind short of the call is too far
    EXPECT_EQ(ft.After(3, 0), 0);
}

TEST(MasterPostflop, OpeningShareOfExactlyABigBlindGoesToTheNextMultiple)
{
    FlopTable ft;
    ft.t.m_pot = 200;
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.odds.p = 0.1; // share 20, one big blind: the next multiple above it
    EXPECT_EQ(ft.After(3, 0), 40);
    ft.t.m_bigBlind = 0; // no big blind to round to: the share itself
    EXPECT_EQ(ft.After(3, 0), 20);
}

TEST(MasterPostflop, ShareOfExactlyWhatIsOwedPutsInTheWholeBet)
{
    FlopTable ft;
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.BetTo(3, 10);
    ft.BetTo(4, 100);
    ft.t.m_pot = 250; // 360 in all
    ft.odds.p = 0.25; // share 90, the 90 owed: the rule puts in the bet itself, 100
    EXPECT_EQ(ft.After(3, 0), 100);
}

TEST(MasterPostflop, ShortStackFacingALargerBetComparesItsWholeStack)
{
    FlopTable ft; // pot 300 + a bet of 100 = 400
    ft.BetTo(4, 100);
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.t.m_stack[3] = 50;
    ft.odds.p = 0.1; // share 40: the 50 it has is within a big blind of it, all in
    EXPECT_EQ(ft.After(3, 0), 50);
    ft.odds.p = 0.0625; // share 25: 50 is not within a big blind
    EXPECT_EQ(ft.After(3, 0), 0);
}

TEST(MasterPostflop, ShareExactlyWhatItHasLeftIsNotAnAllIn)
{
    FlopTable ft;
    ft.Hold(3, "Ah", "Kd", kPersonaMaster);
    ft.BetTo(3, 40);
    ft.BetTo(4, 100);
    ft.t.m_pot = 380; // 520 in all
    ft.t.m_stack[3] = 300;
    ft.odds.p = 0.5; // share 260, the stack less its bet: a raise to the next multiple
    EXPECT_EQ(ft.After(3, 0), 240);
    ft.odds.p = 0.5 + 1.0 / 520; // one chip more: everything
    EXPECT_EQ(ft.After(3, 0), 260);
}

TEST(TimPostflop, AcesAlwaysAndOtherwiseByCombination)
{
    FlopTable ft;
    ft.Hold(3, "Ah", "Ad", kPersonaTim);
    ft.odds.code = 1;
    EXPECT_EQ(ft.After(3, 2), 1000);
    ft.Hold(3, "Kh", "Qd", kPersonaTim);
    ft.odds.code = 22;
    EXPECT_EQ(ft.After(3, 0), 0);
    ft.odds.code = 23;
    EXPECT_EQ(ft.After(3, 0), 60);
    ft.odds.code = 26;
    EXPECT_EQ(ft.After(3, 1), 0);
    ft.odds.code = 27;
    ft.BetTo(4, 40);
    EXPECT_EQ(ft.After(3, 1), 120);
}

TEST(ManiacPostflop, ShovesMadeHandsAndCallsSmallBets)
{
    FlopTable ft;
    ft.Hold(3, "Kh", "Qd", kPersonaManiac);
    ft.odds.code = 19;
    EXPECT_EQ(ft.After(3, 0), 1000);
    ft.odds.code = 18;
    EXPECT_EQ(ft.After(3, 0), 0);
    ft.BetTo(4, 60);
    EXPECT_EQ(ft.After(3, 0), 60);
    ft.Post(3, 20); // with 20 in already the same 60 is a raise
    EXPECT_EQ(ft.After(3, 0), 60);
    ft.BetTo(4, 61);
    EXPECT_EQ(ft.After(3, 0), 0);
}

TEST(PostflopCap, NothingWhenNoOpponentCanMatchTheOwnBet)
{
    FlopTable ft;
    ft.Hold(3, "Kh", "Qd", kPersonaManiac);
    ft.BetTo(3, 200);
    for (int s : {0, 1, 2, 5})
        ft.Fold(s);
    ft.t.m_stack[4] = 100;
    ft.odds.code = 30;
    EXPECT_EQ(ft.After(3, 1), 0);
}

} // namespace
