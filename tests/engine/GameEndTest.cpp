// Ending a game in the middle of a hand, and the places of a tournament.

#include "tests/engine/EngineTestSupport.h"

#include "engine/TextFile.h"

namespace enginetest {
namespace {

class GameEnd : public GameFixture
{
};

TEST(TextFileCut, OwnLinesAreCutBackButAnotherWritersAreKept)
{
    const testsupport::TempFolder folder;
    const auto path = folder.path() / "cut.txt";
    for (const bool otherWriter : {false, true}) {
        std::filesystem::remove(path);
        TextFile file;
        ASSERT_TRUE(file.Open(path.string(), "a"));
        file.Write("hand 1\n");
        const TextFile::Mark mark = file.Here();
        EXPECT_EQ(mark.length, 8); // CRLF
        file.Write("hand 2, half\n");
        file.Flush(); // as the game does after every line
        if (otherWriter) {
            std::ofstream(path, std::ios::app) << "another program\r\n";
        }
        EXPECT_EQ(file.CutBackTo(mark), !otherWriter);
        file.Write("end\n");
        file.Close();
        EXPECT_EQ(ReadFile(path), otherWriter
                                      ? "hand 1\r\nhand 2, half\r\nanother program\r\nend\r\n"
                                      : "hand 1\r\nend\r\n");
    }
}

TEST(Ordinals, AsPlacesAreSaid)
{
    const std::pair<int, const char *> cases[] = {
        {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},   {10, "10th"},   {11, "11th"},
        {12, "12th"}, {13, "13th"}, {21, "21st"}, {22, "22nd"}, {103, "103rd"}, {111, "111th"}};
    for (const auto &[n, text] : cases)
        EXPECT_EQ(OrdinalText(n), text) << n;
}

TEST_F(GameEnd, StoppedMidHandTheFilesEndWhereTheHandBeganAndStacksAreAsThen)
{
    // The human never answers: hand 2 waits for him until the stop.
    ScriptedHuman human(m_game);
    m_game.SetHumanPlayer(&human);
    human.Add(0, true); // hand 1: folds
    for (int i = 0; i < 40; ++i)
        m_decider.Add(-1, 0); // computer seats check or fold, whoever asks
    int saves = 0;
    int stackAtSave = -1;
    m_game.m_saveResults = [&](CDunmereGame &game) {
        ++saves;
        stackAtSave = game.m_table.m_stack[0];
    };
    GameSetupItems items = Items({"Hero", "Master", "Tim"}, {1000, 1000, 1000});
    m_game.StartGame(items);
    EXPECT_FALSE(m_game.InProgress()); // not dealt yet
    m_game.StartDeal();
    human.WaitUntilWaiting();
    EXPECT_TRUE(m_game.InProgress());

    int stackAfterHand1 = 0;
    {
        std::lock_guard<std::mutex> lock(m_game.StateMutex());
        EXPECT_EQ(m_game.m_handsCompleted, 1);
        EXPECT_EQ(m_game.m_handNumber, 2);
    }
    const std::string history = History();
    ASSERT_NE(history.find("Ostrivane Hand #2"), std::string::npos);
    const std::string hand1 = history.substr(0, history.find("\n\nOstrivane Hand #2"));
    // Hero's stack at the start of hand 2, as its header gives it.
    const std::string header = "Seat 0: Hero_0 (";
    const size_t at = history.find(header, history.find("Ostrivane Hand #2"));
    stackAfterHand1 = std::stoi(history.substr(at + header.size()));

    EXPECT_TRUE(m_game.StopNowAndSave());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(stackAtSave, stackAfterHand1);
    EXPECT_EQ(History(), hand1);
    EXPECT_EQ(Log().find("Hand #2"), std::string::npos);
    EXPECT_FALSE(m_game.InProgress());
    EXPECT_FALSE(m_game.StopNowAndSave()); // once only
    EXPECT_EQ(saves, 1);
}

TEST_F(GameEnd, PlayersOutInOneHandPlaceByTheChipsTheyBeganItWith)
{
    // Button draw: seat 3. Hero's aces beat the short stacks' all-ins.
    std::vector<int> draws = {3, 5, 7, 12};
    for (int card :
         Cards({"Ah", "7c", "8s", "9c", "Ad", "2d", "3h", "4d", "Ks", "Qs", "5h", "Jc", "6c"}))
        draws.push_back(card);
    m_game.SetStackedDraws(draws);
    m_decider.Add(2, 100); // Tim all in
    m_decider.Add(3, 0);   // Maniac folds
    m_decider.Add(0, 490); // Hero raises
    m_decider.Add(1, 280); // Master calls all in
    GameSetupItems items =
        Items({"Hero", "Master", "Tim", "Maniac"}, {1500, 300, 100, 1500}, 0, 0, 3);
    m_game.StartGame(items);
    Deal(1);
    EXPECT_TRUE(m_decider.m_mismatches.empty());
    const auto lines = m_pane.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Master_1 finishes 3rd");
    EXPECT_EQ(lines.back(), "Tim_2 finishes 4th");
    // Only the pane says so.
    EXPECT_FALSE(Contains(History(), "finishes"));
    EXPECT_FALSE(Contains(Log(), "finishes"));
}

} // namespace
} // namespace enginetest
