// Scripted hands compared line for line with the whole hand history, game log and output pane.
#include "tests/engine/EngineTestSupport.h"

using namespace enginetest;

class HandHistory : public GameFixture
{
protected:
    // Three seats, 1000 each, blinds 10/20; the draw gives the button to seat 1.
    void ThreeHanded(std::vector<int> deal)
    {
        std::vector<int> draws = {5, 12, 3};
        draws.insert(draws.end(), deal.begin(), deal.end());
        m_game.SetStackedDraws(draws);
    }
    std::vector<SeatSetup> m_seats = {{"Hero", 1000}, {"Master", 1000}, {"Tim", 1000}};
};

TEST_F(HandHistory, WonByFoldsBeforeTheFlop)
{
    ThreeHanded(Cards({"Ah", "2c", "7d", "Kd", "3c", "8d"}));
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
    ThreeHanded(Cards({"Ah", "2c", "7d", "Kd", "3c", "8d", "Qs", "Js", "4h", "9c"}));
    m_decider.Add(1, 20); // button calls
    m_decider.Add(2, 10); // small blind completes
    m_decider.Add(0, 0);  // big blind checks: the option ends the round
    m_decider.Add(2, 0);  // flop: three checks
    m_decider.Add(0, 0);
    m_decider.Add(1, 0);
    m_decider.Add(2, 40); // turn: bet, two folds
    m_decider.Add(0, 0);
    m_decider.Add(1, 0);
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
    ThreeHanded(Cards({"2c", "7h", "4c", "3d", "8h", "5d", "As", "Ks", "Qs", "Js", "Ts"}));
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
    std::vector<int> draws = {5, 12, 3, 1};
    const auto deal =
        Cards({"Ah", "Kh", "Qh", "8c", "Ad", "Kd", "Qd", "4d", "2s", "5h", "9d", "Jc", "3c"});
    draws.insert(draws.end(), deal.begin(), deal.end());
    m_game.SetStackedDraws(draws);
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

TEST_F(HandHistory, BlindLevelChangeInATurboGame)
{
    ThreeHanded(Cards({"Ah", "2c", "7d", "Kd", "3c", "8d", "4h", "5h", "6h", "4s", "5s", "6s"}));
    m_decider.Add(1, 0); // hand 1: folds to the big blind
    m_decider.Add(2, 0);
    m_decider.Add(2, 0); // hand 2: folds to the big blind
    m_decider.Add(0, 0);
    m_handsToPlay = 2;
    m_game.m_onHandEnd = [this](CDunmereGame &game) {
        m_now += 301; // one second more than a five-minute level
        if (++m_handsPlayed >= m_handsToPlay)
            game.m_stopRequested = true;
    };
    m_seats = {{"Hero", 1500}, {"Master", 1500}, {"Tim", 1500}};
    GameSetupItems items = Items(m_seats, 0, 0, 4);
    m_game.StartGame(items);
    m_game.StartDeal();
    m_game.WaitForGameEnd();

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    ExpectWholeTexts(
        GameStartHistory(m_seats) +
            "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
            "Table 'Game' 3-max Seat #1 is the button\n"
            "Seat 0: Hero_0 (1500 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (1500 in chips)\n"
            "Tim_2: posts small blind 10\n"
            "Hero_0: posts big blind 20\n"
            "Dealt to Hero_0 [ Ah Kd ]\n"
            "*** HOLE CARDS ***\n"
            "Master_1: folds\n"
            "Tim_2: folds\n"
            "Hero_0 collected 30 from pot \n"
            "\n"
            "\n"
            "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:18:21\n"
            "Table 'Game' 3-max Seat #2 is the button\n"
            "Seat 0: Hero_0 (1510 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (1490 in chips)\n"
            "Hero_0: posts small blind 15\n"
            "Master_1: posts big blind 30\n"
            "Dealt to Hero_0 [ 4h 4s ]\n"
            "*** HOLE CARDS ***\n"
            "Tim_2: folds\n"
            "Hero_0: folds\n"
            "Master_1 collected 45 from pot \n",
        GameStartLog(m_seats) +
            "Blinds 10/20\n"
            "\n"
            "---------------------------------\n"
            "New game start !\n"
            "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
            "Seat 0: Hero_0 (1500 in chips)\n"
            "Seat 1: Master_1 (1500 in chips)\n"
            "Seat 2: Tim_2 (1500 in chips)\n"
            "Player 2 is SB\n"
            "Player 0 is BB\n"
            "Player 0: Ah Kd\n"
            "Player 1: 2c 3c\n"
            "Player 2: 7d 8d\n"
            "Preflop start\n"
            "Player 1 folds\n"
            "Player 2 folds\n"
            "Player 0 wins pot (30)\n"
            "---------------------------------\n"
            "New game start !\n"
            "\n"
            "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:18:21 \n"
            "Player 2 is on button\n"
            "Blinds 15/30 ante 0\n"
            "\n"
            "Player 0 is SB\n"
            "Player 1 is BB\n"
            "Player 0: 4h 4s\n"
            "Player 1: 5h 5s\n"
            "Player 2: 6h 6s\n"
            "Preflop start\n"
            "Player 2 folds\n"
            "Player 0 folds\n"
            "Player 1 wins pot (45)\n",
        {"Blinds 10/20\n", "Preflop start", "Player 0 is Hero_0 with stack = 1500 in game\n",
         "Player 1 is Master_1 with stack = 1500 in game\n",
         "Player 2 is Tim_2 with stack = 1500 in game\n", "Player 1 folds", "Player 2 folds",
         "Player 0 wins pot (30)", "---------------------------------", "New game start !",
         "Blinds 15/30 ante 0\n", "Preflop start", "Player 0 is Hero_0 with stack = 1510 in game\n",
         "Player 1 is Master_1 with stack = 1500 in game\n",
         "Player 2 is Tim_2 with stack = 1490 in game\n", "Player 2 folds", "Player 0 folds",
         "Player 1 wins pot (45)"});
    EXPECT_EQ(m_game.m_levelIndex, 1);
}

TEST_F(HandHistory, HeadsUpBlindsAndOrderOfAction)
{
    // Seat 0 draws the high card and has the button: it posts the small blind and acts first
    // before the flop, the other seat first after it.
    std::vector<int> draws = {12, 5};
    const auto deal = Cards({"Ah", "Kc", "Ad", "Kd", "2s", "7h", "9d", "Jc", "3c", // hand 1
                             "5c", "6c", "5d", "6d"});                             // hand 2
    draws.insert(draws.end(), deal.begin(), deal.end());
    m_game.SetStackedDraws(draws);
    m_decider.Add(0, 10); // button, small blind: completes
    m_decider.Add(1, 0);  // big blind: checks its option
    m_decider.Add(1, 0);  // flop
    m_decider.Add(0, 0);
    m_decider.Add(1, 20); // turn
    m_decider.Add(0, 20);
    m_decider.Add(1, 0); // river
    m_decider.Add(0, 0);
    m_decider.Add(1, 0); // hand 2: seat 1 has the button and the small blind and folds
    m_seats = {{"Hero", 1000}, {"Master", 1000}};
    Play(Items(m_seats), 2);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 2-max Seat #0 is the button\n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Hero_0: posts small blind 10\n"
                         "Master_1: posts big blind 20\n"
                         "Dealt to Hero_0 [ Ah Ad ]\n"
                         "*** HOLE CARDS ***\n"
                         "Hero_0: calls 10\n"
                         "Master_1: checks\n"
                         "*** FLOP *** [2s 7h 9d]\n"
                         "Master_1: checks\n"
                         "Hero_0: checks\n"
                         "*** TURN *** [Jc]\n"
                         "Master_1: raises 20\n"
                         "Hero_0: calls 20\n"
                         "*** RIVER *** [3c]\n"
                         "Master_1: checks\n"
                         "Hero_0: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 80\n"
                         "Master_1 win 0\n"
                         "Hero_0 has Pair of Aces \n"
                         "\n"
                         "\n"
                         "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:13:20\n"
                         "Table 'Game' 2-max Seat #1 is the button\n"
                         "Seat 0: Hero_0 (1040 in chips)\n"
                         "Seat 1: Master_1 (960 in chips)\n"
                         "Master_1: posts small blind 10\n"
                         "Hero_0: posts big blind 20\n"
                         "Dealt to Hero_0 [ 5c 5d ]\n"
                         "*** HOLE CARDS ***\n"
                         "Master_1: folds\n"
                         "Hero_0 collected 30 from pot \n",
                     GameStartLog(m_seats) +
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1000 in chips)\n"
                         "Seat 1: Master_1 (1000 in chips)\n"
                         "Player 0 is SB\n"
                         "Player 1 is BB\n"
                         "Player 0: Ah Ad\n"
                         "Player 1: Kc Kd\n"
                         "Preflop start\n"
                         "Player 0 calls for 10\n"
                         "Player 1 checks\n"
                         "End of Preflop !\n"
                         "Flop: 2s 7h 9d\n"
                         "Player 1 checks\n"
                         "Player 0 checks\n"
                         "End of Flop !\n"
                         "Turn: Jc\n"
                         "Player 1 raises 20\n"
                         "Player 0 calls for 20\n"
                         "End of Turn !\n"
                         "River: 3c\n"
                         "Player 1 checks\n"
                         "Player 0 checks\n"
                         "End of River !\n"
                         "Player 0 = 260\n"
                         "Player 1 = 250\n"
                         "After sort Player 0 = 260 win = 80\n"
                         "After sort Player 1 = 250 win = 0\n"
                         "Player 0 has Pair of Aces \n"
                         "---------------------------------\n"
                         "New game start !\n"
                         "\n"
                         "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Player 1 is on button\n"
                         "Player 1 is SB\n"
                         "Player 0 is BB\n"
                         "Player 0: 5c 5d\n"
                         "Player 1: 6c 6d\n"
                         "Preflop start\n"
                         "Player 1 folds\n"
                         "Player 0 wins pot (30)\n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 0 calls for 10",
                      "Player 1 checks",
                      "End of Preflop !",
                      "Flop: 2s 7h 9d",
                      "Player 1 checks",
                      "Player 0 checks",
                      "End of Flop !",
                      "Turn: Jc",
                      "Player 1 raises 20",
                      "Player 0 calls for 20",
                      "End of Turn !",
                      "River: 3c",
                      "Player 1 checks",
                      "Player 0 checks",
                      "End of River !",
                      "Player 0 = 260",
                      "Player 1 = 250",
                      "After sort Player 0 = 260 win = 80",
                      "After sort Player 1 = 250 win = 0",
                      "Player 0 has Pair of Aces ",
                      "---------------------------------",
                      "New game start !",
                      "Preflop start",
                      "Player 0 is Hero_0 with stack = 1040 in game\n",
                      "Player 1 is Master_1 with stack = 960 in game\n",
                      "Player 1 folds",
                      "Player 0 wins pot (30)"});
    // The river of the first hand is gone when the second hand is decided.
    EXPECT_EQ(m_decider.m_preflopBoards, (std::vector<int>{0, 0, 0}));
}

TEST_F(HandHistory, SeatAllInWithTheAntePostsABlindOfZero)
{
    // Seat 2 draws the high card: seat 0 posts the small blind, seat 1 (25 chips, all in with
    // the ante) the big blind.
    std::vector<int> draws = {3, 5, 12};
    const auto deal = Cards({"Kh", "Ah", "Qh", "Ks", "As", "Qs", "2c", "7d", "9s", "Jd", "3h"});
    draws.insert(draws.end(), deal.begin(), deal.end());
    m_game.SetStackedDraws(draws);
    m_seats = {{"Hero", 1500}, {"Master", 25}, {"Tim", 1500}};
    GameSetupItems items = Items(m_seats, 0, 0, 3);
    m_game.StartGame(items);
    AnteLevel();
    // The larger blind posted is the small blind's 100, so that is what is owed, and the small
    // blind, which has not acted yet, has its say.
    m_decider.Add(2, 100);
    m_decider.Add(0, 0);
    for (int street = 0; street < 3; ++street) { // past the all-in seat on every street
        m_decider.Add(0, 0);
        m_decider.Add(2, 0);
    }
    Deal(1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_decider.Remaining(), 0u);
    ExpectWholeTexts(GameStartHistory(m_seats) +
                         "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
                         "Table 'Game' 3-max Seat #2 is the button\n"
                         "Seat 0: Hero_0 (1500 in chips)\n"
                         "Seat 1: Master_1 (25 in chips)\n"
                         "Seat 2: Tim_2 (1500 in chips)\n"
                         "Hero_0: posts small blind 100\n"
                         "Master_1: posts big blind 0\n"
                         "Dealt to Hero_0 [ Kh Ks ]\n"
                         "*** HOLE CARDS ***\n"
                         "Tim_2: calls 100\n"
                         "Hero_0: checks\n"
                         "*** FLOP *** [2c 7d 9s]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** TURN *** [Jd]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** RIVER *** [3h]\n"
                         "Hero_0: checks\n"
                         "Tim_2: checks\n"
                         "*** SUMMARY ***\n"
                         "Hero_0 win 200\n"
                         "Master_1 win 75\n"
                         "Tim_2 win 0\n"
                         "Hero_0 has Pair of Kings \n"
                         "Master_1 has Pair of Aces \n",
                     GameStartLog(m_seats) +
                         "Blinds 10/20\n"
                         "\n"
                         "---------------------------------\n"
                         "New game start !\n"
                         "Ostrivane Hand #1: Hold'em No Limit (100/200) - 2023.11.14  22:13:20 \n"
                         "Seat 0: Hero_0 (1500 in chips)\n"
                         "Seat 1: Master_1 (25 in chips)\n"
                         "Seat 2: Tim_2 (1500 in chips)\n"
                         "Player 0 is SB\n"
                         "Player 1 is BB\n"
                         "Player 0: Kh Ks\n"
                         "Player 1: Ah As\n"
                         "Player 2: Qh Qs\n"
                         "Preflop start\n"
                         "Player 2 calls for 100\n"
                         "Player 0 checks\n"
                         "End of Preflop !\n"
                         "Flop: 2c 7d 9s\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of Flop !\n"
                         "Turn: Jd\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of Turn !\n"
                         "River: 3h\n"
                         "Player 0 checks\n"
                         "Player 2 checks\n"
                         "End of River !\n"
                         "Player 0 = 250\n"
                         "Player 1 = 260\n"
                         "Player 2 = 240\n"
                         "After sort Player 0 = 250 win = 200\n"
                         "After sort Player 1 = 260 win = 75\n"
                         "After sort Player 2 = 240 win = 0\n"
                         "Player 0 has Pair of Kings \n"
                         "Player 1 has Pair of Aces \n",
                     {"Blinds 10/20\n",
                      "Preflop start",
                      "Player 0 is Hero_0 with stack = 1500 in game\n",
                      "Player 1 is Master_1 with stack = 25 in game\n",
                      "Player 2 is Tim_2 with stack = 1500 in game\n",
                      "Player 2 calls for 100",
                      "Player 0 checks",
                      "End of Preflop !",
                      "Flop: 2c 7d 9s",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of Flop !",
                      "Turn: Jd",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of Turn !",
                      "River: 3h",
                      "Player 0 checks",
                      "Player 2 checks",
                      "End of River !",
                      "Player 0 = 250",
                      "Player 1 = 260",
                      "Player 2 = 240",
                      "After sort Player 0 = 250 win = 200",
                      "After sort Player 1 = 260 win = 75",
                      "After sort Player 2 = 240 win = 0",
                      "Player 0 has Pair of Kings ",
                      "Player 1 has Pair of Aces "});
    const CGameTable &t = m_game.m_table;
    EXPECT_EQ(t.m_stack[0], 1575);
    EXPECT_EQ(t.m_stack[1], 75);
    EXPECT_EQ(t.m_stack[2], 1375);
    // The blind events carry the seat's whole stake, ante included.
    bool sawSmall = false;
    bool sawBig = false;
    for (const CAction &action : m_game.m_actions) {
        if (action.m_kind == 7) {
            sawSmall = true;
            EXPECT_EQ(action.m_amount, 125);
        }
        if (action.m_kind == 8) {
            sawBig = true;
            EXPECT_EQ(action.m_seat, 1);
            EXPECT_EQ(action.m_amount, 25);
        }
    }
    EXPECT_TRUE(sawSmall && sawBig);
}

TEST_F(HandHistory, FirstHandAfterStartDealKeepsTheDrawnButton)
{
    // Seat 3 draws the king of clubs, the highest value.
    std::vector<int> draws = {4, 0, 9, 11};
    const auto deal = Cards({"Ah", "Kh", "Qh", "Jh", "Ad", "Kd", "Qd", "Jd",   // hand 1
                             "2c", "3c", "4c", "5c", "2d", "3d", "4d", "5d"}); // hand 2
    draws.insert(draws.end(), deal.begin(), deal.end());
    m_game.SetStackedDraws(draws);
    m_decider.Add(2, 0); // hand 1: button 3, blinds 0 and 1, seat 2 first
    m_decider.Add(3, 0);
    m_decider.Add(0, 0);
    m_decider.Add(3, 0); // hand 2: button 0, blinds 1 and 2, seat 3 first
    m_decider.Add(0, 0);
    m_decider.Add(1, 0);
    m_seats = {{"Hero", 1000}, {"Master", 1000}, {"Tim", 1000}, {"Maniac", 1000}};
    Play(Items(m_seats), 2);

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
                         "Tim_2: folds\n"
                         "Maniac_3: folds\n"
                         "Hero_0: folds\n"
                         "Master_1 collected 30 from pot \n"
                         "\n"
                         "\n"
                         "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:13:20\n"
                         "Table 'Game' 4-max Seat #0 is the button\n"
                         "Seat 0: Hero_0 (990 in chips)\n"
                         "Seat 1: Master_1 (1010 in chips)\n"
                         "Seat 2: Tim_2 (1000 in chips)\n"
                         "Seat 3: Maniac_3 (1000 in chips)\n"
                         "Master_1: posts small blind 10\n"
                         "Tim_2: posts big blind 20\n"
                         "Dealt to Hero_0 [ 2c 2d ]\n"
                         "*** HOLE CARDS ***\n"
                         "Maniac_3: folds\n"
                         "Hero_0: folds\n"
                         "Master_1: folds\n"
                         "Tim_2 collected 30 from pot \n",
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
                         "Player 2: Qh Qd\n"
                         "Player 3: Jh Jd\n"
                         "Preflop start\n"
                         "Player 2 folds\n"
                         "Player 3 folds\n"
                         "Player 0 folds\n"
                         "Player 1 wins pot (30)\n"
                         "---------------------------------\n"
                         "New game start !\n"
                         "\n"
                         "Ostrivane Hand #2: Hold'em No Limit (10/20) - 2023.11.14  22:13:20 \n"
                         "Player 0 is on button\n"
                         "Player 1 is SB\n"
                         "Player 2 is BB\n"
                         "Player 0: 2c 2d\n"
                         "Player 1: 3c 3d\n"
                         "Player 2: 4c 4d\n"
                         "Player 3: 5c 5d\n"
                         "Preflop start\n"
                         "Player 3 folds\n"
                         "Player 0 folds\n"
                         "Player 1 folds\n"
                         "Player 2 wins pot (30)\n",
                     {"Preflop start",
                      "Player 0 is Hero_0 with stack = 1000 in game\n",
                      "Player 1 is Master_1 with stack = 1000 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 3 is Maniac_3 with stack = 1000 in game\n",
                      "Player 2 folds",
                      "Player 3 folds",
                      "Player 0 folds",
                      "Player 1 wins pot (30)",
                      "---------------------------------",
                      "New game start !",
                      "Preflop start",
                      "Player 0 is Hero_0 with stack = 990 in game\n",
                      "Player 1 is Master_1 with stack = 1010 in game\n",
                      "Player 2 is Tim_2 with stack = 1000 in game\n",
                      "Player 3 is Maniac_3 with stack = 1000 in game\n",
                      "Player 3 folds",
                      "Player 0 folds",
                      "Player 1 folds",
                      "Player 2 wins pot (30)"});
    EXPECT_EQ(m_game.m_table.m_button, 0);
    // The first to act sits after the blinds of the drawn button.
    EXPECT_EQ(m_decider.m_asked.front(), 2);
}
