// Table queries, blind schedules, game start and the statistics boxes.
#include "tests/engine/EngineTestSupport.h"

using namespace enginetest;

namespace {

CGameTable &Table(int seats, std::initializer_list<int> out, std::initializer_list<int> folded)
{
    static CGameTable table;
    table.m_seatCount = seats;
    for (int s = 0; s < 10; ++s) {
        table.m_inGame[s] = s < seats ? 1 : 0;
        table.m_folded[s] = false;
        table.m_stack[s] = 100;
        table.m_bet[s] = 0;
        table.m_lastAction[s] = 0;
    }
    for (int s : out)
        table.m_inGame[s] = 0;
    for (int s : folded)
        table.m_folded[s] = true;
    return table;
}

} // namespace

TEST(TableQueries, SeatsGoRoundSkippingFoldedAndBustedSeats)
{
    const CGameTable &t = Table(6, {2}, {4});
    EXPECT_EQ(t.NextActiveSeat(1), 3);
    EXPECT_EQ(t.NextActiveSeat(5), 0);
    EXPECT_EQ(t.NextActiveSeat(3), 5);
    EXPECT_EQ(t.PreviousActiveSeat(0), 5);
    EXPECT_EQ(t.PreviousActiveSeat(3), 1);
    EXPECT_EQ(t.CountActive(), 4);
    // Button 5: small blind 0, big blind 1, first to act 3.
    CGameTable &u = Table(6, {2}, {4});
    u.m_button = 5;
    EXPECT_EQ(u.FirstToActPreflop(), 3);
}

TEST(TableQueries, ALoneSeatIsItsOwnNeighbour)
{
    const CGameTable &t = Table(3, {0, 2}, {});
    EXPECT_EQ(t.NextActiveSeat(1), 1);
    EXPECT_EQ(t.PreviousActiveSeat(1), 1);
    EXPECT_EQ(t.NextActiveSeat(0), 1);
}

TEST(TableQueries, MoneyQueries)
{
    CGameTable &t = Table(4, {}, {3});
    t.m_stack[0] = 0;
    t.m_stack[1] = 50;
    t.m_bet[1] = 40;
    t.m_stack[2] = 70;
    t.m_stack[3] = 900; // folded: counts for nothing
    t.m_amountToCall = 40;
    EXPECT_EQ(t.CountActiveWithChips(), 2);
    EXPECT_EQ(t.MaxOpponentStack(2), 90);
    EXPECT_EQ(t.MaxOpponentStack(1), 70);
    // Seat 2 owes but has not acted yet, so nobody is "still to call".
    EXPECT_FALSE(t.SomeoneStillToCall(1));
    t.m_lastAction[2] = 2;
    EXPECT_TRUE(t.SomeoneStillToCall(1));
    EXPECT_FALSE(t.SomeoneStillToCall(2));
    t.m_lastAction[1] = 4;
    EXPECT_EQ(t.CountCallers(1), 1);
    EXPECT_EQ(t.CountRaisersAbove(2, 30), 1);
    EXPECT_EQ(t.CountRaisersAbove(2, 40), 0);
}

TEST(BlindSchedules, NinePlayersAndTurbo)
{
    GameType types[2];
    BuildGameTypes(types);
    EXPECT_EQ(types[0].typeId, 3);
    EXPECT_EQ(types[0].typeName, "9 players");
    EXPECT_EQ(types[0].levelCount, 21);
    EXPECT_EQ(types[0].minutesPerLevel, 10);
    EXPECT_EQ(types[1].typeId, 4);
    EXPECT_EQ(types[1].typeName, "9 players Turbo");
    EXPECT_EQ(types[1].levelCount, 22);
    EXPECT_EQ(types[1].minutesPerLevel, 5);
    for (const GameType &type : types) {
        EXPECT_EQ(type.startingStack, 1500);
        EXPECT_EQ(type.smallBlinds.size(), static_cast<size_t>(type.levelCount));
        EXPECT_EQ(type.antes.size(), static_cast<size_t>(type.levelCount));
        EXPECT_EQ(type.bigBlinds.back(), 30000);
        EXPECT_EQ(type.antes.back(), 1500);
    }
    EXPECT_EQ(types[0].bigBlinds[7], 400);
    EXPECT_EQ(types[1].smallBlinds[7], 150);
    EXPECT_EQ(types[1].bigBlinds[7], 300);
    EXPECT_EQ(types[1].antes[7], 25);
    EXPECT_EQ(types[1].bigBlinds[8], 400);
}

TEST(StatisticsBox, StartsWithPlaceholderLines)
{
    CPlayerStatisticRect box;
    EXPECT_EQ(box.m_lines[0], L"String 1");
    EXPECT_EQ(box.m_lines[3], L"String 4");
    EXPECT_EQ(box.m_visible, 0);
}

class GameStart : public GameFixture
{
};

TEST_F(GameStart, PersonasByExactNameElseRandomFourToSeven)
{
    GameSetupItems items = Items({"Hero", "Maniac", "Professor", "Master", "Tim", "hero", "Bob",
                                  "Tim ", "Professor", "Bobby"},
                                 std::vector<int>(10, 1000));
    m_game.StartGame(items);
    const CGameTable &t = m_game.m_table;
    const int expected[5] = {3, 5, 6, 4, 7};
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(t.m_players[s].m_persona, expected[s]) << s;
    for (int s = 5; s < 8; ++s) {
        EXPECT_GE(t.m_players[s].m_persona, 4) << s;
        EXPECT_LE(t.m_players[s].m_persona, 7) << s;
    }
    EXPECT_EQ(items.names[0], "Hero_0");
    EXPECT_EQ(items.names[9], "Bobby_9");
    EXPECT_EQ(t.m_players[7].m_name, "Tim _7");
    EXPECT_EQ(m_game.m_playerRects[4].m_nameText, L"Tim_4");
    EXPECT_EQ(m_screen.m_wholeTable, 1); // the view lays out the new seat count
    EXPECT_EQ(m_game.startGameEnabled, 0);
    EXPECT_EQ(m_game.startDealEnabled, 1);
}

TEST_F(GameStart, ButtonDrawGivesEverySeatADifferentClub)
{
    GameSetupItems items =
        Items({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"}, std::vector<int>(10, 1000));
    m_game.StartGame(items);
    const CGameTable &t = m_game.m_table;
    std::vector<int> values;
    int highest = -1;
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(t.m_inGame[s], 1);
        EXPECT_EQ(t.m_cards[2 * s + 1], -1);
        values.push_back(t.m_cards[2 * s]);
        highest = std::max(highest, t.m_cards[2 * s]);
    }
    std::sort(values.begin(), values.end());
    EXPECT_EQ(std::unique(values.begin(), values.end()), values.end());
    EXPECT_GE(values.front(), 0);
    EXPECT_LE(values.back(), 12);
    EXPECT_EQ(t.m_cards[2 * t.m_button], highest);
    for (int i = 20; i < 25; ++i)
        EXPECT_EQ(t.m_cards[i], -1);
}

TEST_F(GameStart, SeatCountBeyondTheGivenSeatsIsCut)
{
    GameSetupItems items = Items({"A", "B", "C"}, {100, 100, 100});
    items.seatCount = 12;
    m_game.StartGame(items);
    EXPECT_EQ(m_game.m_table.m_seatCount, 3);
}

TEST_F(GameStart, StatisticsToggleShowsSeatsWithChipsOnly)
{
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1000, 0, 1000});
    m_game.StartGame(items);
    m_game.ToggleStatistics();
    {
        std::lock_guard<std::mutex> lock(m_game.StateMutex());
        EXPECT_TRUE(m_game.m_showStatistics);
        EXPECT_EQ(m_game.m_playerRects[0].m_statRect.m_visible, 1);
        EXPECT_EQ(m_game.m_playerRects[1].m_statRect.m_visible, 0);
        // The lines are the (still empty) lines of the seat's statistics record.
        EXPECT_EQ(m_game.m_playerRects[0].m_statRect.m_lines[0], L"");
    }
    m_game.ToggleStatistics();
    EXPECT_EQ(m_game.m_playerRects[0].m_statRect.m_visible, 0);
}

TEST_F(GameStart, StatisticsGrowAndShowAtTheNextHand)
{
    m_game.SetStackedDraws(kButtonOnSeat1Of3);
    m_game.ToggleStatistics();
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 3);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(m_game.m_table.m_players[s].m_stat.m_hands, 3) << s;
    // Built at the start of the third hand, after two hands.
    EXPECT_EQ(m_game.m_playerRects[0].m_statRect.m_lines[0], L"N=2");
    EXPECT_EQ(m_game.m_playerRects[0].m_statRect.m_visible, 1);
}
