// The two files of a game on their own: where they go, how lines end, names that never clash,
// and failures reported once per file with their reason (in ways that fail for root as well).
#include "engine/GameFiles.h"
#include "tests/engine/EngineTestSupport.h"

namespace enginetest {
namespace {

class GameFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder =
            std::filesystem::temp_directory_path() /
            ("brisquel_gamefiles_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_folder);
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    GameFiles Files()
    {
        return GameFiles([this](const std::string &line) { m_reports.push_back(line); });
    }

    std::filesystem::path m_folder;
    std::vector<std::string> m_reports;
};

TEST_F(GameFilesTest, LinesEndInCrlfAndTextWaitsForTheNextLine)
{
    GameFiles files = Files();
    // The folder does not exist yet: it is made, with its HandHistory folder.
    files.Open((m_folder / "new").string(), "20231114_221320");
    const auto history = m_folder / "new" / "HandHistory" / "HH_20231114_221320.txt";
    EXPECT_EQ(files.HistoryPath(), history.string());
    EXPECT_EQ(files.LogPath(), (m_folder / "new" / "HistoryGame.log").string());

    files.WriteLogText("6 players \n");
    files.WriteLogLine("Preflop start");
    files.WriteHistoryLine("*** HOLE CARDS ***");
    files.WriteHistoryText("Seat 0: Hero_0 (1000 in chips)\n");
    EXPECT_EQ(ReadFile(files.LogPath()), "6 players \r\nPreflop start\r\n");
    EXPECT_EQ(ReadFile(history), "*** HOLE CARDS ***\r\n");
    files.Close();
    EXPECT_EQ(ReadFile(history), "*** HOLE CARDS ***\r\nSeat 0: Hero_0 (1000 in chips)\r\n");
    EXPECT_TRUE(files.Problems().empty());
    EXPECT_TRUE(m_reports.empty());

    // The log is appended to by the next game, which gets a hand history of its own.
    files.Open((m_folder / "new").string(), "20231114_221320");
    files.WriteLogLine("New game start !");
    files.Close();
    EXPECT_EQ(Unix(ReadFile(files.LogPath())), "6 players \nPreflop start\nNew game start !\n");
    EXPECT_EQ(files.HistoryPath(),
              (m_folder / "new" / "HandHistory" / "HH_20231114_221320_002.txt").string());
}

struct FailureCase
{
    const char *what;
    bool logBlocked;     // a folder where the log goes
    bool historyBlocked; // a file where the HandHistory folder goes
    std::vector<std::string> reportedFiles;
    std::vector<std::string> reasons;
};
void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.what;
}

class GameFilesFailure : public GameFilesTest, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(GameFilesFailure, IsReportedOncePerFileWithItsReason)
{
    const FailureCase &c = GetParam();
    std::filesystem::create_directories(m_folder);
    if (c.logBlocked)
        std::filesystem::create_directories(m_folder / "HistoryGame.log");
    if (c.historyBlocked)
        std::ofstream(m_folder / "HandHistory") << "a file where the folder goes";
    GameFiles files = Files();
    files.Open(m_folder.string(), "20231114_221320");
    for (int i = 0; i < 3; ++i) {
        files.WriteLogLine("Preflop start");
        files.WriteHistoryLine("*** HOLE CARDS ***");
    }
    files.Close();

    ASSERT_EQ(m_reports.size(), c.reportedFiles.size());
    ASSERT_EQ(files.Problems().size(), c.reasons.size());
    for (size_t i = 0; i < m_reports.size(); ++i) {
        const std::string file =
            c.reportedFiles[i] +
            (c.reportedFiles[i] == "game log " ? files.LogPath() : files.HistoryPath());
        EXPECT_EQ(m_reports[i], "Could not write the " + file);
        EXPECT_EQ(files.Problems()[i].rfind("the " + file + ": ", 0), 0u) << files.Problems()[i];
        EXPECT_TRUE(Contains(files.Problems()[i], c.reasons[i])) << files.Problems()[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocked, GameFilesFailure,
    ::testing::Values(FailureCase{"log", true, false, {"game log "}, {"Is a directory"}},
                      FailureCase{"history", false, true, {"hand history "}, {"Not a directory"}},
                      FailureCase{"both",
                                  true,
                                  true,
                                  {"game log ", "hand history "},
                                  {"Is a directory", "Not a directory"}}),
    [](const auto &param) { return std::string(param.param.what); });

} // namespace
} // namespace enginetest
