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
    ExpectWholeTexts();
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
    ExpectWholeTexts();
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
    ExpectWholeTexts();
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

    ExpectWholeTexts();
    EXPECT_EQ(m_game.m_table.m_button, 0);
    // The first to act sits after the blinds of the drawn button.
    EXPECT_EQ(m_decider.m_asked.front(), 2);
}
