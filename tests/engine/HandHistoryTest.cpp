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

    ExpectWholeTexts();
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
    ExpectWholeTexts();
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
    ExpectWholeTexts();
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
    ExpectWholeTexts();
    const CGameTable &t = m_game.m_table;
    EXPECT_EQ(t.m_stack[0] + t.m_stack[1] + t.m_stack[2] + t.m_stack[3], 1600);
    EXPECT_EQ(t.m_stack[3], 700);
}
