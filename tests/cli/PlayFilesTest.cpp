// Games of `brisquel-cli play` run as real processes, one after another and two at once, into
// one folder: every game keeps a whole hand history and its rows, rows are dated by the wall
// clock, and a save that fails says so with exit status 3.

#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kNotSaved = 3;
constexpr int kFilesNotWritten = 4;

std::vector<std::string> ShortGame(const fs::path &out, int seed)
{
    return {"play",  "--seats",   "3", "--hands", "3", "--seed", std::to_string(seed),
            "--out", out.string()};
}

class Database
{
public:
    explicit Database(const fs::path &path)
    {
        sqlite3 *raw = nullptr;
        sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        m_db.reset(raw);
    }
    bool Exec(const std::string &sql)
    {
        return sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    std::vector<std::string> Column(const std::string &sql)
    {
        std::vector<std::string> values;
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return values;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto *text = sqlite3_column_text(stmt, 0);
            values.emplace_back(text ? reinterpret_cast<const char *>(text) : "NULL");
        }
        sqlite3_finalize(stmt);
        return values;
    }

private:
    struct Closer
    {
        void operator()(sqlite3 *db) const { sqlite3_close(db); }
    };
    std::unique_ptr<sqlite3, Closer> m_db;
};

int HandsPlayed(const CliResult &r)
{
    const std::string label = "Hands played: ";
    const auto at = r.out.find(label);
    return at == std::string::npos ? -1 : std::atoi(r.out.c_str() + at + label.size());
}

int Count(const std::string &text, const std::string &part)
{
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Whole: one game's start, and as many hand headers as hands played, in one file each.
// Returns the hands found across the files.
int CheckWholeHistories(const fs::path &folder, std::size_t files)
{
    std::vector<fs::path> paths;
    std::size_t ownLogs = 0;
    for (const auto &entry : fs::directory_iterator(folder / "HandHistory")) {
        if (entry.path().extension() == ".txt")
            paths.push_back(entry.path());
        else
            ownLogs += entry.path().extension() == ".log" ? 1 : 0;
    }
    EXPECT_EQ(paths.size(), files);
    EXPECT_EQ(ownLogs, files) << "each game keeps its own log lines beside its hand history";
    int hands = 0;
    for (const fs::path &path : paths) {
        const std::string text = ReadWholeFile(path);
        EXPECT_EQ(text.rfind("\r\n==================START Ostrivane ", 0), 0u) << path;
        EXPECT_EQ(Count(text, "==================START"), 1) << path;
        const int headers = Count(text, "Hold'em No Limit");
        EXPECT_GE(headers, 1) << path;
        hands += headers;
    }
    return hands;
}

// Every game's rows are there, numbered without gaps or repeats.
void CheckRows(const fs::path &folder, int games)
{
    Database db(folder / "PokerDB.db3");
    for (const char *table : {"Players", "Statistics"}) {
        const auto ids =
            db.Column(std::string("SELECT OperationID FROM ") + table + " ORDER BY OperationID");
        ASSERT_FALSE(ids.empty()) << table;
        EXPECT_EQ(ids.size() % static_cast<std::size_t>(games), 0u) << table;
        for (std::size_t i = 0; i < ids.size(); ++i)
            EXPECT_EQ(ids[i], std::to_string(i + 1)) << table;
    }
    EXPECT_EQ(db.Column("SELECT COUNT(*) FROM Players"),
              db.Column("SELECT COUNT(*) FROM Statistics"));
}

} // namespace

TEST(PlayFiles, FiftyGamesInARowLeaveFiftyWholeHistories)
{
    TempFolder folder;
    int handsPlayed = 0;
    std::size_t rowsAfterFirst = 0;
    for (int game = 0; game < 50; ++game) {
        const CliResult r = RunCli(ShortGame(folder.path(), game));
        ASSERT_EQ(r.status, 0) << r.err;
        handsPlayed += HandsPlayed(r);
        if (game == 0)
            rowsAfterFirst =
                Database(folder.path() / "PokerDB.db3").Column("SELECT * FROM Players").size();
    }
    EXPECT_EQ(CheckWholeHistories(folder.path(), 50), handsPlayed);
    CheckRows(folder.path(), 50);
    EXPECT_EQ(Database(folder.path() / "PokerDB.db3").Column("SELECT * FROM Players").size(),
              50 * rowsAfterFirst);
}

TEST(PlayFiles, TwoGamesStartedTogetherKeepTheirFilesAndRows)
{
    // Both with and without a database in the folder; the pair is repeated until the two
    // started in the same second at least once (nearly always the first time).
    for (const bool existingDatabase : {false, true}) {
        bool sameSecond = false;
        for (int round = 0; round < 8 && !sameSecond; ++round) {
            TempFolder folder;
            int games = 0, handsPlayed = 0;
            if (existingDatabase) {
                const CliResult first = RunCli(ShortGame(folder.path(), 100));
                ASSERT_EQ(first.status, 0) << first.err;
                handsPlayed += HandsPlayed(first);
                ++games;
            }
            CliProcess a(ShortGame(folder.path(), 1));
            CliProcess b(ShortGame(folder.path(), 2));
            for (CliProcess *process : {&a, &b}) {
                const CliResult r = process->Wait();
                ASSERT_EQ(r.status, 0) << r.err;
                handsPlayed += HandsPlayed(r);
                ++games;
            }
            EXPECT_EQ(CheckWholeHistories(folder.path(), static_cast<std::size_t>(games)),
                      handsPlayed);
            CheckRows(folder.path(), games);
            for (const auto &entry : fs::directory_iterator(folder.path() / "HandHistory"))
                sameSecond = sameSecond || entry.path().filename().string().ends_with("_002.txt");
        }
        EXPECT_TRUE(sameSecond) << "no two games started in the same second";
    }
}

TEST(PlayFiles, RowsAreDatedByTheWallClockOfTheSave)
{
    TempFolder folder;
    const std::time_t before = std::time(nullptr);
    // 40 hands move the game's own clock 20 minutes ahead.
    const CliResult r = RunCli({"play", "--seats", "6", "--hands", "40", "--stacks", "100000",
                                "--seed", "3", "--out", folder.str()});
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(HandsPlayed(r), 40);
    const auto stamps =
        Database(folder.path() / "PokerDB.db3").Column("SELECT DateTime FROM Players");
    ASSERT_FALSE(stamps.empty());
    for (const std::string &stamp : stamps) {
        std::tm local{};
        ASSERT_NE(strptime(stamp.c_str(), " %Y.%m.%d  %H:%M:%S", &local), nullptr) << stamp;
        local.tm_isdst = -1;
        const std::time_t saved = std::mktime(&local);
        EXPECT_GE(saved, before) << stamp;
        EXPECT_LE(saved, after) << stamp;
        EXPECT_EQ(stamp.back(), '\n');
    }
}

namespace {

struct SaveFailure
{
    const char *name;
    std::function<void(const fs::path &)> breakFolder;
    std::string reason;
    bool asPlainUser = false; // root writes into read-only files and folders
};

class FailedSave : public testing::TestWithParam<SaveFailure>
{
};

void PrintTo(const SaveFailure &failure, std::ostream *os)
{
    *os << failure.name;
}

void MakeDatabase(const fs::path &folder)
{
    const CliResult r = RunCli(ShortGame(folder, 7));
    ASSERT_EQ(r.status, 0) << r.err;
}

} // namespace

TEST_P(FailedSave, SaysWhichFileAndWhyPrintsTheResultsAndExitsThree)
{
    TempFolder folder;
    const auto breakAndPlay = [&] {
        GetParam().breakFolder(folder.path());
        const CliResult r = RunCli(ShortGame(folder.path(), 11));
        EXPECT_EQ(r.status, kNotSaved) << r.err;
        EXPECT_NE(r.err.find("brisquel-cli play: the results could not be saved to " +
                             (folder.path() / "PokerDB.db3").string() + ": " + GetParam().reason +
                             "\n"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(HandsPlayed(r), 3) << r.out;
        EXPECT_NE(r.out.find("Chips: 3000 at the start, 3000 at the end"), std::string::npos);
    };
    if (GetParam().asPlainUser)
        RunCliUnprivileged(folder.path(), breakAndPlay);
    else
        breakAndPlay();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedSave,
    testing::Values(SaveFailure{"DamagedFile",
                                [](const fs::path &folder) {
                                    std::ofstream(folder / "PokerDB.db3") << std::string(3000, '#');
                                },
                                "file is not a database"},
                    SaveFailure{
                        "RefusedInsert",
                        [](const fs::path &folder) {
                            MakeDatabase(folder);
                            Database(folder / "PokerDB.db3")
                                .Exec("CREATE TRIGGER Full BEFORE INSERT ON Players BEGIN SELECT "
                                      "RAISE(ABORT, 'the ledger is closed'); END");
                        },
                        "the ledger is closed"},
                    SaveFailure{"ReadOnlyFile",
                                [](const fs::path &folder) {
                                    MakeDatabase(folder);
                                    fs::permissions(folder / "PokerDB.db3", fs::perms::owner_read);
                                },
                                "attempt to write a readonly database", true},
                    SaveFailure{"UnwritableFolder",
                                [](const fs::path &folder) {
                                    fs::permissions(folder,
                                                    fs::perms::owner_read | fs::perms::owner_exec);
                                },
                                "unable to open database file (Permission denied)", true}),
    testing::PrintToStringParamName());

TEST(PlayFiles, ALockHeldTooLongFailsTheSave)
{
    TempFolder folder;
    MakeDatabase(folder.path());
    Database holder(folder.path() / "PokerDB.db3");
    ASSERT_TRUE(holder.Exec("BEGIN EXCLUSIVE"));
    const CliResult r = RunCli(ShortGame(folder.path(), 12));
    ASSERT_TRUE(holder.Exec("ROLLBACK"));
    EXPECT_EQ(r.status, kNotSaved) << r.err;
    EXPECT_NE(r.err.find("PokerDB.db3: database is locked\n"), std::string::npos) << r.err;
    EXPECT_EQ(HandsPlayed(r), 3);
}

TEST(PlayFiles, TextFilesThatCannotBeWrittenAreNamedOnceEachAndExitFour)
{
    TempFolder folder;
    fs::create_directories(folder.path() / "HistoryGame.log");
    std::ofstream(folder.path() / "HandHistory") << "not a folder";
    const CliResult r = RunCli(ShortGame(folder.path(), 13));
    EXPECT_EQ(r.status, kFilesNotWritten) << r.err;
    EXPECT_EQ(Count(r.err, "could not write the game log " +
                               (folder.path() / "HistoryGame.log").string() + ": Is a directory\n"),
              1)
        << r.err;
    EXPECT_EQ(Count(r.err, "could not write the hand history "), 1) << r.err;
    EXPECT_EQ(Count(r.err, "\n"), 2) << r.err;
    EXPECT_EQ(HandsPlayed(r), 3);
    // The results were saved all the same.
    EXPECT_FALSE(Database(folder.path() / "PokerDB.db3").Column("SELECT * FROM Players").empty());
}

TEST(PlayFiles, GamesAtTheLargestBlindsAcceptedKeepEveryChip)
{
    // Blinds and stacks at the limit the hand-history readers share: the game reads back.
    for (const char *blinds : {"50000000/100000000", "100000000/100000000"}) {
        TempFolder folder;
        const CliResult r = RunCli({"play", "--seats", "3", "--blinds", blinds, "--stacks",
                                    "33333333,33333333,33333334", "--hands", "30", "--seed", "21",
                                    "--out", folder.str()});
        EXPECT_EQ(r.status, 0) << blinds << ": " << r.err;
        EXPECT_EQ(r.err, "") << blinds;
        EXPECT_NE(r.out.find("Chips: 100000000 at the start, 100000000 at the end"),
                  std::string::npos)
            << r.out;
        const CliResult exported = RunCli({"export", folder.str()});
        EXPECT_EQ(exported.status, 0) << exported.err;
        EXPECT_NE(exported.out.find("PokerStars Hand #"), std::string::npos) << blinds;
    }
}
