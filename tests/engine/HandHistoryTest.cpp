// Scripted hands compared line for line with the whole hand-history and game-log texts.
#include "EngineTestSupport.h"

using namespace enginetest;

namespace {

const std::string kGameStart = "\n"
                               "==================START Ostrivane  2023.11.14  22:13:20 "
                               "==================\n"
                               "\n";
const std::string kRule = std::string(78, '=') + "\n";

void ExpectSameLines(const std::string &actual, const std::string &expected)
{
    const auto a = SplitLines(actual);
    const auto e = SplitLines(expected);
    for (size_t i = 0; i < std::min(a.size(), e.size()); ++i)
        ASSERT_EQ(a[i], e[i]) << "line " << i + 1;
    ASSERT_EQ(a.size(), e.size());
    EXPECT_EQ(actual, expected);
}

} // namespace

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
    std::string ThreeSeatsStart() const
    {
        return kGameStart + "Seat 0: Hero_0 (1000 in chips) StrategyName is Hero\n\n"
               + "Seat 1: Master_1 (1000 in chips) StrategyName is Master\n\n"
               + "Seat 2: Tim_2 (1000 in chips) StrategyName is Tight\n\n" + kRule;
    }
    std::string ThreeSeatsLogStart() const
    {
        return "3 players \n"
               "Player 0 is Hero_0 (StrategyName is Hero) with stack = 1000\n"
               "Player 1 is Master_1 (StrategyName is Master) with stack = 1000\n"
               "Player 2 is Tim_2 (StrategyName is Tight) with stack = 1000\n";
    }
};

TEST_F(HandHistory, WonByFoldsBeforeTheFlop)
{
    ThreeHanded(Cards({"Ah", "2c", "7d", "Kd", "3c", "8d"}));
    m_decider.Add(1, 0); // button folds
    m_decider.Add(2, 0); // small blind folds
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 1);

    ExpectSameLines(History(), ThreeSeatsStart()
                                   + "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  "
                                     "22:13:20 \n"
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
                                     "Hero_0 collected 30 from pot \n");
    ExpectSameLines(Log(), ThreeSeatsLogStart()
                               + "---------------------------------\n"
                                 "New game start !\n"
                                 "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  "
                                 "22:13:20 \n"
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
                                 "Player 0 wins pot (30)\n");
    EXPECT_EQ(m_pane.Lines(),
              (std::vector<std::string>{"Preflop start",
                                        "Player 0 is Hero_0 with stack = 1000 in game\n",
                                        "Player 1 is Master_1 with stack = 1000 in game\n",
                                        "Player 2 is Tim_2 with stack = 1000 in game\n",
                                        "Player 1 folds", "Player 2 folds",
                                        "Player 0 wins pot (30)"}));
    EXPECT_TRUE(m_decider.m_mismatches.empty());
    EXPECT_EQ(m_game.m_table.m_stack[0], 1010);
    EXPECT_EQ(m_game.m_table.m_stack[2], 990);
    EXPECT_EQ(m_program.m_closeCount, 1);
    // The files are stored with Windows line ends.
    EXPECT_EQ(ReadFile(HistoryPath()).substr(0, 3), "\r\n=");
}
