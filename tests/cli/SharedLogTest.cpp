// The shared game log under games that start and end around each other: cutting it back never
// takes lines from a game still writing it, and every finished game can be reviewed however
// many games came after it in the same folder.

#include "tests/cli/CliProcess.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const std::string kLog = "HistoryGame.log";

std::vector<std::string> Game(const fs::path &out, int seed, int hands, const std::string &stacks)
{
    return {"play",
            "--seats",
            "3",
            "--hands",
            std::to_string(hands),
            "--seed",
            std::to_string(seed),
            "--stacks",
            stacks,
            "--blinds",
            "1/2",
            "--out",
            out.string()};
}

// Whole lines past the size at which a starting game cuts the log back.
void AppendPastTheTrimSize(const fs::path &log)
{
    std::ofstream out(log, std::ios::binary | std::ios::app);
    const std::string line = std::string(98, '#') + "\r\n";
    for (int i = 0; i < 2600; ++i)
        out << line;
}

std::vector<fs::path> Files(const fs::path &folder, const std::string &suffix)
{
    std::vector<fs::path> files;
    for (const auto &entry : fs::directory_iterator(folder / "HandHistory"))
        if (entry.path().extension() == suffix)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::map<std::string, int> LineCounts(const std::string &text)
{
    std::map<std::string, int> counts;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        ++counts[line];
    return counts;
}

} // namespace

TEST(SharedLog, TwoGamesTrimmingWhileAThirdRunsLoseNoLine)
{
    testsupport::TempFolder folder;
    // The long game writes the log for seconds; the log passes the trim size while it runs, so
    // the two short games started then both want to cut it back.
    CliProcess running(Game(folder.path(), 1, 3000, "10000000"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(folder.path() / kLog) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    AppendPastTheTrimSize(folder.path() / kLog);
    CliProcess first(Game(folder.path(), 2, 3, "1000"));
    CliProcess second(Game(folder.path(), 3, 3, "1000"));
    for (CliProcess *game : {&first, &second, &running}) {
        const CliResult r = game->Wait();
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const std::vector<fs::path> own = Files(folder.path(), ".log");
    ASSERT_EQ(own.size(), 3u);
    // Every line each game wrote is in the shared log (the games' lines interleave there).
    std::map<std::string, int> written;
    for (const fs::path &path : own)
        for (const auto &[line, count] : LineCounts(ReadWholeFile(path)))
            written[line] += count;
    const std::map<std::string, int> shared = LineCounts(ReadWholeFile(folder.path() / kLog));
    int lost = 0;
    for (const auto &[line, count] : written) {
        const auto found = shared.find(line);
        lost += std::max(0, count - (found == shared.end() ? 0 : found->second));
    }
    EXPECT_EQ(lost, 0);
}

TEST(SharedLog, EveryGameStaysReviewableAfterThirtyMoreGames)
{
    testsupport::TempFolder folder;
    AppendPastTheTrimSize(folder.path() / kLog);
    for (int game = 0; game < 31; ++game) {
        const CliResult r = RunCli(Game(folder.path(), 10 + game, 20, "1000"));
        ASSERT_EQ(r.status, 0) << r.err;
    }
    EXPECT_LT(fs::file_size(folder.path() / kLog), 200000u) << "the log was cut back";
    const std::vector<fs::path> games = Files(folder.path(), ".txt");
    ASSERT_EQ(games.size(), 31u);
    for (const fs::path &game : games) {
        const CliResult r = RunCli({"review", game.string(), "--trials", "10", "--samples", "5"});
        EXPECT_EQ(r.status, 0) << game << r.err;
        EXPECT_EQ(r.err.find("game log"), std::string::npos) << game << r.err;
    }
}
