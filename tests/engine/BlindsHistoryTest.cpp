// Blinds, antes, levels and the button, compared line for line with the whole hand history, game
// log and output pane: a level change in a tournament, heads-up order, a seat all in with its
// ante, the button of the first hand.
#include "tests/engine/EngineTestSupport.h"

using namespace enginetest;

class HandHistoryBlinds : public GameFixture
{
protected:
    std::vector<SeatSetup> m_seats = {{"Hero", 1000}, {"Master", 1000}, {"Tim", 1000}};
};

TEST_F(HandHistoryBlinds, BlindLevelChangeInATurboGame)
{
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Ah 2c 7d Kd 3c 8d 4h 5h 6h 4s 5s 6s"));
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

TEST_F(HandHistoryBlinds, HeadsUpBlindsAndOrderOfAction)
{
    // Seat 0 draws the high card and has the button: it posts the small blind and acts first
    // before the flop, the other seat first after it.
    m_game.SetStackedDraws(Draws(kButtonOnSeat0Of2, "Ah Kc Ad Kd 2s 7h 9d Jc 3c " // hand 1
                                                    "5c 6c 5d 6d"));              // hand 2
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

TEST_F(HandHistoryBlinds, SeatAllInWithTheAntePostsABlindOfZero)
{
    // Seat 2 draws the high card: seat 0 posts the small blind, seat 1 (25 chips, all in with
    // the ante) the big blind.
    m_game.SetStackedDraws(Draws(kButtonOnSeat2Of3, "Kh Ah Qh Ks As Qs 2c 7d 9s Jd 3h"));
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

TEST_F(HandHistoryBlinds, FirstHandAfterStartDealKeepsTheDrawnButton)
{
    // Seat 3 draws the king of clubs, the highest value.
    m_game.SetStackedDraws(Draws({4, 0, 9, 11}, "Ah Kh Qh Jh Ad Kd Qd Jd "   // hand 1
                                                "2c 3c 4c 5c 2d 3d 4d 5d")); // hand 2
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
