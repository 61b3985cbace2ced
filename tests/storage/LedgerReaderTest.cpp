// Reading PokerDB.db3 back: real games' saves, the per-name summary and series, and files that
// are no database of ours.

#include "storage/LedgerReader.h"
#include "opponents/BotGame.h"
#include "storage/PokerTables.h"
#include "storage/SessionSave.h"
#include "tests/storage/StorageTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const SessionResult kOneGame = {{"Hero", 150, {2, 2, 1, 1, 0}}};

// Two short seeded games between the personas, each saved as the program saves a stopped game.
std::vector<BotGameResult> PlayTwoGames(const TempFolder &folder)
{
    std::vector<BotGameResult> results;
    for (std::uint64_t seed : {3u, 4u}) {
        CPokerDatabase db;
        EXPECT_TRUE(OpenDatabase(db, folder.path()));
        BotGameOptions options;
        options.names = DefaultBotNames(4);
        options.stacks = {1000, 1000, 1000, 1000};
        options.lastHand = 25;
        options.seed = seed;
        options.outputFolder = folder.path();
        options.saveResults = [&db](CDunmereGame &game) { SaveSessionResults(db, game); };
        results.push_back(RunBotGame(options));
    }
    return results;
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

} // namespace

TEST(LedgerReaderTest, TwoRealGamesReadBackAsTwoGamesPerName)
{
    TempFolder folder;
    const std::vector<BotGameResult> games = PlayTwoGames(folder);
    LedgerContents contents;
    std::string error;
    ASSERT_TRUE(ReadLedger(folder.file(kDatabaseFileName), contents, error)) << error;
    EXPECT_EQ(contents.players.size(), 10u);
    EXPECT_EQ(contents.statistics.size(), 10u);
    EXPECT_EQ(LedgerNames(contents),
              (std::vector<std::string>{"Hero", "Master", "Tim", "Maniac", "Professor"}));

    // Master's balance after each game: the chips won by the seats Master played.
    const std::vector<BalancePoint> master = BalanceSeries(contents, "Master");
    ASSERT_EQ(master.size(), 2u);
    double balance = 0;
    for (size_t g = 0; g < 2; ++g) {
        for (const BotSeatResult &seat : games[g].seats) {
            if (std::string(LedgerNameOfPersona(seat.persona)) == "Master")
                balance += seat.finalStack - seat.startStack;
        }
        EXPECT_EQ(master[g].game, static_cast<int>(g) + 1);
        EXPECT_DOUBLE_EQ(master[g].balance, balance);
        EXPECT_FALSE(master[g].date.empty());
        EXPECT_NE(master[g].date.back(), '\n');
    }

    // Per-game statistics are the differences of the running totals, so they sum to them.
    const std::vector<GameStatistics> perGame = StatisticsPerGame(contents, "Master");
    ASSERT_EQ(perGame.size(), 2u);
    const StatisticsRow &last = contents.statistics[6];
    ASSERT_EQ(last.name, "Master");
    EXPECT_EQ(perGame[0].hands + perGame[1].hands, static_cast<int>(last.n));
    EXPECT_EQ(perGame[0].vpipOpportunities + perGame[1].vpipOpportunities,
              static_cast<int>(last.vpipOpportunities));
    EXPECT_GT(perGame[1].hands, 0);

    const std::vector<NameSummary> summary = SummarizeLedger(contents);
    ASSERT_EQ(summary.size(), 5u);
    EXPECT_EQ(summary[0].name, "Hero");
    EXPECT_EQ(summary[0].games, 2);
    EXPECT_EQ(summary[1].name, "Master");
    EXPECT_DOUBLE_EQ(summary[1].totalWon, balance);
    EXPECT_DOUBLE_EQ(summary[1].lastBalance, balance);
    EXPECT_EQ(summary[1].hands, static_cast<int>(last.n));
    EXPECT_DOUBLE_EQ(summary[1].vpip, Percent(last.vpip, last.vpipOpportunities));
}

TEST(LedgerReaderTest, PerGameFiguresOfHandBuiltTotals)
{
    LedgerContents contents;
    contents.statistics = {{1, "Hero", 10, 8, 4, 2, 1, " 2026.01.02  10:00:00\n"},
                           {2, "Tim", 5, 5, 1, 1, 0, " 2026.01.02  10:00:00\n"},
                           {3, "Hero", 10, 8, 4, 2, 1, " 2026.01.03  10:00:00\n"},
                           {4, "Hero", 30, 28, 9, 6, 1, " 2026.01.04  10:00:00\n"}};
    const std::vector<GameStatistics> hero = StatisticsPerGame(contents, "Hero");
    ASSERT_EQ(hero.size(), 3u);
    EXPECT_EQ(hero[0].hands, 10);
    EXPECT_DOUBLE_EQ(hero[0].vpip, 50.0);
    EXPECT_DOUBLE_EQ(hero[0].pfr, 20.0);
    EXPECT_DOUBLE_EQ(hero[0].threeBet, 10.0);
    // A game without a hand: no figure to divide, shown as 0 over 0 hands.
    EXPECT_EQ(hero[1].hands, 0);
    EXPECT_DOUBLE_EQ(hero[1].vpip, 0.0);
    EXPECT_EQ(hero[2].hands, 20);
    EXPECT_DOUBLE_EQ(hero[2].vpip, 25.0);
    EXPECT_DOUBLE_EQ(hero[2].pfr, 20.0);
    EXPECT_DOUBLE_EQ(hero[2].threeBet, 0.0);
    EXPECT_EQ(hero[2].date, " 2026.01.04  10:00:00");
}

TEST(LedgerReaderTest, BadFilesGiveAMessageAndNoRows)
{
    TempFolder folder;
    LedgerContents contents;
    std::string error;
    EXPECT_FALSE(ReadLedger(folder.file("none.db3"), contents, error));
    EXPECT_NE(error.find("none.db3"), std::string::npos);

    WriteFile(folder.file("text.db3"), "Seat 0: Hero (1000 in chips)\r\n");
    error.clear();
    EXPECT_FALSE(ReadLedger(folder.file("text.db3"), contents, error));
    EXPECT_NE(error.find("not a Brisquel database"), std::string::npos) << error;

    // An SQLite file of another program.
    {
        sqlite3 *db = nullptr;
        sqlite3_open(folder.file("other.db3").c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE Songs (Title TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    error.clear();
    EXPECT_FALSE(ReadLedger(folder.file("other.db3"), contents, error));
    EXPECT_NE(error.find("not a Brisquel database"), std::string::npos) << error;
    EXPECT_TRUE(contents.isEmpty());

    // A database cut short after its header page.
    PlayTwoGames(folder);
    std::string bytes;
    {
        std::ifstream in(folder.file(kDatabaseFileName), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(bytes.size(), 4096u);
    WriteFile(folder.file("cut.db3"), bytes.substr(0, 1500));
    error.clear();
    EXPECT_FALSE(ReadLedger(folder.file("cut.db3"), contents, error));
    EXPECT_FALSE(error.empty());
}

TEST(LedgerReaderTest, AFreshDatabaseReadsEmptyAndIsLeftAsItWas)
{
    TempFolder folder;
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, folder.path()));
    LedgerContents contents;
    std::string error;
    ASSERT_TRUE(ReadLedger(folder.file(kDatabaseFileName), contents, error)) << error;
    EXPECT_TRUE(contents.isEmpty());
    EXPECT_TRUE(SummarizeLedger(contents).empty());
    // Reading never creates a file.
    EXPECT_FALSE(ReadLedger(folder.file("missing/PokerDB.db3"), contents, error));
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

// Another program's locks and modes, a save cut off by a kill, a symlink loop and numbers no
// save writes: each read either works without leaving a file behind or says what happened.
TEST(LedgerReaderTest, OtherProgramsDamageAndLoopsAreSaidAndNoFileIsMade)
{
    TempFolder folder;
    const std::string path = folder.file(kDatabaseFileName);
    {
        CPokerDatabase db;
        ASSERT_TRUE(OpenDatabase(db, folder.path()));
        ASSERT_TRUE(SaveSessionResults(db, kOneGame, FormatSaveTime(0)));
    }
    const auto files = [&folder] {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    LedgerContents contents;
    std::string error;

    // Switched to WAL mode by another program, which has closed it again.
    ASSERT_TRUE(RawDb(path).exec("PRAGMA journal_mode=WAL"));
    ASSERT_EQ(files(), std::vector<std::string>{kDatabaseFileName});
    ASSERT_TRUE(ReadLedger(path, contents, error)) << error;
    EXPECT_EQ(contents.players.size(), 1u);
    EXPECT_EQ(files(), std::vector<std::string>{kDatabaseFileName});
    // Characters that mean something in a URI are part of the name.
    const std::string odd = folder.file("odd%41#?.db3");
    std::filesystem::copy_file(path, odd);
    ASSERT_TRUE(ReadLedger(odd, contents, error)) << error;
    EXPECT_EQ(contents.players.size(), 1u);
    std::filesystem::remove(odd);
    EXPECT_EQ(files(), std::vector<std::string>{kDatabaseFileName});
    {
        // While the other program holds it open, its rows not yet checkpointed are read too.
        RawDb other(path);
        ASSERT_TRUE(other.exec("INSERT INTO Players (Family_Name, Amount, Balance) "
                               "VALUES ('Tim', 5, 5)"));
        ASSERT_TRUE(ReadLedger(path, contents, error)) << error;
        EXPECT_EQ(contents.players.size(), 2u);
    }
    ASSERT_TRUE(RawDb(path).exec("PRAGMA journal_mode=DELETE"));

    // Locked for longer than the reader waits.
    {
        RawDb other(path);
        ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
        EXPECT_FALSE(ReadLedger(path, contents, error));
        EXPECT_EQ(error, path + " is locked by another program, which kept it for longer than "
                                "the 3 seconds waited; try again later");
    }

    // A save killed half-way leaves a hot journal behind.
    const pid_t child = fork();
    if (child == 0) {
        RawDb killed(path);
        killed.exec("PRAGMA cache_size=1");
        killed.exec("BEGIN");
        for (int i = 0; i < 500; ++i)
            killed.exec("INSERT INTO Players (Family_Name) VALUES ('" + std::string(900, 'x') +
                        "')");
        _exit(0);
    }
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(std::filesystem::exists(path + "-journal"));
    EXPECT_FALSE(ReadLedger(path, contents, error));
    EXPECT_NE(error.find("a save into it was cut off"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::exists(path + "-journal")); // left to the next save to undo

    const std::string loop = folder.file("loop.db3");
    std::filesystem::create_symlink(loop, loop);
    EXPECT_FALSE(ReadLedger(loop, contents, error));
    EXPECT_EQ(error, loop + " cannot be read: Too many levels of symbolic links");
}

TEST(LedgerReaderTest, NumbersOutOfRangeAreRefusedWithTheirRow)
{
    struct Case
    {
        const char *insert;
        const char *message;
    };
    for (const Case &c :
         {Case{"INSERT INTO Players (Family_Name, Amount, Balance) VALUES ('Hero', 1e308, 0)",
               "row 2 of its Players table holds Amount = 1e+308, out of range"},
          Case{"INSERT INTO Players (Family_Name, Amount, Balance) VALUES ('Hero', 0, -9e99)",
               "row 2 of its Players table holds Balance = -9e+99, out of range"},
          Case{"INSERT INTO Statistics (Family_Name, NG) VALUES ('Hero', 3e9)",
               "row 1 of its Statistics table holds NG = 3e+09, out of range"},
          Case{"INSERT INTO Statistics (Family_Name, NG, nPFR) VALUES ('Hero', 5, -1)",
               "row 1 of its Statistics table holds nPFR = -1, out of range"}}) {
        TempFolder folder;
        const std::string path = folder.file(kDatabaseFileName);
        {
            CPokerDatabase db;
            ASSERT_TRUE(OpenDatabase(db, folder.path()));
            ASSERT_TRUE(SaveSessionResults(db, kOneGame, FormatSaveTime(0)));
        }
        RawDb(path).exec("DELETE FROM Statistics");
        ASSERT_TRUE(RawDb(path).exec(c.insert)) << c.insert;
        LedgerContents contents;
        std::string error;
        EXPECT_FALSE(ReadLedger(path, contents, error)) << c.insert;
        EXPECT_EQ(error, path + " is damaged: " + c.message);
    }
}
