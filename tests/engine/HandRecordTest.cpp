// The hand's event list, the pane's header lines, position classes, ties and the last blind
// level.
#include "tests/engine/EngineTestSupport.h"

using namespace enginetest;

namespace {

struct Event
{
    int kind;
    int seat;
    int amount;
    std::string name;
    bool operator==(const Event &other) const
    {
        return kind == other.kind && seat == other.seat && amount == other.amount &&
               name == other.name;
    }
};

std::ostream &operator<<(std::ostream &out, const Event &e)
{
    return out << "{" << e.kind << ", " << e.seat << ", " << e.amount << ", \"" << e.name << "\"}";
}

std::vector<Event> Events(const std::vector<CAction> &actions)
{
    std::vector<Event> out;
    for (const CAction &a : actions)
        out.push_back({a.m_kind, a.m_seat, a.m_amount, a.m_name});
    return out;
}

} // namespace

class HandRecord : public GameFixture
{
};

TEST_F(HandRecord, EventsOfTwoHeadsUpHands)
{
    m_game.SetStackedDraws(Draws(kButtonOnSeat0Of2, "Ah Kc Ad Kd 2s 7h 9d Jc 3c " // hand 1
                                                    "5c 6c 5d 6d"));              // hand 2
    m_decider.Add(0, 10); // the button's small blind completes
    m_decider.Add(1, 0);  // option: check
    m_decider.Add(1, 0);  // flop: two checks
    m_decider.Add(0, 0);
    m_decider.Add(1, 20); // turn: bet and call
    m_decider.Add(0, 20);
    m_decider.Add(1, 0); // river: two checks
    m_decider.Add(0, 0);
    m_decider.Add(1, 0); // hand 2: the small blind folds
    std::vector<std::vector<CAction>> hands;
    m_handsToPlay = 2;
    m_game.m_onHandEnd = [&](CDunmereGame &game) {
        hands.push_back(game.m_actions);
        if (++m_handsPlayed >= m_handsToPlay)
            game.m_stopRequested = true;
    };
    GameSetupItems items = Items({"Hero", "Master"}, {1000, 1000});
    m_game.StartGame(items);
    m_game.StartDeal();
    m_game.WaitForGameEnd();

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    ASSERT_EQ(hands.size(), 2u);
    const std::string hero = "Hero_0";
    const std::string master = "Master_1";
    // The first hand after the draw has no button event.
    EXPECT_EQ(Events(hands[0]),
              (std::vector<Event>{
                  {1, -1, 0, ""},   {5, 0, 0, hero},    {5, 1, 0, master},   {3, -1, 0, ""},
                  {7, 0, 10, hero}, {8, 1, 20, master}, {11, 0, 10, hero},   {12, 1, 0, master},
                  {4, -1, 0, ""},   {14, -1, 0, ""},    {12, 1, 0, master},  {12, 0, 0, hero},
                  {15, -1, 0, ""},  {16, -1, 0, ""},    {13, 1, 20, master}, {11, 0, 20, hero},
                  {17, -1, 0, ""},  {18, -1, 0, ""},    {12, 1, 0, master},  {12, 0, 0, hero},
                  {19, -1, 0, ""},  {2, -1, 0, ""}}));
    EXPECT_EQ(Events(hands[1]), (std::vector<Event>{{1, -1, 0, ""},
                                                    {5, 0, 0, hero},
                                                    {5, 1, 0, master},
                                                    {6, 1, 0, master},
                                                    {3, -1, 0, ""},
                                                    {7, 1, 10, master},
                                                    {8, 0, 20, hero},
                                                    {9, 1, 0, master},
                                                    {4, -1, 0, ""},
                                                    {2, -1, 0, ""}}));
    // The scratch record holds the last event appended.
    EXPECT_EQ(m_game.m_action.m_kind, 2);
}

TEST_F(HandRecord, LaterHandHeadersAndSeatLinesGoToThePane)
{
    m_game.SetStackedDraws(kButtonOnSeat1Of3); // button 1: small blind 2, big blind 0
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    m_decider.Add(2, 0); // hand 2: button 2, small blind 0, big blind 1, seat 2 first
    m_decider.Add(0, 0);
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 2);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_pane.Lines(), (std::vector<std::string>{
                                  "Preflop start",
                                  "Player 0 is Hero_0 with stack = 1000 in game\n",
                                  "Player 1 is Master_1 with stack = 1000 in game\n",
                                  "Player 2 is Tim_2 with stack = 1000 in game\n",
                                  "Player 1 folds",
                                  "Player 2 folds",
                                  "Player 0 wins pot (30)",
                                  std::string(33, '-'),
                                  "New game start !",
                                  "Preflop start",
                                  "Player 0 is Hero_0 with stack = 1010 in game\n",
                                  "Player 1 is Master_1 with stack = 1000 in game\n",
                                  "Player 2 is Tim_2 with stack = 990 in game\n",
                                  "Player 2 folds",
                                  "Player 0 folds",
                                  "Player 1 wins pot (30)",
                              }));
    // The winner by folds shows its win text, keeps its cards hidden and names no hand.
    const CPlayerRect &winner = m_game.m_playerRects[1];
    EXPECT_EQ(winner.m_winText, L"I win 30!");
    EXPECT_EQ(winner.m_showWin, 1);
    EXPECT_EQ(winner.m_showAction, 0);
    EXPECT_EQ(winner.m_showCards, 0);
    EXPECT_EQ(winner.m_revealCards, 0);
    EXPECT_FALSE(Contains(History(), " has "));
    EXPECT_FALSE(Contains(History(), "*** SUMMARY ***"));
}

TEST_F(HandRecord, PositionClassesCountBackFromTheBigBlind)
{
    m_game.SetStackedDraws({12, 0, 1, 2, 3, 4, 5}); // button 0, blinds 1 and 2
    Play(Items({"A", "B", "C", "D", "E", "F", "G"}, std::vector<int>(7, 1000)), 1);

    const CGameTable &t = m_game.m_table;
    EXPECT_EQ(std::vector<int>(t.m_positionClass, t.m_positionClass + 7),
              (std::vector<int>{2, 2, 2, 0, 1, 1, 1}));
}

TEST_F(HandRecord, ThreeTiedSeatsWhereTheFirstTwoTieAndBeatTheThird)
{
    // Button 1: small blind 2, big blind 0.
    m_game.SetStackedDraws(Draws(kButtonOnSeat1Of3, "Kc Ks Qc 3c 3s 4c Ah Ad 9c 5d 2h"));
    m_decider.Add(1, 20);
    m_decider.Add(2, 10);
    m_decider.Add(0, 0);
    for (int street = 0; street < 3; ++street) {
        m_decider.Add(2, 0);
        m_decider.Add(0, 0);
        m_decider.Add(1, 0);
    }
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 1);

    EXPECT_TRUE(m_decider.m_mismatches.empty());
    // All three hold a pair of aces; seats 0 and 1 have the same king kicker.
    EXPECT_EQ(Section(Log(), "End of River !"), "End of River !\n"
                                                "Player 0 = 260\n"
                                                "Player 1 = 260\n"
                                                "Player 2 = 260\n"
                                                "After sort Player 0 = 262 win = 30\n"
                                                "After sort Player 1 = 262 win = 30\n"
                                                "After sort Player 2 = 260 win = 0\n"
                                                "Player 0 has Pair of Aces \n"
                                                "Player 1 has Pair of Aces \n");
    EXPECT_EQ(m_game.m_table.m_stack[0], 1010);
    EXPECT_EQ(m_game.m_table.m_stack[1], 1010);
    EXPECT_EQ(m_game.m_table.m_stack[2], 980);
    EXPECT_EQ(m_game.m_playerRects[2].m_revealCards, 0);
}

TEST_F(HandRecord, TheLastBlindLevelIsWrittenAgainWhenItsTimeIsUp)
{
    m_game.SetStackedDraws(kButtonOnSeat1Of3);
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {3000, 3000, 3000}, 0, 0, 4);
    m_game.StartGame(items);
    {
        std::lock_guard<std::mutex> lock(m_game.StateMutex());
        m_game.m_levelIndex = m_game.m_levelCount - 1;
    }
    m_now += 301; // the level is over when the deal thread checks it
    m_game.m_onHandEnd = [](CDunmereGame &game) { game.m_stopRequested = true; };
    m_game.StartDeal();
    m_game.WaitForGameEnd();

    EXPECT_EQ(m_game.m_levelIndex, 21);
    EXPECT_EQ(m_game.m_levelStartTime, kStartTime + 301);
    EXPECT_TRUE(Contains(Log(), "Blinds 15000/30000 ante 1500\n\n"));
    // The deal thread's check came before the first hand's header; antes leave 1500 each.
    EXPECT_TRUE(Contains(History(), "Hold'em No Limit (15000/30000)"));
    EXPECT_TRUE(
        Contains(History(), "Tim_2: posts small blind 1500\nHero_0: posts big blind 1500\n"));
}
