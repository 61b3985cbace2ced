#include "storage/SessionSave.h"
#include "engine/Game.h"
#include "tests/storage/StorageTestUtil.h"

#include <gtest/gtest.h>

#include <ctime>
#include <mutex>

namespace {

void SetSeat(CGameTable &table, int s, int persona, int startStack, int stack, CPokerStat stat)
{
    table.m_players[s].m_persona = persona;
    table.m_startStack[s] = startStack;
    table.m_stack[s] = stack;
    table.m_players[s].m_stat = stat;
}

CPokerStat Counters(int n, int opportunities, int vpip, int pfr, int threeBet)
{
    CPokerStat stat;
    stat.m_hands = n + 1;
    stat.m_N = n;
    stat.m_vpipOpportunities = opportunities;
    stat.m_VPIP = vpip;
    stat.m_PFR = pfr;
    stat.m_3bet = threeBet;
    return stat;
}

// Hero, two Masters and a Tim at four seats.
void FillTable(CGameTable &table)
{
    table.m_seatCount = 4;
    SetSeat(table, 0, 3, 1000, 1300, Counters(10, 9, 4, 2, 1));
    SetSeat(table, 1, 4, 1000, 0, Counters(8, 8, 6, 3, 1));
    SetSeat(table, 2, 4, 1000, 1500, Counters(7, 6, 2, 1, 0));
    SetSeat(table, 3, 7, 1000, 200, Counters(9, 8, 1, 0, 0));
}

} // namespace

TEST(SessionSaveTest, EachPersonaGetsItsSeatsResultsAndCounters)
{
    CGameTable table;
    FillTable(table);
    const SessionResult result = CollectSessionResult(table, 100);

    ASSERT_EQ(result.size(), 5u);
    const char *names[] = {"Hero", "Master", "Tim", "Maniac", "Professor"};
    const int amounts[] = {200, -500, -800, 0, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(result[i].name, names[i]);
        EXPECT_EQ(result[i].amount, amounts[i]) << names[i];
    }
    // Bought chips are not winnings.
    EXPECT_EQ(table.m_resultByPersona[0], 200);
    // Thirty refills of 100,000,000 chips are past an int, not past the sums.
    CGameTable refilled;
    FillTable(refilled);
    EXPECT_EQ(CollectSessionResult(refilled, 3000000000LL)[0].amount, 1300 - 1000 - 3000000000LL);

    const StatCounters &hero = result[0].counters;
    EXPECT_EQ(
        std::vector<int>({hero.n, hero.vpipOpportunities, hero.vpip, hero.pfr, hero.threeBet}),
        std::vector<int>({10, 9, 4, 2, 1}));
    const StatCounters &master = result[1].counters;
    EXPECT_EQ(std::vector<int>(
                  {master.n, master.vpipOpportunities, master.vpip, master.pfr, master.threeBet}),
              std::vector<int>({15, 14, 8, 4, 1}));
    EXPECT_EQ(result[2].counters.n, 9);
    EXPECT_EQ(result[3].counters.n, 0);
    EXPECT_EQ(result[4].counters.vpip, 0);
}

TEST(SessionSaveTest, SeatsAreCreditedToWhatPlayedThemNotToTheirNumber)
{
    // A game without the human (as brisquel-cli plays it): seat 0 is a Professor.
    CGameTable table;
    table.m_seatCount = 3;
    SetSeat(table, 0, 6, 1000, 1600, Counters(12, 11, 5, 3, 1));
    SetSeat(table, 1, 7, 1000, 900, Counters(12, 10, 2, 1, 0));
    SetSeat(table, 2, 4, 1000, 500, Counters(12, 12, 6, 2, 0));
    SessionResult result = CollectSessionResult(table);
    const int amounts[] = {0, -500, -100, 0, 600};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(result[i].amount, amounts[i]) << result[i].name;
    EXPECT_EQ(result[0].counters.n, 0);
    EXPECT_EQ(result[0].counters.vpip, 0);
    EXPECT_EQ(result[4].counters.n, 12);
    EXPECT_EQ(result[4].counters.vpip, 5);

    // The human away from seat 0: his result and his bought chips go with his seat.
    CGameTable moved;
    moved.m_seatCount = 3;
    SetSeat(moved, 0, 5, 1000, 700, Counters(4, 4, 4, 4, 4));
    SetSeat(moved, 1, 4, 1000, 800, Counters(4, 4, 1, 0, 0));
    SetSeat(moved, 2, 3, 1000, 1600, Counters(4, 3, 2, 1, 0));
    result = CollectSessionResult(moved, 100);
    EXPECT_EQ(result[0].amount, 500);
    EXPECT_EQ(result[1].amount, -200);
    EXPECT_EQ(result[3].amount, -300);
    EXPECT_EQ(result[0].counters.vpipOpportunities, 3);
    EXPECT_EQ(result[3].counters.pfr, 4);
}

TEST(SessionSaveTest, SeatsOutsideTheGameAddNoCounters)
{
    CGameTable table;
    FillTable(table);
    // Left over from a larger game; the chip difference is 0 either way.
    SetSeat(table, 5, 5, 0, 0, Counters(30, 30, 30, 30, 30));
    const SessionResult result = CollectSessionResult(table);
    EXPECT_EQ(result[3].counters.n, 0);
    EXPECT_EQ(result[0].amount, 300);
}

TEST(SessionSaveTest, GameSaveHookWritesTheTenRows)
{
    TempFolder folder;
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, folder.path()));
    CDunmereGame game;
    FillTable(game.m_table);
    // A bot game's clock, days ahead: the rows still carry the time of the save.
    game.SetClock([] { return std::time(nullptr) + 5 * 24 * 3600; });

    const std::time_t before = std::time(nullptr);
    {
        // As the hand thread calls the hook.
        std::lock_guard<std::mutex> lock(game.StateMutex());
        ASSERT_TRUE(SaveSessionResults(db, game));
    }
    const std::time_t after = std::time(nullptr);

    RawDb raw(folder.file(kDatabaseFileName));
    EXPECT_EQ(raw.value("SELECT group_concat(Family_Name) FROM Players"),
              "Hero,Master,Tim,Maniac,Professor");
    EXPECT_EQ(raw.value("SELECT Balance FROM Players WHERE Family_Name = 'Master'"), "-500.0");
    EXPECT_EQ(raw.value("SELECT nVPIP FROM Statistics WHERE Family_Name = 'Master'"), "8.0");
    const std::string stored = raw.value("SELECT DateTime FROM Players WHERE ROWID = 1");
    EXPECT_TRUE(stored == FormatSaveTime(before) || stored == FormatSaveTime(after)) << stored;
}
