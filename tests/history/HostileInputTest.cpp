// The readers under input no game writes: damaged boards and amounts past the bound leave out
// that hand alone with a warning that names the line; special files and failing reads give a
// message, never a hang or an exception; a game keeps its own log lines, so the shared log's
// trimming cannot take a finished game away.
#include "engine/GameFiles.h"
#include "engine/TextFile.h"
#include "history/FileText.h"
#include "history/HistoryReader.h"
#include "lineformat/GameLines.h"
#include "opponents/BotGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path TempFolder(const std::string &name)
{
    const fs::path folder =
        fs::temp_directory_path() / ("brisquel_hostile_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string ReadAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A seeded heads-up bot game: its hand history and its own log lines.
struct PlayedGame
{
    std::string history;
    std::string log;
};

const PlayedGame &SeededGame()
{
    static const PlayedGame game = [] {
        const fs::path folder = TempFolder("seeded");
        BotGameOptions options;
        options.names = DefaultBotNames(2);
        options.stacks.assign(2, 1000);
        options.lastHand = 30;
        options.seed = 7;
        options.outputFolder = folder.string();
        RunBotGame(options);
        std::string error;
        const std::string path = history::FindHistoryFiles(folder.string(), error).at(0);
        PlayedGame played{ReadAll(path), ReadAll(history::GameLogPathOf(path))};
        fs::remove_all(folder);
        return played;
    }();
    return game;
}

// The text with the first line that starts with `prefix` changed by `edit` (line and its end).
struct Damage
{
    const char *name;
    const char *prefix; // the line changed: the first that starts with it
    int after;          // the damage is on this many lines after it
    // The new text of the line (with its end), given the line and the name of seat 1.
    std::function<std::string(const std::string &, const std::string &)> edit;
};
void PrintTo(const Damage &c, std::ostream *os)
{
    *os << c.name;
}

// The text with the first line after the game's seats that starts with `prefix` edited.
std::string EditFirst(const std::string &text, const std::string &prefix, const Damage &damage,
                      const std::string &name, int &lineNumber)
{
    const size_t at = text.find("\n" + prefix, text.find(gamelines::kHandPrefix)) + 1;
    const size_t end = text.find('\n', at) + 1;
    lineNumber =
        static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n')) + 1;
    return text.substr(0, at) + damage.edit(text.substr(at, end - at), name) + text.substr(end);
}

class DamagedHand : public testing::TestWithParam<Damage>
{
};

} // namespace

TEST_P(DamagedHand, IsLeftOutWithAWarningNamingItsLine)
{
    const PlayedGame &played = SeededGame();
    history::Game sound;
    std::string error;
    ASSERT_TRUE(history::ParseGame(played.history, played.log, sound, error)) << error;
    ASSERT_EQ(sound.damagedHands, 0);

    int line = 0;
    const std::string damaged =
        EditFirst(played.history, GetParam().prefix, GetParam(), sound.seats[1].name, line);
    history::Game game;
    ASSERT_TRUE(history::ParseGame(damaged, played.log, game, error, "hh.txt")) << error;
    EXPECT_EQ(game.damagedHands, 1);
    EXPECT_EQ(game.hands.size() + 1, sound.hands.size());
    const std::string where = "hh.txt, line " + std::to_string(line + GetParam().after) + ":";
    EXPECT_TRUE(std::any_of(game.warnings.begin(), game.warnings.end(), [&](const std::string &w) {
        return w.find(where) != std::string::npos && w.find("left out") != std::string::npos;
    })) << where;
    for (const history::Hand &hand : game.hands) {
        EXPECT_GE(hand.pot, 0);
        EXPECT_LE(hand.board.size(), 5u);
    }
}

namespace {

std::string Board(const std::string &line, const std::string &street, const std::string &cards)
{
    return "*** " + street + " *** [" + cards + "]" + line.substr(line.find(']') + 1);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedHand,
    testing::Values(
        Damage{"DuplicatedFlop", "*** FLOP", 1, [](const std::string &l, auto &) { return l + l; }},
        Damage{"FlopCardThatIsNoCard", "*** FLOP", 0,
               [](const std::string &l, auto &) { return Board(l, "FLOP", "Xx 2c 3d"); }},
        Damage{"FlopOfTwoCards", "*** FLOP", 0,
               [](const std::string &l, auto &) { return Board(l, "FLOP", "2c 3d"); }},
        Damage{"RepeatedBoardCard", "*** FLOP", 0,
               [](const std::string &l, auto &) { return Board(l, "FLOP", "2c 2c 3d"); }},
        Damage{"TurnBeforeTheFlop", "*** FLOP", 0,
               [](const std::string &l, auto &) { return Board(l, "TURN", "4h") + l; }},
        // Two calls each inside int: their sum overflowed the replay's pot.
        Damage{"TwoHugeCalls", "*** HOLE CARDS", 1,
               [](const std::string &l, const std::string &name) {
                   return l + name + ": calls 2147483647\r\n" + name + ": calls 2147483647\r\n";
               }},
        Damage{"CallsThatAddUpPastTheBound", "*** HOLE CARDS", 2,
               [](const std::string &l, const std::string &name) {
                   return l + name + ": calls 60000000\r\n" + name + ": calls 60000000\r\n";
               }},
        Damage{"NegativeCall", "*** HOLE CARDS", 1,
               [](const std::string &l, const std::string &name) {
                   return l + name + ": calls -50\r\n";
               }},
        Damage{"StackPastTheBound", "Seat 1: ", 0,
               [](const std::string &l, auto &) {
                   return l.substr(0, l.find('(')) + "(2000000000 in chips)\r\n";
               }}),
    [](const testing::TestParamInfo<Damage> &param) { return std::string(param.param.name); });

// What is no regular file, too large, or fails while read: a message, at once.
TEST(ReadFileText, RefusesWhatIsNoRegularFileAndTurnsReadErrorsIntoMessages)
{
    const fs::path folder = TempFolder("files");
    const std::string fifo = (folder / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(folder / "big.txt") << std::string(2000, 'x');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {fifo, "is not a regular file"},
        {"/dev/zero", "is not a regular file"},
        {"/proc/self/mem", "cannot read /proc/self/mem"},
        {folder.string(), "is a folder"},
        {(folder / "missing.txt").string(), "does not exist"},
        {(folder / "big.txt").string(), "too large"},
    };
    for (const auto &[path, expected] : cases) {
        std::string text = "stale";
        std::string error;
        EXPECT_FALSE(history::ReadFileText(path, text, error, 1000)) << path;
        EXPECT_NE(error.find(expected), std::string::npos) << error;
        EXPECT_TRUE(text.empty()) << path;
        // The history reader goes through it too: no hang on the FIFO, no exception.
        history::Game game;
        EXPECT_FALSE(history::ReadGameFile(path, game, error)) << path;
        // A look at a file's start refuses the same files, but for the size.
        const bool sized = expected == std::string("too large");
        EXPECT_EQ(history::ReadFileStart(path, 1000, text, error), sized) << path;
    }
    std::string start, error;
    ASSERT_TRUE(history::ReadFileStart((folder / "big.txt").string(), 1500, start, error));
    EXPECT_EQ(start, std::string(1500, 'x'));
    ASSERT_TRUE(history::ReadFileStart((folder / "big.txt").string(), 3000, start, error));
    EXPECT_EQ(start.size(), 2000u);
    fs::remove_all(folder);
}

// A finished game is read with its own log lines when the shared log has lost them.
TEST(GameOwnLog, KeepsAGameReviewableAfterTheSharedLogLostIt)
{
    const fs::path folder = TempFolder("ownlog");
    BotGameOptions options;
    options.names = DefaultBotNames(3);
    options.stacks.assign(3, 1000);
    options.lastHand = 5;
    options.seed = 3;
    options.outputFolder = folder.string();
    RunBotGame(options);
    std::string error;
    const std::string path = history::FindHistoryFiles(folder.string(), error).at(0);
    const fs::path shared = folder / gamelines::kLogFileName;
    EXPECT_NE(ReadAll(shared).find(ReadAll(history::GameLogPathOf(path))), std::string::npos)
        << "the game's own log lines are those it wrote to the shared log";
    std::ofstream(shared, std::ios::trunc) << "";
    history::Game game;
    ASSERT_TRUE(history::ReadGameFile(path, game, error)) << error;
    EXPECT_TRUE(game.logPaired);
    EXPECT_EQ(game.logPath, history::GameLogPathOf(path));
    fs::remove_all(folder);
}

// The trimming never cuts a log another game holds open; once nobody does, it cuts.
TEST(GameOwnLog, TrimmingWaitsForTheLogToBeFree)
{
    const fs::path folder = TempFolder("trim");
    const std::string log = (folder / gamelines::kLogFileName).string();
    std::ofstream(log, std::ios::binary) << std::string(250000, 'a');
    {
        TextFile running;
        ASSERT_TRUE(running.Open(log, "a"));
        ASSERT_TRUE(running.LockShared());
        EXPECT_FALSE(GameFiles::TrimLog(log));
        running.Write("line of the running game\n");
        running.Flush();
        EXPECT_TRUE(running.StillAtPath());
    }
    EXPECT_GT(fs::file_size(log), 250000u);
    EXPECT_TRUE(GameFiles::TrimLog(log));
    const std::string kept = ReadAll(log);
    EXPECT_EQ(kept.size(), 80000u);
    EXPECT_NE(kept.find("line of the running game\r\n"), std::string::npos);
    fs::remove_all(folder);
}
