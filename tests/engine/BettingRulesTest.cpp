// How decisions are booked and when a betting round ends.
#include "EngineTestSupport.h"

using namespace enginetest;

namespace {

int TotalStacks(const CGameTable &t)
{
    int total = 0;
    for (int s = 0; s < t.m_seatCount; ++s)
        total += t.m_stack[s];
    return total;
}

} // namespace

class BettingRules : public GameFixture
{
protected:
    // Three seats of 1000, blinds 10/20: button 1, small blind 2, big blind 0.
    void ThreeHanded(std::vector<int> stacks = {1000, 1000, 1000})
    {
        m_game.SetStackedDraws({5, 12, 3});
        m_items = Items({"Hero", "Master", "Tim"}, std::move(stacks));
    }
    GameSetupItems m_items;
};

TEST_F(BettingRules, BigBlindRaisingItsOptionReopensTheRound)
{
    ThreeHanded();
    m_decider.Add(1, 20);
    m_decider.Add(2, 10);
    m_decider.Add(0, 40); // raise at the option
    m_decider.Add(1, 40);
    m_decider.Add(2, 40);
    Play(m_items, 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    const std::string history = History();
    EXPECT_TRUE(Contains(history, "*** HOLE CARDS ***\nMaster_1: calls 20\nTim_2: calls 10\n"
                                  "Hero_0: raises 40\nMaster_1: calls 40\nTim_2: calls 40\n"
                                  "*** FLOP ***"));
    ASSERT_GE(m_decider.m_asked.size(), 6u);
    // Five preflop decisions, then the flop starts with the small blind.
    EXPECT_EQ(std::vector<int>(m_decider.m_asked.begin(), m_decider.m_asked.begin() + 6),
              (std::vector<int>{1, 2, 0, 1, 2, 2}));
    EXPECT_EQ(m_game.m_table.m_lastRaiser, 0);
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
}

TEST_F(BettingRules, AtAnAnteLevelTheBigBlindOwesTheAnteAndFoldsWithNothing)
{
    m_game.SetStackedDraws({3, 5, 12}); // button 2: blinds 0 and 1
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1500, 1500, 1500}, 0, 0, 3);
    m_game.StartGame(items);
    {
        std::lock_guard<std::mutex> lock(m_game.StateMutex());
        m_game.m_table.m_smallBlind = 100;
        m_game.m_table.m_bigBlind = 200;
        m_game.m_table.m_ante = 25;
    }
    m_decider.Add(2, 225); // blind plus ante
    m_decider.Add(0, 125);
    m_decider.Add(1, 0); // owes 25: a fold, and the round must still end
    m_game.m_onHandEnd = [](CDunmereGame &game) { game.m_stopRequested = true; };
    m_game.StartDeal();
    m_game.WaitForGameEnd();

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_TRUE(Contains(History(), "*** HOLE CARDS ***\nTim_2: calls 225\nHero_0: calls 125\n"
                                    "Master_1: folds\n*** FLOP ***"));
    ASSERT_GE(m_decider.m_asked.size(), 4u);
    EXPECT_EQ(m_decider.m_asked[3], 0); // the flop, not another preflop turn
    EXPECT_EQ(m_decider.m_streets.front(), 0);
    EXPECT_EQ(TotalStacks(m_game.m_table), 4500);
    EXPECT_EQ(m_game.m_table.m_stack[1], 1275);
}

TEST_F(BettingRules, FoldPressedWithNothingOwedIsAFold)
{
    ThreeHanded();
    ScriptedHuman human(m_game);
    m_game.SetHumanPlayer(&human);
    m_decider.Add(1, 20);
    m_decider.Add(2, 10);
    human.Add(0, true); // FOLD at the big blind's option
    Play(m_items, 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    const std::string history = History();
    EXPECT_TRUE(Contains(history, "Tim_2: calls 10\nHero_0: folds\n*** FLOP ***"));
    EXPECT_TRUE(Contains(Log(), "Player 0 folds\nEnd of Preflop !\n"));
    EXPECT_EQ(human.SliderMaxes(), (std::vector<int>{1000}));
    // The big blind's 20 went into the pot and to the winner, not into thin air.
    EXPECT_EQ(m_game.m_table.m_stack[0], 980);
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
    EXPECT_TRUE(m_game.m_table.m_folded[0]);
    bool foldEvent = false;
    for (const CAction &action : m_game.m_actions)
        foldEvent |= action.m_kind == 9 && action.m_seat == 0;
    EXPECT_TRUE(foldEvent);
}

TEST_F(BettingRules, AllInForLessThanOwedIsACall)
{
    ThreeHanded({50, 1000, 1000});
    m_decider.Add(1, 100); // raise to 100
    m_decider.Add(2, 0);
    m_decider.Add(0, 30); // the big blind's last 30: short of the 80 owed
    Play(m_items, 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_TRUE(Contains(History(), "Master_1: raises 100\nTim_2: folds\nHero_0: calls 30\n"));
    EXPECT_TRUE(Contains(Log(), "Player 0 allin with bet 30\nEnd of Preflop !\n"));
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
    Play(m_items, 1);

    EXPECT_TRUE(Contains(Log(), "Player 1 allin with bet 1000\nPlayer 2 folds\nPlayer 0 folds\n"));
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
    Play(m_items, 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_TRUE(Contains(History(), "Tim_2: checks\nHero_0: raises 30\nMaster_1: raises 90\n"
                                    "Tim_2: calls 90\nHero_0: calls 60\n*** TURN ***"));
    // Turn and river: three checks each, nothing more.
    ASSERT_EQ(m_decider.m_asked.size(), 14u);
    EXPECT_EQ(TotalStacks(m_game.m_table), 3000);
}
