// Scripted hands for the rules of No-Limit: raises short of the minimum, all-ins for less than a
// full raise, and heads-up blinds and order, checked in the hand history the game writes.
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/RoundAudit.h"

using namespace enginetest;

namespace {

std::vector<int> Join(std::vector<int> draws, const std::vector<int> &deal)
{
    draws.insert(draws.end(), deal.begin(), deal.end());
    return draws;
}

} // namespace

class TableRules : public GameFixture
{
protected:
    // Four seats, blinds 10/20: button 3, small blind 0, big blind 1, seat 2 acts first.
    void FourHanded(int stack0, int stack1)
    {
        m_game.SetStackedDraws(Join({5, 3, 1, 12}, Cards({"Ah", "Kh", "2c", "Qh", "Ad", "Kd", "7s",
                                                          "Qd", "3s", "8c", "9d", "Jc", "4h"})));
        m_seats = {{"Maniac", stack0}, {"Master", stack1}, {"Tim", 1000}, {"Professor", 1000}};
    }
    // Every hand of the game goes through the round audit as well.
    void PlayAudited(GameSetupItems items, int hands)
    {
        m_game.StartGame(items);
        m_handsToPlay = hands;
        m_game.m_onHandEnd = [this](CDunmereGame &game) {
            m_audit.AfterHand(game);
            if (++m_handsPlayed >= m_handsToPlay)
                game.m_stopRequested = true;
        };
        m_game.StartDeal();
        m_game.WaitForGameEnd();
        EXPECT_TRUE(m_decider.m_mismatches.empty()) << m_decider.m_mismatches.front();
        EXPECT_EQ(m_decider.Remaining(), 0u);
        EXPECT_TRUE(m_audit.faults.empty()) << m_audit.faults.front();
    }
    void ExpectLines(const std::vector<std::string> &lines)
    {
        const std::string history = History();
        size_t from = 0;
        for (const std::string &line : lines) {
            const size_t at = history.find("\n" + line + "\n", from);
            ASSERT_NE(at, std::string::npos) << "no line \"" << line << "\" in order";
            from = at + 1;
        }
    }
    std::vector<SeatSetup> m_seats;
    RoundAudit m_audit;
};

TEST_F(TableRules, RaisesShortOfTheMinimumBecomeTheMinimum)
{
    FourHanded(1000, 1000);
    m_decider.Add(2, 30);  // to 30, below two big blinds: to 40
    m_decider.Add(3, 100); // to 100, a raise of 60
    m_decider.Add(0, 120); // to 130 from the small blind, below 160: to 160
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    m_decider.Add(3, 0);
    PlayAudited(Items(m_seats), 1);
    ExpectLines({"Tim_2: raises 40", "Professor_3: raises 100", "Maniac_0: raises 150",
                 "Master_1: folds", "Tim_2: folds", "Professor_3: folds",
                 "Maniac_0 collected 320 from pot "});
    EXPECT_TRUE(Contains(Log(), "Player 0 raises 150"));
}

struct ShortAllInCase
{
    const char *name;
    int stack1;                    // the big blind's stack: all in for 170 or 200
    std::vector<std::string> then; // what seats 2 and 3 may do after the two all-ins
};
void PrintTo(const ShortAllInCase &c, std::ostream *os)
{
    *os << c.name;
}

class ShortAllIns : public TableRules, public ::testing::WithParamInterface<ShortAllInCase>
{
};

// Seat 2 raises to 100, seat 3 calls, the small blind goes all in to 150 (50 more) and the big
// blind all in to 170 or 200. Two all-ins adding 70 leave the raisers calling; adding 100 they
// reopen the betting. Each raiser then answers with a raise of 400.
TEST_P(ShortAllIns, ReopenOnlyTogetherAsAFullRaise)
{
    const ShortAllInCase &c = GetParam();
    FourHanded(150, c.stack1);
    m_decider.Add(2, 100);
    m_decider.Add(3, 100);
    m_decider.Add(0, 140);
    m_decider.Add(1, c.stack1 - 20);
    m_decider.Add(2, 400);
    m_decider.Add(3, c.stack1 == 200 ? 0 : 900);
    if (c.stack1 != 200) {
        for (int street = 0; street < 3; ++street) {
            m_decider.Add(2, 0);
            m_decider.Add(3, 0);
        }
    }
    PlayAudited(Items(m_seats), 1);
    ExpectLines(c.then);
}

INSTANTIATE_TEST_SUITE_P(
    TableRules, ShortAllIns,
    ::testing::Values(ShortAllInCase{"NotReopened",
                                     170,
                                     {"Maniac_0: raises 140", "Master_1: raises 150",
                                      "Tim_2: calls 70", "Professor_3: calls 70",
                                      "*** FLOP *** [3s 8c 9d]", "Tim_2: checks"}},
                      ShortAllInCase{"Reopened",
                                     200,
                                     {"Maniac_0: raises 140", "Master_1: raises 180",
                                      "Tim_2: raises 400", "Professor_3: folds"}}),
    [](const auto &tc) { return tc.param.name; });

TEST_F(TableRules, HeadsUpTheButtonPostsTheSmallBlindAndActsFirstOnlyBeforeTheFlop)
{
    m_game.SetStackedDraws(
        Join({12, 5}, Cards({"Ah", "Kh", "Ad", "Kd", "3s", "8c", "9d", "Jc", "4h"})));
    m_seats = {{"Maniac", 1000}, {"Master", 1000}};
    m_decider.Add(0, 15); // to 25 from the small blind: to 40
    m_decider.Add(1, 20);
    for (int street = 0; street < 3; ++street) {
        m_decider.Add(1, 0);
        m_decider.Add(0, 0);
    }
    PlayAudited(Items(m_seats), 1);
    EXPECT_EQ(m_decider.m_asked, (std::vector<int>{0, 1, 1, 0, 1, 0, 1, 0}));
    ExpectLines({"Table 'Game' 2-max Seat #0 is the button", "Maniac_0: posts small blind 10",
                 "Master_1: posts big blind 20", "Maniac_0: raises 30", "Master_1: calls 20",
                 "*** FLOP *** [3s 8c 9d]", "Master_1: checks", "Maniac_0: checks",
                 "*** RIVER *** [4h]", "Master_1: checks", "Maniac_0: checks"});
}

struct ThreeToTwoCase
{
    const char *name;
    std::vector<const char *> cards; // seat 0, 1, 2 first cards, then second cards, then board
    std::vector<std::pair<int, int>> script; // hand 1, then the button folding in hands 2 and 3
    std::vector<std::string> next;           // the second and third hands' button and blinds
};
void PrintTo(const ThreeToTwoCase &c, std::ostream *os)
{
    *os << c.name;
}

class ThreeToTwo : public TableRules, public ::testing::WithParamInterface<ThreeToTwoCase>
{
};

// A "9 players" game at three seats (button 0, blinds 1 and 2) loses a seat in the first hand;
// nobody posts the big blind twice in a row or skips it, and the blinds then alternate.
TEST_P(ThreeToTwo, NoBlindSkippedNorRepeated)
{
    const ThreeToTwoCase &c = GetParam();
    std::vector<int> cards;
    for (const char *card : c.cards)
        cards.push_back(Card(card));
    m_game.SetStackedDraws(Join({12, 5, 3}, cards));
    m_seats = {{"Maniac", 500}, {"Master", 500}, {"Tim", 1500}};
    for (const auto &[seat, amount] : c.script)
        m_decider.Add(seat, amount);
    PlayAudited(Items(m_seats, 0, 0, 3), 3);
    ExpectLines(c.next);
}

INSTANTIATE_TEST_SUITE_P(
    TableRules, ThreeToTwo,
    ::testing::Values(
        // The button goes: seat 2, the big blind, takes the button and the small blind.
        ThreeToTwoCase{"ButtonBusts",
                       {"2c", "5h", "As", "7d", "6h", "Ah", "Kc", "Qd", "9s", "4h", "3c"},
                       {{0, 500}, {1, 0}, {2, 480}, {2, 0}, {1, 0}},
                       {"Table 'Game' 3-max Seat #2 is the button", "Tim_2: posts small blind 10",
                        "Master_1: posts big blind 20", "Table 'Game' 3-max Seat #1 is the button",
                        "Master_1: posts small blind 10", "Tim_2: posts big blind 20"}},
        // The small blind goes: the button moves on to the big blind, which now posts small.
        ThreeToTwoCase{"SmallBlindBusts",
                       {"5h", "2c", "As", "6h", "7d", "Ah", "Kc", "Qd", "9s", "4h", "3c"},
                       {{0, 0}, {1, 490}, {2, 480}, {2, 0}, {0, 0}},
                       {"Table 'Game' 3-max Seat #2 is the button", "Tim_2: posts small blind 10",
                        "Maniac_0: posts big blind 20", "Table 'Game' 3-max Seat #0 is the button",
                        "Maniac_0: posts small blind 10", "Tim_2: posts big blind 20"}}),
    [](const auto &tc) { return tc.param.name; });
