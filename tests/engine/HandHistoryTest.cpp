// How hands end, compared line for line with the whole hand history, game log and output pane:
// won by folds, split at a showdown, side pots.
#include "tests/engine/EngineTestSupport.h"

using namespace enginetest;

class HandHistory : public GameFixture
{
protected:
    std::vector<SeatSetup> m_seats = {{"Hero", 1000}, {"Master", 1000}, {"Tim", 1000}};
};

TEST_F(HandHistory, WonByFoldsBeforeTheFlop)
{
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Ah 2c 7d Kd 3c 8d"));
    m_decider.Add(1, 0); // button folds
    m_decider.Add(2, 0); // small blind folds
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
                         "Master_1: folds\n"
                         "Tim_2: folds\n"
                         "Hero_0 collected 30 from pot \n",
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
                         "Player 1 folds\n"
                         "Player 2 folds\n"
                         "Player 0 wins pot (30)\n",
                     {"Preflop start", "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n", "Player 1 folds",
                      "Player 2 folds", "Player 0 wins pot (30)"});
    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_game.m_table.m_stack[0], 1010);
    EXPECT_EQ(m_game.m_table.m_stack[2], 990);
    EXPECT_EQ(m_program.m_closeCount, 1);
}

TEST_F(HandHistory, WonByFoldsOnTheTurn)
{
    // The big blind's check at its option ends the first round.
    Play(testsupport::WonByFoldsOnTheTurn());

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
                         "Hero_0: checks\n"
                         "*** FLOP *** [Qs Js 4h]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "Master_1: checks\n"
                         "*** TURN *** [9c]\n"
                         "Tim_2: raises 40\n"
                         "Hero_0: folds\n"
                         "Master_1: folds\n"
                         "Tim_2 collected 100 from pot \n",
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
                         "Player 0 checks\n"
                         "Player 1 checks\n"
                         "End of Flop !\n"
                         "Turn: 9c\n"
                         "Player 2 raises 40\n"
                         "Player 0 folds\n"
                         "Player 1 folds\n"
                         "Player 2 wins pot (100)\n",
                     {"Preflop start", "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n", "Player 1 calls for 20",
                      "Player 2 calls for 10", "Player 0 checks", "End of Preflop !",
                      "Flop: Qs Js 4h", "Player 2 checks", "Player 0 checks", "Player 1 checks",
                      "End of Flop !", "Turn: 9c", "Player 2 raises 40", "Player 0 folds",
                      "Player 1 folds", "Player 2 wins pot (100)"});
    EXPECT_EQ(m_game.m_table.m_stack[2], 1040);
    EXPECT_EQ(m_game.m_table.m_stack[0], 980);
    EXPECT_EQ(m_game.m_table.m_stack[1], 980);
    // One hand end, counted once in the statistics.
    int handEnds = 0;
    for (const CAction &action : m_game.m_actions)
        handEnds += action.m_kind == 2 ? 1 : 0;
    EXPECT_EQ(handEnds, 1);
    EXPECT_EQ(m_game.m_table.m_players[2].m_stat.m_hands, 1);
    EXPECT_EQ(m_game.m_actions.back().m_kind, 2);
    EXPECT_EQ(m_game.m_actions[m_game.m_actions.size() - 2].m_kind, 17);
}

TEST_F(HandHistory, ShowdownWithASplitPot)
{
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "2c 7h 4c 3d 8h 5d As Ks Qs Js Ts"));
    m_decider.Add(1, 0);  // button folds
    m_decider.Add(2, 10); // small blind completes
    m_decider.Add(0, 0);  // option: check
    for (int street = 0; street < 3; ++street) {
        m_decider.Add(2, 0);
        m_decider.Add(0, 0);
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
                         "Dealt to Hero_0 [ 2c 3d ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: folds\n"
                         "Tim_2: calls 10\n"
                         "Hero_0: checks\n"
                         "*** FLOP *** [As Ks Qs]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "*** TURN *** [Js]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "*** RIVER *** [Ts]\n"
                         "Tim_2: checks\n"
                         "Hero_0: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 20\n"
                         "Master_1 win 0\n"
                         "Tim_2 win 20\n"
                         "Hero_0 has Royal flush \n"
                         "Tim_2 has Royal flush \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: 2c 3d\n"
                         "Player 1: 7h 8h\n"
                         "Player 2: 4c 5d\n"
                         "Preflop start\n"
                         "Player 1 folds\n"
                         "Player 2 calls for 10\n"
                         "Player 0 checks\n"
                         "End of Preflop !\n"
                         "Flop: As Ks Qs\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "End of Flop !\n"
                         "Turn: Js\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "End of Turn !\n"
                         "River: Ts\n"
                         "Player 2 checks\n"
                         "Player 0 checks\n"
                         "End of River !\n"
                         "Player 0 = 330\n"
                         "Player 2 = 330\n"
                         "After sort Player 0 = 331 win = 20\n"
                         "After sort Player 1 = 0 win = 0\n"
                         "After sort Player 2 = 331 win = 20\n"
                         "Player 0 has Royal flush \n"
                         "Player 2 has Royal flush \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 1 folds",
                      "Player 2 calls for 10",
                      "Player 0 checks",
                      "End of Preflop !",
                      "Flop: As Ks Qs",
                      "Player 2 checks",
                      "Player 0 checks",
                      "End of Flop !",
                      "Turn: Js",
                      "Player 2 checks",
                      "Player 0 checks",
                      "End of Turn !",
                      "River: Ts",
                      "Player 2 checks",
                      "Player 0 checks",
                      "End of River !",
                      "Player 0 = 330",
                      "Player 2 = 330",
                      "After sort Player 0 = 331 win = 20",
                      "After sort Player 1 = 0 win = 0",
                      "After sort Player 2 = 331 win = 20",
                      "Player 0 has Royal flush ",
                      "Player 2 has Royal flush "});
    EXPECT_EQ(m_game.m_table.m_stack[0], 1000);
    EXPECT_EQ(m_game.m_table.m_stack[1], 1000);
    EXPECT_EQ(m_game.m_table.m_stack[2], 1000);
    EXPECT_EQ(m_game.m_playerRects[0].m_revealCards, 1);
    EXPECT_EQ(m_game.m_playerRects[0].m_winText, L"I win 20!");
}

TEST_F(HandHistory, ThreeWayAllInWithTwoSidePots)
{
    // Seat 3 covers everyone; the button draw gives the button to seat 1.
    m_game.SetStackedDraws(Draws({5, 12, 3, 1}, "Ah Kh Qh 8c Ad Kd Qd 4d 2s 5h 9d Jc 3c"));
    m_decider.Add(0, 100); // all in
    m_decider.Add(1, 200); // all in
    m_decider.Add(2, 290); // small blind all in
    m_decider.Add(3, 280); // big blind calls
    m_seats = {{"Hero", 100}, {"Master", 200}, {"Tim", 300}, {"Maniac", 1000}};
    Play(Items(m_seats), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 4-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (100 in chips)\n"
                         "Seat 1: Master_1 (200 in chips)\n"
                         "Seat 2: Tim_2 (300 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Tim_2: posts small blind 10\n"
                         "Maniac_3: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Ad ]\n"
                         "*** HOLE CARDS ***\n"
                         "Hero_0: raises 100\n"
                         "Master_1: raises 200\n"
                         "Tim_2: raises 290\n"
                         "Maniac_3: calls 280\n"
                         "*** FLOP *** [2s 5h 9d]\n"
                         "*** TURN *** [Jc]\n"
                         "*** RIVER *** [3c]\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 400\n"
                         "Master_1 win 300\n"
                         "Tim_2 win 200\n"
                         "Maniac_3 win 0\n"
                         "Hero_0 has Pair of Aces \n"
                         "Master_1 has Pair of Kings \n"
                         "Tim_2 has Pair of Queens \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (100 in chips)\n"
                         "Seat 1: Master_1 (200 in chips)\n"
                         "Seat 2: Tim_2 (300 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Player 2 is SB\n"
                         "Player 3 is BB\n"
                         "Player 0: Ah Ad\n"
                         "Player 1: Kh Kd\n"
                         "Player 2: Qh Qd\n"
                         "Player 3: 8c 4d\n"
                         "Preflop start\n"
                         "Player 0 allin with bet 100\n"
                         "Player 1 allin with bet 200\n"
                         "Player 2 allin with bet 290\n"
                         "Player 3 calls for 280\n"
                         "End of Preflop !\n"
                         "Flop: 2s 5h 9d\n"
                         "Turn: Jc\n"
                         "River: 3c\n"
                         "Player 0 = 260\n"
                         "Player 1 = 250\n"
                         "Player 2 = 240\n"
                         "Player 3 = 100\n"
                         "After sort Player 0 = 260 win = 400\n"
                         "After sort Player 1 = 250 win = 300\n"
                         "After sort Player 2 = 240 win = 200\n"
                         "After sort Player 3 = 100 win = 0\n"
                         "Player 0 has Pair of Aces \n"
                         "Player 1 has Pair of Kings \n"
                         "Player 2 has Pair of Queens \n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 100 in game\n",
                      "Player 1 is Master_1 with stack = 200 in game\n",
                      "Player 2 is Tim_2 with stack = 300 in game\n",
                      "Player 3 is Maniac_3 with stack = 1000 in game\n",
                      "Player 0 allin with bet 100",
                      "Player 1 allin with bet 200",
                      "Player 2 allin with bet 290",
                      "Player 3 calls for 280",
                      "End of Preflop !",
                      "Flop: 2s 5h 9d",
                      "Turn: Jc",
                      "River: 3c",
                      "Player 0 = 260",
                      "Player 1 = 250",
                      "Player 2 = 240",
                      "Player 3 = 100",
                      "After sort Player 0 = 260 win = 400",
                      "After sort Player 1 = 250 win = 300",
                      "After sort Player 2 = 240 win = 200",
                      "After sort Player 3 = 100 win = 0",
                      "Player 0 has Pair of Aces ",
                      "Player 1 has Pair of Kings ",
                      "Player 2 has Pair of Queens "});
    const CGameTable &t = m_game.m_table;
    EXPECT_EQ(t.m_stack[0] + t.m_stack[1] + t.m_stack[2] + t.m_stack[3], 1600);
    EXPECT_EQ(t.m_stack[3], 700);
}
