// Hand-history files are never overwritten or shared, and a file that cannot be written is
// reported once, with the reason.

#include "tests/engine/EngineTestSupport.h"

#include <map>

namespace enginetest {
namespace {

class HistoryFiles : public GameFixture
{
};

TEST_F(HistoryFiles, GamesStartedInTheSameSecondGetFilesOfTheirOwn)
{
    const auto history = m_folder / "HandHistory";
    std::filesystem::create_directories(history);
    // Made by a game earlier in the same second: it stays as it is.
    std::ofstream(history / "HH_20231114_221320.txt") << "an earlier game";

    for (int i = 0; i < 3; ++i) {
        CDunmereGame game;
        game.SetOutputFolder(m_folder.string());
        game.SetClock([] { return kStartTime; });
        GameSetupItems items = Items({"Master", "Tim"}, {1000, 1000});
        game.StartGame(items);
        game.Shutdown();
        EXPECT_TRUE(game.FileProblems().empty());
    }

    EXPECT_EQ(ReadFile(history / "HH_20231114_221320.txt"), "an earlier game");
    for (const char *name : {"HH_20231114_221320_002.txt", "HH_20231114_221320_003.txt",
                             "HH_20231114_221320_004.txt"}) {
        const std::string text = Unix(ReadFile(history / name));
        EXPECT_EQ(text.rfind("\n==================START Ostrivane  2023.11.14  22:13:20", 0), 0u)
            << name << ": " << text;
        // One game's start only: nothing else was written into it.
        EXPECT_EQ(text.find("START", 30), std::string::npos) << name;
    }
    // Four hand histories, and beside each new one its game's own log lines.
    std::map<std::string, int> kinds;
    for (const auto &entry : std::filesystem::directory_iterator(history))
        ++kinds[entry.path().extension().string()];
    EXPECT_EQ(kinds, (std::map<std::string, int>{{".log", 3}, {".txt", 4}}));
}

TEST_F(HistoryFiles, AFailedWriteIsReportedOncePerFileWithItsReason)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    // Every write to the log fails as on a full disk; the hand history is fine.
    std::filesystem::create_symlink("/dev/full", m_folder / "HistoryGame.log");
    m_decider.Add(1, 0);
    m_decider.Add(2, 0);
    Play(Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000}), 2);

    int reports = 0;
    for (const std::string &line : m_pane.Lines())
        reports += line.rfind("Could not write the game log ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(m_game.FileProblems(),
              std::vector<std::string>{"the game log " + (m_folder / "HistoryGame.log").string() +
                                       ": No space left on device"});
    EXPECT_NE(History().find("Seat 2: Tim_2"), std::string::npos);
}

TEST_F(HistoryFiles, UnopenableFilesGiveTheirReasons)
{
    std::filesystem::create_directories(m_folder / "HistoryGame.log");
    std::ofstream(m_folder / "HandHistory") << "a file where the folder goes";
    GameSetupItems items = Items({"Master", "Tim"}, {1000, 1000});
    m_game.StartGame(items);
    m_game.Shutdown();
    const auto problems = m_game.FileProblems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_TRUE(Contains(problems[0], "HistoryGame.log: Is a directory")) << problems[0];
    EXPECT_TRUE(Contains(problems[1], ".txt: Not a directory")) << problems[1];
}

} // namespace
} // namespace enginetest
