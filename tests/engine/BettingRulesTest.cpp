// How decisions are booked and when a betting round ends: scripted hands compared with the
// whole hand history, game log and output pane.
#include "tests/engine/EngineTestSupport.h"

using namespace enginetest;

namespace {

int TotalStacks(const CGameTable &t)
{
    int total = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        total += t.m_stack[s];
    return total;
}

std::vector<int> Join(std::vector<int> draws, const std::vector<int> &deal)
{
    draws.insert(draws.end(), deal.begin(), deal.end());
    return draws;
}

} // namespace

class BettingRules : public GameFixture
{
protected:
    // Three seats of 1000, blinds 10/20: button 1, small blind 2, big blind 0.
    void ThreeHanded()
    {
        m_game.SetStackedDraws(Join(
            {5, 12, 3}, Cards({"Ah", "2c", "7d", "Kd", "3c", "8d", "Qs", "Js", "4h", "9c", "5s"})));
        m_seats = {{"Hero", 1000}, {"Master", 1000}, {"Tim", 1000}};
    }
    // Four seats, the button on seat 3: seat 0 posts the small blind, seat 1 the big blind and
    // seat 2 acts first.
    void FourHanded(std::vector<int> stacks)
    {
        m_game.SetStackedDraws(Join({5, 3, 1, 12}, Cards({"Ah", "Kh", "2c", "Qh", "Ad", "Kd", "7s",
                                                          "Qd", "3s", "8c", "9d", "Jc", "4h"})));
        m_seats = {
            {"Hero", stacks[0]}, {"Master", stacks[1]}, {"Tim", stacks[2]}, {"Maniac", stacks[3]}};
    }
    std::vector<SeatSetup> m_seats;
};

TEST_F(BettingRules, BigBlindRaisingItsOptionReopensTheRound)
{
    ThreeHanded();
    m_decider.Add(1, 20);
    m_decider.Add(2, 10);
    m_decider.Add(0, 40); // raise at the option
    m_decider.Add(1, 40);
    m_decider.Add(2, 40);
    for (int street = 0; street < 3; ++street) {
        m_decider.Add(2, 0);
        m_decider.Add(0, 0);
        m_decider.Add(1, 0);
    }
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 3-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Tim_2: posts small blind 10\n"
                         "Hero_0: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Kd ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: calls 20\n"
                         "Tim_2: calls 10\n"
                         "Hero_0: raises 40\n"
                         "Master_1: calls 40\n"
                         "Tim_2: calls 40\n"
                         "*** FLOP *** [Qs Js 4h]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "*** TURN *** [9c]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "*** RIVER *** [5s]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 180\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 0\n"
                         "Hero_0 has Ace high \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: Ah Kd\n"
                         "Player 1: 2c 3c\n"
                         "Player 2: 7d 8d\n"
                         "Preflop start\n"
                         "Player 1 calls for 20\n"
                         "Player 2 calls for 10\n"
                         "Player 0 raises 40\n"
                         "Player 1 calls for 40\n"
                         "Player 2 calls for 40\n"
                         "End of Preflop !\n"
                         "Flop: Qs Js 4h\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "End of Flop !\n"
                         "Turn: 9c\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "End of Turn !\n"
                         "River: 5s\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "End of River !\n"
                         "Player 0 = 130\n"
                         "Player 1 = 110\n"
                         "Player 2 = 110\n"
                         "After sort Player 0 = 130 win = 180\n"
                         "After sort Player 1 = 110 win = 0\n"
                         "After sort Player 2 = 111 win = 0\n"
                         "Player 0 has Ace high \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 1 calls for 20",
                      "Player 2 calls for 10",
                      "Player 0 raises 40",
                      "Player 1 calls for 40",
                      "Player 2 calls for 40",
                      "End of Preflop !",
                      "Flop: Qs Js 4h",
                      "Player 2 checks",
                      "Player 0 checks",
                      "Player 1 checks",
                      "End of Flop !",
                      "Turn: 9c",
                      "Player 2 checks",
                      "Player 0 checks",
                      "Player 1 checks",
                      "End of Turn !",
                      "River: 5s",
                      "Player 2 checks",
                      "Player 0 checks",
                      "Player 1 checks",
                      "End of River !",
                      "Player 0 = 130",
                      "Player 1 = 110",
                      "Player 2 = 110",
                      "After sort Player 0 = 130 win = 180",
                      "After sort Player 1 = 110 win = 0",
                      "After sort Player 2 = 111 win = 0",
                      "Player 0 has Ace high "});
    EXPECT_EQ(m_game.m_table.m_lastRaiser, 0);
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
}

TEST_F(BettingRules, FoldPressedWithNothingOwedIsAFold)
{
    ThreeHanded();
    ScriptedHuman human(m_game);
    m_game.SetHumanPlayer(&human);
    m_decider.Add(1, 20);
    m_decider.Add(2, 10);
    human.Add(0, true); // FOLD at the big blind's option
    for (int street = 0; street < 3; ++street) {
        m_decider.Add(2, 0);
        m_decider.Add(1, 0);
    }
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 3-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Tim_2: posts small blind 10\n"
                         "Hero_0: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Kd ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: calls 20\n"
                         "Tim_2: calls 10\n"
                         "Hero_0: folds\n"
                         "*** FLOP *** [Qs Js 4h]\n"
                         "Tim_2: checks\n"
                         "Master_1: checks\n"
                         "*** TURN *** [9c]\n"
                         "Tim_2: checks\n"
                         "Master_1: checks\n"
                         "*** RIVER *** [5s]\n"
                         "Tim_2: checks\n"
                         "Master_1: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 0\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 60\n"
                         "Tim_2 has Queen high \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: Ah Kd\n"
                         "Player 1: 2c 3c\n"
                         "Player 2: 7d 8d\n"
                         "Preflop start\n"
                         "Player 1 calls for 20\n"
                         "Player 2 calls for 10\n"
                         "Player 0 folds\n"
                         "End of Preflop !\n"
                         "Flop: Qs Js 4h\n"
                         "Player 2 checks\n"
                         "Player 1 checks\n"
                         "End of Flop !\n"
                         "Turn: 9c\n"
                         "Player 2 checks\n"
                         "Player 1 checks\n"
                         "End of Turn !\n"
                         "River: 5s\n"
                         "Player 2 checks\n"
                         "Player 1 checks\n"
                         "End of River !\n"
                         "Player 1 = 110\n"
                         "Player 2 = 110\n"
                         "After sort Player 0 = 0 win = 0\n"
                         "After sort Player 1 = 110 win = 0\n"
                         "After sort Player 2 = 111 win = 60\n"
                         "Player 2 has Queen high \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 1 calls for 20",
                      "Player 2 calls for 10",
                      "Player 0 folds",
                      "End of Preflop !",
                      "Flop: Qs Js 4h",
                      "Player 2 checks",
                      "Player 1 checks",
                      "End of Flop !",
                      "Turn: 9c",
                      "Player 2 checks",
                      "Player 1 checks",
                      "End of Turn !",
                      "River: 5s",
                      "Player 2 checks",
                      "Player 1 checks",
                      "End of River !",
                      "Player 1 = 110",
                      "Player 2 = 110",
                      "After sort Player 0 = 0 win = 0",
                      "After sort Player 1 = 110 win = 0",
                      "After sort Player 2 = 111 win = 60",
                      "Player 2 has Queen high "});
    EXPECT_EQ(human.SliderMaxes(), (std::vector<int>{1000}));
    // The big blind's 20 went into the pot and to the winner, not into thin air.
    EXPECT_EQ(m_game.m_table.m_stack[0], 980);
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
    EXPECT_TRUE(m_game.m_table.m_folded[0]);
}

TEST_F(BettingRules, AllInForLessThanOwedIsACall)
{
    ThreeHanded();
    m_seats[0].stack = 50;
    m_decider.Add(1, 100); // raise to 100
    m_decider.Add(2, 0);
    m_decider.Add(0, 30); // the big blind's last 30: short of the 80 owed
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 3-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (50 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Tim_2: posts small blind 10\n"
                         "Hero_0: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Kd ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: raises 100\n"
                         "Tim_2: folds\n"
                         "Hero_0: calls 30\n"
                         "*** FLOP *** [Qs Js 4h]\n"
                         "*** TURN *** [9c]\n"
                         "*** RIVER *** [5s]\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 110\n"
                         "Master_1 win 50\n"
                         "Tim_2 win 0\n"
                         "Hero_0 has Ace high \n"
                         "Master_1 has Queen high \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (50 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: Ah Kd\n"
                         "Player 1: 2c 3c\n"
                         "Player 2: 7d 8d\n"
                         "Preflop start\n"
                         "Player 1 raises 100\n"
                         "Player 2 folds\n"
                         "Player 0 allin with bet 30\n"
                         "End of Preflop !\n"
                         "Flop: Qs Js 4h\n"
                         "Turn: 9c\n"
                         "River: 5s\n"
                         "Player 0 = 130\n"
                         "Player 1 = 110\n"
                         "After sort Player 0 = 130 win = 110\n"
                         "After sort Player 1 = 110 win = 50\n"
                         "After sort Player 2 = 0 win = 0\n"
                         "Player 0 has Ace high \n"
                         "Player 1 has Queen high \n",
                     {"Preflop start", "Player 0 is Hero_0 with stack = 50 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n", "Player 1 raises 100",
                      "Player 2 folds", "Player 0 allin with bet 30", "End of Preflop !",
                      "Flop: Qs Js 4h", "Turn: 9c", "River: 5s", "Player 0 = 130", "Player 1 = 110",
                      "After sort Player 0 = 130 win = 110", "After sort Player 1 = 110 win = 50",
                      "After sort Player 2 = 0 win = 0", "Player 0 has Ace high ",
                      "Player 1 has Queen high "});
    bool callEvent = false;
    for (const CAction &action : m_game.m_actions)
        callEvent |= action.m_kind == 11 && action.m_seat == 0 && action.m_amount == 30;
    EXPECT_TRUE(callEvent);
    EXPECT_EQ(m_game.m_table.m_lastAction[0], 2);
    // Nobody can bet after the flop, so the preflop amount to call is still there to see.
    EXPECT_EQ(m_game.m_table.m_amountToCall, 100);
    EXPECT_EQ(TotalStacks(m_game.m_table), 2050);
}

TEST_F(BettingRules, DecisionsBeyondTheStackAreKeptWithinIt)
{
    ThreeHanded();
    m_decider.Add(1, 5000);
    m_decider.Add(2, -7); // a fold
    m_decider.Add(0, 0);
    Play(Items(m_seats), 1);

    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 3-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Tim_2: posts small blind 10\n"
                         "Hero_0: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Kd ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: raises 1000\n"
                         "Tim_2: folds\n"
                         "Hero_0: folds\n"
                         "Master_1 collected 1030 from pot \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: Ah Kd\n"
                         "Player 1: 2c 3c\n"
                         "Player 2: 7d 8d\n"
                         "Preflop start\n"
                         "Player 1 allin with bet 1000\n"
                         "Player 2 folds\n"
                         "Player 0 folds\n"
                         "Player 1 wins pot (1030)\n",
                     {"Preflop start", "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 1 allin with bet 1000", "Player 2 folds", "Player 0 folds",
                      "Player 1 wins pot (1030)"});
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
    for (int s = 0; s < 3; ++s)
        EXPECT_GE(m_game.m_table.m_stack[s], 0);
}

TEST_F(BettingRules, PostflopRoundsEndAfterEveryoneChecksOrTheLastRaiserIsReached)
{
    ThreeHanded();
    m_decider.Add(1, 20);
    m_decider.Add(2, 10);
    m_decider.Add(0, 0);
    m_decider.Add(2, 0); // flop: check, bet, raise, calls; back at the raiser it ends
    m_decider.Add(0, 30);
    m_decider.Add(1, 90);
    m_decider.Add(2, 90);
    m_decider.Add(0, 60);
    for (int street = 1; street < 3; ++street) { // turn and river: three checks each
        m_decider.Add(2, 0);
        m_decider.Add(0, 0);
        m_decider.Add(1, 0);
    }
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.m_asked.size(), 14u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 3-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Tim_2: posts small blind 10\n"
                         "Hero_0: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Kd ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: calls 20\n"
                         "Tim_2: calls 10\n"
                         "Hero_0: checks\n"
                         "*** FLOP *** [Qs Js 4h]\n"
                         "Tim_2: checks\n"
                         "Hero_0: raises 30\n"
                         "Master_1: raises 90\n"
                         "Tim_2: calls 90\n"
                         "Hero_0: calls 60\n"
                         "*** TURN *** [9c]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "*** RIVER *** [5s]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 330\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 0\n"
                         "Hero_0 has Ace high \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: Ah Kd\n"
                         "Player 1: 2c 3c\n"
                         "Player 2: 7d 8d\n"
                         "Preflop start\n"
                         "Player 1 calls for 20\n"
                         "Player 2 calls for 10\n"
                         "Player 0 checks\n"
                         "End of Preflop !\n"
                         "Flop: Qs Js 4h\n"
                         "Player 2 checks\n"
                         "Player 0 raises 30\n"
                         "Player 1 raises 90\n"
                         "Player 2 calls for 90\n"
                         "Player 0 calls for 60\n"
                         "End of Flop !\n"
                         "Turn: 9c\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "End of Turn !\n"
                         "River: 5s\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "End of River !\n"
                         "Player 0 = 130\n"
                         "Player 1 = 110\n"
                         "Player 2 = 110\n"
                         "After sort Player 0 = 130 win = 330\n"
                         "After sort Player 1 = 110 win = 0\n"
                         "After sort Player 2 = 111 win = 0\n"
                         "Player 0 has Ace high \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 1 calls for 20",
                      "Player 2 calls for 10",
                      "Player 0 checks",
                      "End of Preflop !",
                      "Flop: Qs Js 4h",
                      "Player 2 checks",
                      "Player 0 raises 30",
                      "Player 1 raises 90",
                      "Player 2 calls for 90",
                      "Player 0 calls for 60",
                      "End of Flop !",
                      "Turn: 9c",
                      "Player 2 checks",
                      "Player 0 checks",
                      "Player 1 checks",
                      "End of Turn !",
                      "River: 5s",
                      "Player 2 checks",
                      "Player 0 checks",
                      "Player 1 checks",
                      "End of River !",
                      "Player 0 = 130",
                      "Player 1 = 110",
                      "Player 2 = 110",
                      "After sort Player 0 = 130 win = 330",
                      "After sort Player 1 = 110 win = 0",
                      "After sort Player 2 = 111 win = 0",
                      "Player 0 has Ace high "});
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
}

TEST_F(BettingRules, AFoldBeforeACallLeavesTheLastSeatItsTurn)
{
    FourHanded({1000, 1000, 1000, 1000});
    m_decider.Add(2, 20); // preflop: everyone in for 20
    m_decider.Add(3, 20);
    m_decider.Add(0, 10);
    m_decider.Add(1, 0);
    m_decider.Add(0, 40); // flop: bet, fold, call, and the button still answers
    m_decider.Add(1, 0);
    m_decider.Add(2, 40);
    m_decider.Add(3, 0);
    for (int street = 1; street < 3; ++street) {
        m_decider.Add(0, 0);
        m_decider.Add(2, 0);
    }
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 4-max Seat #3 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Hero_0: posts small blind 10\n"
                         "Master_1: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Ad ]\n"
                         "*** HOLE CARDS ***\n"
                         "Tim_2: calls 20\n"
                         "Maniac_3: calls 20\n"
                         "Hero_0: calls 10\n"
                         "Master_1: checks\n"
                         "*** FLOP *** [3s 8c 9d]\n"
                         "Hero_0: raises 40\n"
                         "Master_1: folds\n"
                         "Tim_2: calls 40\n"
                         "Maniac_3: folds\n"
                         "*** TURN *** [Jc]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** RIVER *** [4h]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 160\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 0\n"
                         "Maniac_3 win 0\n"
                         "Hero_0 has Pair of Aces \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Player 0 is SB\n"
                         "Player 1 is BB\n"
                         "Player 0: Ah Ad\n"
                         "Player 1: Kh Kd\n"
                         "Player 2: 2c 7s\n"
                         "Player 3: Qh Qd\n"
                         "Preflop start\n"
                         "Player 2 calls for 20\n"
                         "Player 3 calls for 20\n"
                         "Player 0 calls for 10\n"
                         "Player 1 checks\n"
                         "End of Preflop !\n"
                         "Flop: 3s 8c 9d\n"
                         "Player 0 raises 40\n"
                         "Player 1 folds\n"
                         "Player 2 calls for 40\n"
                         "Player 3 folds\n"
                         "End of Flop !\n"
                         "Turn: Jc\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of Turn !\n"
                         "River: 4h\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of River !\n"
                         "Player 0 = 260\n"
                         "Player 2 = 100\n"
                         "After sort Player 0 = 260 win = 160\n"
                         "After sort Player 1 = 0 win = 0\n"
                         "After sort Player 2 = 100 win = 0\n"
                         "After sort Player 3 = 0 win = 0\n"
                         "Player 0 has Pair of Aces \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 3 is Maniac_3 with stack = 1000 in game\n",
                      "Player 2 calls for 20",
                      "Player 3 calls for 20",
                      "Player 0 calls for 10",
                      "Player 1 checks",
                      "End of Preflop !",
                      "Flop: 3s 8c 9d",
                      "Player 0 raises 40",
                      "Player 1 folds",
                      "Player 2 calls for 40",
                      "Player 3 folds",
                      "End of Flop !",
                      "Turn: Jc",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of Turn !",
                      "River: 4h",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of River !",
                      "Player 0 = 260",
                      "Player 2 = 100",
                      "After sort Player 0 = 260 win = 160",
                      "After sort Player 1 = 0 win = 0",
                      "After sort Player 2 = 100 win = 0",
                      "After sort Player 3 = 0 win = 0",
                      "Player 0 has Pair of Aces "});
    EXPECT_EQ(TotalStacks(m_game.m_table), 4000);
}

// ---- All-in seats are passed over and never end a round.

TEST_F(BettingRules, AllInSmallBlindDoesNotEndTheRoundBeforeTheBigBlindAnswers)
{
    // The small blind is all in with its blind; the big blind has 60 behind.
    FourHanded({10, 80, 1000, 1000});
    m_decider.Add(2, 0);
    m_decider.Add(3, 60); // the button raises to 60
    m_decider.Add(1, 40); // the big blind answers it
    m_decider.Add(1, 0);  // flop: the all-in small blind is passed over
    m_decider.Add(3, 100);
    m_decider.Add(1, 20); // all in for less
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 4-max Seat #3 is the button\n"
                         "Seat 0: Hero_0 (10 in chips)\n"
                         "Seat 1: Master_1 (80 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Hero_0: posts small blind 10\n"
                         "Master_1: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Ad ]\n"
                         "*** HOLE CARDS ***\n"
                         "Tim_2: folds\n"
                         "Maniac_3: raises 60\n"
                         "Master_1: calls 40\n"
                         "*** FLOP *** [3s 8c 9d]\n"
                         "Master_1: checks\n"
                         "Maniac_3: raises 100\n"
                         "Master_1: calls 20\n"
                         "*** TURN *** [Jc]\n"
                         "*** RIVER *** [4h]\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 30\n"
                         "Master_1 win 140\n"
                         "Tim_2 win 0\n"
                         "Maniac_3 win 80\n"
                         "Hero_0 has Pair of Aces \n"
                         "Master_1 has Pair of Kings \n"
                         "Maniac_3 has Pair of Queens \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (10 in chips)\n"
                         "Seat 1: Master_1 (80 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Player 0 is SB\n"
                         "Player 1 is BB\n"
                         "Player 0: Ah Ad\n"
                         "Player 1: Kh Kd\n"
                         "Player 2: 2c 7s\n"
                         "Player 3: Qh Qd\n"
                         "Preflop start\n"
                         "Player 2 folds\n"
                         "Player 3 raises 60\n"
                         "Player 1 calls for 40\n"
                         "End of Preflop !\n"
                         "Flop: 3s 8c 9d\n"
                         "Player 1 checks\n"
                         "Player 3 raises 100\n"
                         "Player 1 allin with bet 20\n"
                         "End of Flop !\n"
                         "Turn: Jc\n"
                         "River: 4h\n"
                         "Player 0 = 260\n"
                         "Player 1 = 250\n"
                         "Player 3 = 240\n"
                         "After sort Player 0 = 260 win = 30\n"
                         "After sort Player 1 = 250 win = 140\n"
                         "After sort Player 2 = 0 win = 0\n"
                         "After sort Player 3 = 240 win = 80\n"
                         "Player 0 has Pair of Aces \n"
                         "Player 1 has Pair of Kings \n"
                         "Player 3 has Pair of Queens \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 10 in game\n",
                      "Player 1 is Master_1 with stack = 80 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 3 is Maniac_3 with stack = 1000 in game\n",
                      "Player 2 folds",
                      "Player 3 raises 60",
                      "Player 1 calls for 40",
                      "End of Preflop !",
                      "Flop: 3s 8c 9d",
                      "Player 1 checks",
                      "Player 3 raises 100",
                      "Player 1 allin with bet 20",
                      "End of Flop !",
                      "Turn: Jc",
                      "River: 4h",
                      "Player 0 = 260",
                      "Player 1 = 250",
                      "Player 3 = 240",
                      "After sort Player 0 = 260 win = 30",
                      "After sort Player 1 = 250 win = 140",
                      "After sort Player 2 = 0 win = 0",
                      "After sort Player 3 = 240 win = 80",
                      "Player 0 has Pair of Aces ",
                      "Player 1 has Pair of Kings ",
                      "Player 3 has Pair of Queens "});
    EXPECT_EQ(TotalStacks(m_game.m_table), 2090);
}

TEST_F(BettingRules, SeatAllInWithItsAnteIsPassedOverOnEveryStreet)
{
    FourHanded({1500, 1500, 25, 1500}); // seat 2, first to act, has only its ante
    GameSetupItems items = Items(m_seats, 0, 0, 3);
    m_game.StartGame(items);
    AnteLevel();
    m_decider.Add(3, 200); // preflop: the button is asked
    m_decider.Add(0, 100);
    m_decider.Add(1, 0); // the big blind's option
    m_decider.Add(0, 0); // flop: check, check, and past seat 2 to the button
    m_decider.Add(1, 0);
    m_decider.Add(3, 400);
    m_decider.Add(0, 0);
    m_decider.Add(1, 0);
    Deal(1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 4-max Seat #3 is the button\n"
                         "Seat 0: Hero_0 (1500 in chips)\n"
                         "Seat 1: Master_1 (1500 in chips)\n"
                         "Seat 2: Tim_2 (25 in chips)\n"
                         "Seat 3: Maniac_3 (1500 in chips)\n"
                         "Hero_0: posts small blind 100\n"
                         "Master_1: posts big blind 200\n"
                         "Dealt to Hero_0 [ Ah Ad ]\n"
                         "*** HOLE CARDS ***\n"
                         "Maniac_3: calls 200\n"
                         "Hero_0: calls 100\n"
                         "Master_1: checks\n"
                         "*** FLOP *** [3s 8c 9d]\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "Maniac_3: raises 400\n"
                         "Hero_0: folds\n"
                         "Master_1: folds\n"
                         "*** TURN *** [Jc]\n"
                         "*** RIVER *** [4h]\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 0\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 0\n"
                         "Maniac_3 win 1100\n"
                         "Maniac_3 has Pair of Queens \n"
                         "Tim_2 lost all his money\n",
                     GameStartLog(m_seats) +
                         "Blinds 10/20\n"
                         "\n"
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1500 in chips)\n"
                         "Seat 1: Master_1 (1500 in chips)\n"
                         "Seat 2: Tim_2 (25 in chips)\n"
                         "Seat 3: Maniac_3 (1500 in chips)\n"
                         "Player 0 is SB\n"
                         "Player 1 is BB\n"
                         "Player 0: Ah Ad\n"
                         "Player 1: Kh Kd\n"
                         "Player 2: 2c 7s\n"
                         "Player 3: Qh Qd\n"
                         "Preflop start\n"
                         "Player 3 calls for 200\n"
                         "Player 0 calls for 100\n"
                         "Player 1 checks\n"
                         "End of Preflop !\n"
                         "Flop: 3s 8c 9d\n"
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "Player 3 raises 400\n"
                         "Player 0 folds\n"
                         "Player 1 folds\n"
                         "End of Flop !\n"
                         "Turn: Jc\n"
                         "River: 4h\n"
                         "Player 2 = 100\n"
                         "Player 3 = 240\n"
                         "After sort Player 0 = 0 win = 0\n"
                         "After sort Player 1 = 0 win = 0\n"
                         "After sort Player 2 = 100 win = 0\n"
                         "After sort Player 3 = 240 win = 1100\n"
                         "Player 3 has Pair of Queens \n"
                         "Player 2 lost all his money\n",
                     {"Blinds 10/20\n",
                      "Preflop start",
                      "Player 0 is Hero_0 with stack = 1500 in game\n",
                      "Player 1 is Master_1 with stack = 1500 in game\n",
                      "Player 2 is Tim_2 with stack = 25 in game\n",
                      "Player 3 is Maniac_3 with stack = 1500 in game\n",
                      "Player 3 calls for 200",
                      "Player 0 calls for 100",
                      "Player 1 checks",
                      "End of Preflop !",
                      "Flop: 3s 8c 9d",
                      "Player 0 checks",
                      "Player 1 checks",
                      "Player 3 raises 400",
                      "Player 0 folds",
                      "Player 1 folds",
                      "End of Flop !",
                      "Turn: Jc",
                      "River: 4h",
                      "Player 2 = 100",
                      "Player 3 = 240",
                      "After sort Player 0 = 0 win = 0",
                      "After sort Player 1 = 0 win = 0",
                      "After sort Player 2 = 100 win = 0",
                      "After sort Player 3 = 240 win = 1100",
                      "Player 3 has Pair of Queens ",
                      "Player 2 lost all his money",
                      // the tournament's place, in the pane only
                      "Tim_2 finishes 4th"});
    EXPECT_EQ(TotalStacks(m_game.m_table), 4525);
}

TEST_F(BettingRules, AllInBigBlindInTheMiddleLeavesTheSeatsAfterItTheirTurn)
{
    FourHanded({1000, 20, 1000, 1000}); // the big blind is all in with its blind
    m_decider.Add(2, 20);
    m_decider.Add(3, 20);
    m_decider.Add(0, 10);
    m_decider.Add(0, 40); // flop: a bet that the seats after the big blind answer
    m_decider.Add(2, 40);
    m_decider.Add(3, 0);
    for (int street = 1; street < 3; ++street) {
        m_decider.Add(0, 0);
        m_decider.Add(2, 0);
    }
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 4-max Seat #3 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (20 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Hero_0: posts small blind 10\n"
                         "Master_1: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Ad ]\n"
                         "*** HOLE CARDS ***\n"
                         "Tim_2: calls 20\n"
                         "Maniac_3: calls 20\n"
                         "Hero_0: calls 10\n"
                         "*** FLOP *** [3s 8c 9d]\n"
                         "Hero_0: raises 40\n"
                         "Tim_2: calls 40\n"
                         "Maniac_3: folds\n"
                         "*** TURN *** [Jc]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** RIVER *** [4h]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 160\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 0\n"
                         "Maniac_3 win 0\n"
                         "Hero_0 has Pair of Aces \n"
                         "Master_1 lost all his money\n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (20 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Player 0 is SB\n"
                         "Player 1 is BB\n"
                         "Player 0: Ah Ad\n"
                         "Player 1: Kh Kd\n"
                         "Player 2: 2c 7s\n"
                         "Player 3: Qh Qd\n"
                         "Preflop start\n"
                         "Player 2 calls for 20\n"
                         "Player 3 calls for 20\n"
                         "Player 0 calls for 10\n"
                         "End of Preflop !\n"
                         "Flop: 3s 8c 9d\n"
                         "Player 0 raises 40\n"
                         "Player 2 calls for 40\n"
                         "Player 3 folds\n"
                         "End of Flop !\n"
                         "Turn: Jc\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of Turn !\n"
                         "River: 4h\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of River !\n"
                         "Player 0 = 260\n"
                         "Player 1 = 250\n"
                         "Player 2 = 100\n"
                         "After sort Player 0 = 260 win = 160\n"
                         "After sort Player 1 = 250 win = 0\n"
                         "After sort Player 2 = 100 win = 0\n"
                         "After sort Player 3 = 0 win = 0\n"
                         "Player 0 has Pair of Aces \n"
                         "Player 1 lost all his money\n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 20 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 3 is Maniac_3 with stack = 1000 in game\n",
                      "Player 2 calls for 20",
                      "Player 3 calls for 20",
                      "Player 0 calls for 10",
                      "End of Preflop !",
                      "Flop: 3s 8c 9d",
                      "Player 0 raises 40",
                      "Player 2 calls for 40",
                      "Player 3 folds",
                      "End of Flop !",
                      "Turn: Jc",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of Turn !",
                      "River: 4h",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of River !",
                      "Player 0 = 260",
                      "Player 1 = 250",
                      "Player 2 = 100",
                      "After sort Player 0 = 260 win = 160",
                      "After sort Player 1 = 250 win = 0",
                      "After sort Player 2 = 100 win = 0",
                      "After sort Player 3 = 0 win = 0",
                      "Player 0 has Pair of Aces ",
                      "Player 1 lost all his money"});
    EXPECT_EQ(TotalStacks(m_game.m_table), 3020);
}

// ---- Antes are dead money: the amount to call is the larger blind.

TEST_F(BettingRules, AtAnAnteLevelTheBigBlindChecksBehindCalls)
{
    m_game.SetStackedDraws(
        Join({3, 5, 12}, Cards({"Ah", "2c", "7d", "Kd", "3c", "8d", "Qs", "Js", "4h"})));
    m_seats = {{"Hero", 1500}, {"Master", 1500}, {"Tim", 1500}}; // button 2
    GameSetupItems items = Items(m_seats, 0, 0, 3);
    m_game.StartGame(items);
    AnteLevel();
    m_decider.Add(2, 200); // the big blind, not the blind plus the ante
    m_decider.Add(0, 100);
    m_decider.Add(1, 0); // a check, and the round is over
    m_decider.Add(0, 300);
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    Deal(1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(
        GameStartHistory(m_seats) +
            "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
            "Table 'Game' 3-max Seat #2 is the button\n"
            "Seat 0: Hero_0 (1500 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (1500 in chips)\n"
            "Hero_0: posts small blind 100\n"
            "Master_1: posts big blind 200\n"
            "Dealt to Hero_0 [ Ah Kd ]\n"
            "*** HOLE CARDS ***\n"
            "Tim_2: calls 200\n"
            "Hero_0: calls 100\n"
            "Master_1: checks\n"
            "*** FLOP *** [Qs Js 4h]\n"
            "Hero_0: raises 300\n"
            "Master_1: folds\n"
            "Tim_2: folds\n"
            "Hero_0 collected 975 from pot \n",
        GameStartLog(m_seats) +
            "Blinds 10/20\n"
            "\n"
            "---------------------------------\n"
            "New game start !\n"
            "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
            "Seat 0: Hero_0 (1500 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (1500 in chips)\n"
            "Player 0 is SB\n"
            "Player 1 is BB\n"
            "Player 0: Ah Kd\n"
            "Player 1: 2c 3c\n"
            "Player 2: 7d 8d\n"
            "Preflop start\n"
            "Player 2 calls for 200\n"
            "Player 0 calls for 100\n"
            "Player 1 checks\n"
            "End of Preflop !\n"
            "Flop: Qs Js 4h\n"
            "Player 0 raises 300\n"
            "Player 1 folds\n"
            "Player 2 folds\n"
            "Player 0 wins pot (975)\n",
        {"Blinds 10/20\n", "Preflop start", "Player 0 is Hero_0 with stack = 1500 in game\n",
         "Player 1 is Master_1 with stack = 1500 in game\n",
         "Player 2 is Tim_2 with stack = 1500 in game\n", "Player 2 calls for 200",
         "Player 0 calls for 100", "Player 1 checks", "End of Preflop !", "Flop: Qs Js 4h",
         "Player 0 raises 300", "Player 1 folds", "Player 2 folds", "Player 0 wins pot (975)"});
    EXPECT_EQ(m_game.m_table.m_stack[1], 1275);
    EXPECT_EQ(TotalStacks(m_game.m_table), 4500);
}

TEST_F(BettingRules, ShortAllInCallLeavesTheBigBlindNothingToAnswer)
{
    m_game.SetStackedDraws(Join(
        {3, 5, 12}, Cards({"Ah", "Kh", "7d", "Ad", "Kd", "8d", "Qs", "Js", "4h", "9c", "2s"})));
    m_seats = {{"Hero", 1500}, {"Master", 1500}, {"Tim", 170}}; // button 2
    GameSetupItems items = Items(m_seats, 0, 0, 3);
    m_game.StartGame(items);
    AnteLevel();
    m_decider.Add(2, 145); // all in after the ante, short of the big blind
    m_decider.Add(0, 0);   // the small blind folds; the big blind owes nothing and is alone
    Deal(1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    EXPECT_EQ(m_decider.m_asked, (std::vector<int>{2, 0}));
    ExpectWholeTexts(
        GameStartHistory(m_seats) +
            "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
            "Table 'Game' 3-max Seat #2 is the button\n"
            "Seat 0: Hero_0 (1500 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (170 in chips)\n"
            "Hero_0: posts small blind 100\n"
            "Master_1: posts big blind 200\n"
            "Dealt to Hero_0 [ Ah Ad ]\n"
            "*** HOLE CARDS ***\n"
            "Tim_2: calls 145\n"
            "Hero_0: folds\n"
            "*** FLOP *** [Qs Js 4h]\n"
            "*** TURN *** [9c]\n"
            "*** RIVER *** [2s]\n"
            "*** SUMMARY ***\n"
            "Hero_0 win 0\n"
            "Master_1 win 520\n"
            "Tim_2 win 0\n"
            "Master_1 has Pair of Kings \n"
            "Tim_2 lost all his money\n",
        GameStartLog(m_seats) +
            "Blinds 10/20\n"
            "\n"
            "---------------------------------\n"
            "New game start !\n"
            "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
            "Seat 0: Hero_0 (1500 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (170 in chips)\n"
            "Player 0 is SB\n"
            "Player 1 is BB\n"
            "Player 0: Ah Ad\n"
            "Player 1: Kh Kd\n"
            "Player 2: 7d 8d\n"
            "Preflop start\n"
            "Player 2 allin with bet 145\n"
            "Player 0 folds\n"
            "End of Preflop !\n"
            "Flop: Qs Js 4h\n"
            "Turn: 9c\n"
            "River: 2s\n"
            "Player 1 = 250\n"
            "Player 2 = 110\n"
            "After sort Player 0 = 0 win = 0\n"
            "After sort Player 1 = 250 win = 520\n"
            "After sort Player 2 = 110 win = 0\n"
            "Player 1 has Pair of Kings \n"
            "Player 2 lost all his money\n",
        {"Blinds 10/20\n", "Preflop start", "Player 0 is Hero_0 with stack = 1500 in game\n",
         "Player 1 is Master_1 with stack = 1500 in game\n",
         "Player 2 is Tim_2 with stack = 170 in game\n", "Player 2 allin with bet 145",
         "Player 0 folds", "End of Preflop !", "Flop: Qs Js 4h", "Turn: 9c", "River: 2s",
         "Player 1 = 250", "Player 2 = 110", "After sort Player 0 = 0 win = 0",
         "After sort Player 1 = 250 win = 520", "After sort Player 2 = 110 win = 0",
         "Player 1 has Pair of Kings ", "Player 2 lost all his money", "Tim_2 finishes 3rd"});
    EXPECT_EQ(TotalStacks(m_game.m_table), 3170);
}
