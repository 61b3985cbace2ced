#include "storage/PokerTables.h"
#include "tests/storage/StorageTestUtil.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char kPlayersCreate[] = "CREATE TABLE [Players] ( [OperationID] INT,[Family_Name] TEXT,"
                              "[Amount] DOUBLE,[Balance] DOUBLE,[DateTime] TEXT)";
const char kStatisticsCreate[] =
    "CREATE TABLE [Statistics] ( [OperationID] INT,[Family_Name] TEXT,[NG] DOUBLE,"
    "[NGamesVPIP] DOUBLE,[nVPIP] DOUBLE,[nPFR] DOUBLE,[n3Bet] DOUBLE,[DateTime] TEXT)";
const char kTime[] = " 2026.12.07  21:30:00\n";

SessionResult FivePersonas(int heroAmount, StatCounters heroCounters = {})
{
    SessionResult result;
    for (const char *name : {"Hero", "Master", "Tim", "Maniac", "Professor"})
        result.push_back({name, 0, {}});
    result[0].amount = heroAmount;
    result[0].counters = heroCounters;
    result[1].amount = -heroAmount;
    result[1].counters = {1, 1, 1, 0, 0};
    return result;
}

std::string FileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PokerTablesTest : public ::testing::Test
{
protected:
    TempFolder m_folder;
    std::string m_path = m_folder.file(kDatabaseFileName);
};

} // namespace

TEST_F(PokerTablesTest, FirstRunCreatesBothTablesAndNumbersTheRowsFromOne)
{
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
    EXPECT_EQ(db.m_path, m_path);
    {
        RawDb raw(m_path);
        EXPECT_EQ(raw.createStatement("Players"), kPlayersCreate);
        EXPECT_EQ(raw.createStatement("Statistics"), kStatisticsCreate);
    }
    ASSERT_TRUE(SaveSessionResults(db, FivePersonas(250, {4, 3, 2, 1, 1}), kTime));

    RawDb raw(m_path);
    EXPECT_EQ(raw.rows("SELECT OperationID, Family_Name, Amount, Balance, DateTime FROM Players"
                       " ORDER BY ROWID"),
              (Rows{{"1", "Hero", "250.0", "250.0", kTime},
                    {"2", "Master", "-250.0", "-250.0", kTime},
                    {"3", "Tim", "0.0", "0.0", kTime},
                    {"4", "Maniac", "0.0", "0.0", kTime},
                    {"5", "Professor", "0.0", "0.0", kTime}}));
    EXPECT_EQ(raw.rows("SELECT OperationID, Family_Name, NG, NGamesVPIP, nVPIP, nPFR, n3Bet "
                       "FROM Statistics ORDER BY ROWID"),
              (Rows{{"1", "Hero", "4.0", "3.0", "2.0", "1.0", "1.0"},
                    {"2", "Master", "1.0", "1.0", "1.0", "0.0", "0.0"},
                    {"3", "Tim", "0.0", "0.0", "0.0", "0.0", "0.0"},
                    {"4", "Maniac", "0.0", "0.0", "0.0", "0.0", "0.0"},
                    {"5", "Professor", "0.0", "0.0", "0.0", "0.0", "0.0"}}));
}

TEST_F(PokerTablesTest, LaterRunsContinueNumberingAndRunningTotals)
{
    {
        CPokerDatabase db;
        ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
        ASSERT_TRUE(SaveSessionResults(db, FivePersonas(250, {4, 3, 2, 1, 1}), kTime));
    }
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
    ASSERT_TRUE(SaveSessionResults(db, FivePersonas(-100, {2, 2, 1, 1, 0}), kTime));

    RawDb raw(m_path);
    EXPECT_EQ(raw.value("SELECT group_concat(OperationID) FROM Players"), "1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(raw.value("SELECT group_concat(OperationID) FROM Statistics"),
              "1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(raw.rows("SELECT Amount, Balance FROM Players WHERE Family_Name = 'Hero'"),
              (Rows{{"250.0", "250.0"}, {"-100.0", "150.0"}}));
    EXPECT_EQ(raw.rows("SELECT NG, NGamesVPIP, nVPIP, nPFR, n3Bet FROM Statistics "
                       "WHERE OperationID = 6"),
              (Rows{{"6.0", "5.0", "3.0", "2.0", "1.0"}}));
    // A name without a result this time keeps its balance.
    EXPECT_EQ(raw.value("SELECT Balance FROM Players WHERE OperationID = 8"), "0.0");

    // The tables are left on the last name saved, positioned on its new row.
    EXPECT_EQ(db.m_playersTbl.m_familyName.str(), "Professor");
    EXPECT_EQ(db.m_playersTbl.m_operationID, 10);
}

TEST_F(PokerTablesTest, OldStatisticsTableGainsN3BetAndKeepsColumnsApart)
{
    {
        RawDb raw(m_path);
        ASSERT_TRUE(raw.exec(kPlayersCreate));
        ASSERT_TRUE(raw.exec("CREATE TABLE [Statistics] ( [OperationID] INT,[Family_Name] TEXT,"
                             "[NG] DOUBLE,[NGamesVPIP] DOUBLE,[nVPIP] DOUBLE,[nPFR] DOUBLE,"
                             "[DateTime] TEXT)"));
        ASSERT_TRUE(raw.exec("INSERT INTO Statistics VALUES (7, 'Hero', 10, 9, 5, 2, 'then')"));
    }
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
    {
        RawDb raw(m_path);
        EXPECT_EQ(raw.value("SELECT n3Bet FROM Statistics"), "0.0");
    }
    ASSERT_TRUE(SaveSessionResults(db, FivePersonas(0, {1, 1, 1, 1, 1}), kTime));

    RawDb raw(m_path);
    EXPECT_EQ(raw.rows("SELECT OperationID, NG, nPFR, n3Bet, DateTime FROM Statistics "
                       "WHERE Family_Name = 'Hero' ORDER BY ROWID"),
              (Rows{{"7", "10.0", "2.0", "0.0", "then"}, {"8", "11.0", "3.0", "1.0", kTime}}));
}

TEST_F(PokerTablesTest, FileWithOnlyOneTableGetsTheOther)
{
    for (const char *present : {kPlayersCreate, kStatisticsCreate}) {
        std::filesystem::remove(m_path);
        {
            RawDb raw(m_path);
            ASSERT_TRUE(raw.exec(present));
        }
        CPokerDatabase db;
        ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
        ASSERT_TRUE(SaveSessionResults(db, FivePersonas(5), kTime));
        RawDb raw(m_path);
        EXPECT_EQ(raw.createStatement("Players"), kPlayersCreate);
        EXPECT_EQ(raw.createStatement("Statistics"), kStatisticsCreate);
        EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Players"), "5");
        EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Statistics"), "5");
    }
}

TEST_F(PokerTablesTest, NamesAreStoredAsTypedAndKeepTheirOwnBalances)
{
    // "" must not pick up the balance of the name saved before it.
    const std::string names[] = {
        "O'Brien\"; DROP TABLE Players; --", "O", "[Tim]", "Жёлудь Zoë", "a' OR '1'='1", ""};
    constexpr int kNames = 6;
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
    for (int run = 1; run <= 2; ++run) {
        SessionResult result;
        for (int i = 0; i < kNames; ++i)
            result.push_back({names[i], (i + 1) * 10 * run, {run, 0, 0, 0, 0}});
        ASSERT_TRUE(SaveSessionResults(db, result, kTime));
    }
    RawDb raw(m_path);
    for (int i = 0; i < kNames; ++i) {
        SCOPED_TRACE(names[i]);
        const std::string second = std::to_string(kNames + i + 1);
        const auto rows =
            raw.rows("SELECT Family_Name, Balance FROM Players WHERE ROWID = " + second);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][0], names[i]);
        EXPECT_EQ(std::stod(rows[0][1]), (i + 1) * 30.0);
        EXPECT_EQ(std::stod(raw.value("SELECT NG FROM Statistics WHERE ROWID = " + second)), 3.0);
    }
}

TEST_F(PokerTablesTest, CorruptFileLeavesTheGameUnsavedAndTheFileUntouched)
{
    {
        std::ofstream out(m_path, std::ios::binary);
        out << std::string(4096, 'x');
    }
    const std::string before = FileBytes(m_path);
    CPokerDatabase db;
    EXPECT_FALSE(OpenDatabase(db, m_folder.path()));
    EXPECT_FALSE(db.m_usable);
    EXPECT_FALSE(SaveSessionResults(db, FivePersonas(10), kTime));
    EXPECT_FALSE(AppendLedgerRow(db, "Hero", kTime, 1.0));
    EXPECT_EQ(FileBytes(m_path), before);
}

TEST_F(PokerTablesTest, NeverOpenedOrMissingFolderSavesNothing)
{
    CPokerDatabase never;
    EXPECT_FALSE(SaveSessionResults(never, FivePersonas(10), kTime));
    EXPECT_FALSE(AppendStatisticsRow(never, "Hero", kTime, {}));

    CPokerDatabase missing;
    EXPECT_FALSE(OpenDatabase(missing, m_folder.file("no/such/folder")));
    EXPECT_FALSE(SaveSessionResults(missing, FivePersonas(10), kTime));
}

TEST_F(PokerTablesTest, ReadOnlyFileSavesNothing)
{
    {
        CPokerDatabase db;
        ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
    }
    const std::string before = FileBytes(m_path);
    testsupport::RunUnprivileged(m_folder.path(), [&] {
        ASSERT_EQ(chmod(m_path.c_str(), 0444), 0);
        CPokerDatabase db;
        OpenDatabase(db, m_folder.path());
        EXPECT_FALSE(SaveSessionResults(db, FivePersonas(10), kTime));
    });
    EXPECT_EQ(FileBytes(m_path), before);
    RawDb raw(m_path);
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Players"), "0");
}

TEST_F(PokerTablesTest, SaveIsAllOrNothing)
{
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, m_folder.path()));
    {
        RawDb raw(m_path);
        // Fails the eighth of the ten appends.
        ASSERT_TRUE(raw.exec("CREATE TRIGGER refuse BEFORE INSERT ON Statistics "
                             "WHEN NEW.Family_Name = 'Maniac' BEGIN SELECT RAISE(ABORT, 'no'); "
                             "END"));
    }
    EXPECT_FALSE(SaveSessionResults(db, FivePersonas(10), kTime));
    {
        RawDb raw(m_path);
        EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Players"), "0");
        EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Statistics"), "0");
        ASSERT_TRUE(raw.exec("DROP TRIGGER refuse"));
    }
    // The rolled-back rows leave no trace in the numbering either.
    ASSERT_TRUE(SaveSessionResults(db, FivePersonas(10), kTime));
    RawDb raw(m_path);
    EXPECT_EQ(raw.value("SELECT group_concat(OperationID) FROM Players"), "1,2,3,4,5");
    EXPECT_EQ(raw.value("SELECT group_concat(OperationID) FROM Statistics"), "1,2,3,4,5");
    EXPECT_EQ(raw.value("SELECT Balance FROM Players WHERE Family_Name = 'Hero'"), "10.0");
}

TEST_F(PokerTablesTest, SaveWaitsForAnotherWriterAndCountsItsRows)
{
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, m_folder.path()));

    RawDb other(m_path);
    ASSERT_TRUE(other.exec("BEGIN IMMEDIATE"));
    ASSERT_TRUE(other.exec("INSERT INTO Players VALUES (41, 'Hero', 5, 5, 'other')"));
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        other.exec("COMMIT");
    });
    const auto start = std::chrono::steady_clock::now();
    const bool saved = SaveSessionResults(db, FivePersonas(10), kTime);
    const auto waited = std::chrono::steady_clock::now() - start;
    release.join();

    ASSERT_TRUE(saved);
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    RawDb raw(m_path);
    EXPECT_EQ(raw.rows("SELECT OperationID, Balance FROM Players WHERE Family_Name = 'Hero' "
                       "ORDER BY ROWID"),
              (Rows{{"41", "5.0"}, {"42", "15.0"}}));
}

TEST_F(PokerTablesTest, SaveTimeFormat)
{
    const std::string text = FormatSaveTime(1'765'000'000);
    // A digit wherever the shape has a 9 (std::regex trips GCC's uninitialized-use warning in
    // the sanitizer build).
    const std::string shape = " 9999.99.99  99:99:99\n";
    ASSERT_EQ(text.size(), shape.size()) << text;
    for (size_t i = 0; i < shape.size(); ++i)
        EXPECT_TRUE(shape[i] == '9' ? std::isdigit(static_cast<unsigned char>(text[i])) != 0
                                    : text[i] == shape[i])
            << text;
}
