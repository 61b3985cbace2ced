// Text and numbers from files reach the terminal escaped and range-checked, and a folder path
// too long for the files is refused before anything is made.

#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

bool Exec(const fs::path &db, const std::string &sql)
{
    sqlite3 *raw = nullptr;
    sqlite3_open(db.c_str(), &raw);
    const bool done = sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(raw);
    return done;
}

int Count(const std::string &text, char c)
{
    return static_cast<int>(std::count(text.begin(), text.end(), c));
}

const char kEvilName[] = "Evil\x1b]0;owned\x07\nX";

} // namespace

TEST(FileTextOnTheTerminal, ResultsEscapesNamesAndRefusesNumbersOutOfRange)
{
    ScratchFolder folder;
    const fs::path db = folder.path() / "PokerDB.db3";
    ASSERT_TRUE(Exec(db, "CREATE TABLE Players (OperationID INTEGER, Family_Name TEXT, "
                         "Amount REAL, Balance REAL, DateTime TEXT);"
                         "INSERT INTO Players VALUES (1, 'Hero', 50, 50, '');"
                         "INSERT INTO Players VALUES (2, '" +
                             std::string(kEvilName) + "', -50, -50, '')"));
    CliResult r = RunCli({"results", "--db", db.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Count(r.out, '\n'), 3) << r.out; // the header and one line per name
    EXPECT_EQ(Count(r.out, '\x1b'), 0);
    EXPECT_NE(r.out.find("Evil\\x1b]0;owned\\x07\\nX"), std::string::npos) << r.out;

    ASSERT_TRUE(Exec(db, "UPDATE Players SET Amount = 1e308 WHERE OperationID = 2"));
    r = RunCli({"results", "--db", db.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("holds Amount = 1e+308, out of range"), std::string::npos) << r.err;
}

TEST(FileTextOnTheTerminal, ReviewEscapesNamesAndSkippedLines)
{
    ScratchFolder folder;
    const std::string evil = "\x1b]0;owned\x07_1";
    const fs::path file = folder.path() / "HH_20231114_221320.txt";
    std::ofstream(file) << "==================START Ostrivane 2023.11.14  22:13:20 ====\n"
                           "Seat 0: Hero_0 (1000 in chips) StrategyName is Hero\n"
                           "Seat 1: "
                        << evil
                        << " (1000 in chips) StrategyName is Master\n"
                           "=========================\n"
                           "Ostrivane Hand #1: Hold'em No Limit (10/20) - 2023.11.14  22:13:20\n"
                           "Table 'Game' 2-max Seat #1 is the button\n"
                           "Seat 0: Hero_0 (1000 in chips)\n"
                           "Seat 1: "
                        << evil << " (1000 in chips)\n"
                        << evil
                        << ": posts small blind 10\n"
                           "Hero_0: posts big blind 20\n"
                           "*** HOLE CARDS ***\n"
                           "Dealt to Hero_0 [ Ah Kd ]\n"
                           "Nobody\x1b[2J: folds\n"
                        << evil
                        << ": folds\n"
                           "Hero_0 collected 30 from pot \n";
    CliResult r = RunCli({"review", file.string(), "--player", "Ghost"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(Count(r.err, '\x1b'), 0) << r.err;
    EXPECT_NE(r.err.find("Hero_0, \\x1b]0;owned\\x07_1)"), std::string::npos) << r.err;

    r = RunCli({"review", file.string(), "--trials", "100"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Count(r.err + r.out, '\x1b'), 0) << r.err;
    EXPECT_NE(r.err.find("skipped \"Nobody\\x1b[2J: folds\""), std::string::npos) << r.err;
}

TEST(FileTextOnTheTerminal, AFolderPathTooLongIsRefusedBeforeAnythingIsMade)
{
    ScratchFolder folder;
    fs::path deep = folder.path();
    for (int i = 0; i < 38; ++i)
        deep /= std::string(100, 'd');
    const std::vector<std::pair<std::vector<std::string>, std::string>> commands = {
        {{"--data-dir", deep.string(), "play", "--seats", "2", "--hands", "1"}, "--data-dir"},
        {{"play", "--seats", "2", "--hands", "1", "--out", deep.string()}, "--out"},
    };
    for (const auto &[args, option] : commands) {
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(option + ": the folder's path is " +
                             std::to_string(deep.string().size()) + " bytes long"),
                  std::string::npos)
            << r.err;
        EXPECT_TRUE(fs::is_empty(folder.path()));
    }
}
