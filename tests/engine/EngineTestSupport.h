#pragma once
// Fakes and helpers for driving whole games headless: scripted deciders, a recording output
// pane, a fixed clock, a temporary output folder.

#include "engine/Game.h"
#include "tests/support/Cards.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedHands.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace enginetest {

using testsupport::Card;
using testsupport::Cards;
using testsupport::Draws;
using testsupport::kButtonOnSeat0Of2;
using testsupport::kButtonOnSeat1Of3;
using testsupport::kButtonOnSeat2Of3;
using testsupport::kButtonOnSeat3Of4;

// Answers from a script of (seat, amount); records when the seat asked is not the one expected.
class ScriptedDecider : public IDecider
{
public:
    void Add(int seat, int amount) { m_script.emplace_back(seat, amount); }
    int DecidePreflop(const CGameTable &t, int seat, EasyRandom &) override
    {
        m_preflopBoards.push_back(t.m_boardCount);
        return Next(seat);
    }
    int DecidePostflop(const CGameTable &, int seat, int street, EasyRandom &) override
    {
        m_streets.push_back(street);
        return Next(seat);
    }
    std::vector<std::string> m_mismatches;
    std::vector<int> m_asked;
    std::vector<int> m_streets;
    std::vector<int> m_preflopBoards; // the board count each preflop decision saw
    size_t Remaining() const { return m_script.size(); }

private:
    int Next(int seat)
    {
        m_asked.push_back(seat);
        if (m_script.empty())
            return 0;
        const auto [expected, amount] = m_script.front();
        m_script.pop_front();
        if (expected != seat)
            m_mismatches.push_back("asked seat " + std::to_string(seat) + ", script has seat " +
                                   std::to_string(expected));
        return amount;
    }
    std::deque<std::pair<int, int>> m_script;
};

// The human at seat 0: answers from a script right away, or, when the script is empty, never
// (the game then waits until it is shut down).
class ScriptedHuman : public IHumanPlayer
{
public:
    explicit ScriptedHuman(CDunmereGame &game)
        : m_game(game)
    {}
    void Add(int amount, bool fold = false) { m_script.emplace_back(amount, fold); }
    void PrepareDecision(int sliderMax) override
    {
        std::pair<int, bool> answer;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_sliderMaxes.push_back(sliderMax);
            if (m_script.empty()) {
                m_waiting = true;
                m_cv.notify_all();
                return;
            }
            answer = m_script.front();
            m_script.pop_front();
        }
        m_game.SubmitHumanDecision(answer.first, answer.second);
    }
    bool RunAddChipsDialog(int &chips) override
    {
        ++m_dialogs;
        m_offeredAt = std::chrono::steady_clock::now();
        chips = m_addChips;
        return m_acceptAddChips;
    }
    void WaitUntilWaiting()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_waiting; });
    }
    std::vector<int> SliderMaxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sliderMaxes;
    }
    bool m_acceptAddChips = false;
    int m_addChips = 0;
    std::atomic<int> m_dialogs{0};
    std::chrono::steady_clock::time_point m_offeredAt; // of the last offer

private:
    CDunmereGame &m_game;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_waiting = false;
    std::deque<std::pair<int, bool>> m_script;
    std::vector<int> m_sliderMaxes;
};

class RecordingPane : public IOutputPane
{
public:
    void AppendOutputLine(const std::wstring &line) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::string narrow;
        for (wchar_t c : line)
            narrow += static_cast<char>(c);
        m_lines.push_back(narrow);
    }
    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lines;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

class CountingProgram : public IProgram
{
public:
    void CloseProgram() override { ++m_closeCount; }
    std::atomic<int> m_closeCount{0};
};

class CountingScreen : public IScreen
{
public:
    void Invalidate(TablePart, int) override {}
    void InvalidateAll() override { ++m_wholeTable; }
    void SetWaitCursor(bool) override {}
    std::atomic<int> m_wholeTable{0};
};

inline std::string ReadFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files store "\r\n"; the expected texts are written with "\n".
inline std::string Unix(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

inline std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// The lines from the first line equal to `from` up to, not including, the first later line
// equal to `to` (to the end when `to` is empty).
inline std::string Section(const std::string &text, const std::string &from,
                           const std::string &to = {})
{
    std::string out;
    bool inside = false;
    for (const std::string &line : SplitLines(text)) {
        if (!inside && line == from)
            inside = true;
        else if (inside && !to.empty() && line == to)
            break;
        if (inside)
            out += line + "\n";
    }
    return out;
}

inline bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// Line for line first, so that a difference names its line, then as a whole.
inline void ExpectSameLines(const std::string &actual, const std::string &expected,
                            const std::string &what = "text")
{
    const auto a = SplitLines(actual);
    const auto e = SplitLines(expected);
    for (size_t i = 0; i < std::min(a.size(), e.size()); ++i)
        ASSERT_EQ(a[i], e[i]) << what << " line " << i + 1;
    ASSERT_EQ(a.size(), e.size()) << what;
    EXPECT_EQ(actual, expected) << what;
}

// Every line of a stored file ends in CRLF, the last one included, and no other CR appears.
inline void ExpectCrlfLines(const std::string &raw, const std::string &what)
{
    size_t line = 1;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n') {
            ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << what << " line " << line << " lacks CR";
            ++line;
        } else if (raw[i] == '\r') {
            ASSERT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n')
                << what << " line " << line << " has a lone CR";
        }
    }
    ASSERT_TRUE(raw.empty() || raw.back() == '\n') << what << " ends inside a line";
}

// 2023.11.14 22:13:20 UTC.
constexpr std::time_t kStartTime = 1700000000;

// A seat as the set-up dialog gives it: a persona's name (or "Hero") and the stack.
struct SeatSetup
{
    std::string name;
    int stack;
};

// The expected texts of a case, kept in tests/data/engine/<case>.txt.
inline std::map<std::string, std::string> ExpectedTexts(const std::string &caseName)
{
    return testsupport::DataTexts("engine/" + caseName + ".txt");
}

// A game with a fixed clock (UTC), no pauses, output in a fresh temporary folder.
class GameFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        m_game.SetOutputFolder(m_folder.string());
        m_game.SetPauseFactor(0);
        m_game.SetClock([this] { return m_now.load(); });
        m_game.SetOutputPane(&m_pane);
        m_game.SetProgram(&m_program);
        m_game.SetScreen(&m_screen);
        m_game.SetDecider(&m_decider);
        m_game.SetSeed(7);
    }

    void TearDown() override { m_game.Shutdown(); }

    GameSetupItems Items(const std::vector<SeatSetup> &seats, int small = 10, int big = 20,
                         int type = 0)
    {
        std::vector<std::string> names;
        std::vector<int> stacks;
        for (const SeatSetup &seat : seats) {
            names.push_back(seat.name);
            stacks.push_back(seat.stack);
        }
        return Items(std::move(names), std::move(stacks), small, big, type);
    }
    GameSetupItems Items(std::vector<std::string> names, std::vector<int> stacks, int small = 10,
                         int big = 20, int type = 0)
    {
        GameSetupItems items;
        items.seatCount = static_cast<int>(names.size());
        items.names = std::move(names);
        items.stacks = std::move(stacks);
        items.smallBlind = small;
        items.bigBlind = big;
        items.gameTypeId = type;
        return items;
    }

    // Plays a hand of tests/support by name, its decisions answered by the scripted decider.
    void Play(const testsupport::ScriptedHand &hand)
    {
        m_game.SetStackedDraws(hand.draws);
        for (const auto &[seat, amount] : hand.decisions)
            m_decider.Add(seat, amount);
        Play(Items(hand.names, hand.stacks), 1);
    }
    // Plays `hands` hands (the stop is requested at the end of the last) and waits for the end.
    void Play(GameSetupItems items, int hands)
    {
        m_game.StartGame(items);
        Deal(hands);
    }
    // The same after StartGame, e.g. once a test has set an ante level.
    void Deal(int hands)
    {
        m_handsToPlay = hands;
        m_game.m_onHandEnd = [this](CDunmereGame &game) {
            if (++m_handsPlayed >= m_handsToPlay)
                game.m_stopRequested = true;
        };
        m_game.StartDeal();
        m_game.WaitForGameEnd();
    }
    // Blinds 100/200 with an ante of 25 from the first hand on; after StartGame.
    void AnteLevel()
    {
        std::lock_guard<std::mutex> lock(m_game.StateMutex());
        m_game.m_table.m_smallBlind = 100;
        m_game.m_table.m_bigBlind = 200;
        m_game.m_table.m_ante = 25;
    }

    std::filesystem::path HistoryPath() const
    {
        for (const auto &entry : std::filesystem::directory_iterator(m_folder / "HandHistory"))
            if (entry.path().extension() == ".txt") // not the game's own log beside it
                return entry.path();
        return {};
    }
    std::string History() const { return Unix(ReadFile(HistoryPath())); }
    std::string Log() const { return Unix(ReadFile(m_folder / "HistoryGame.log")); }

    // The game's whole hand history, game log and output pane as the running test's file of
    // expected texts has them, and CRLF on every file line.
    void ExpectWholeTexts()
    {
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        auto expected = ExpectedTexts(std::string(test->test_suite_name()) + "." + test->name());
        ExpectCrlfLines(ReadFile(HistoryPath()), "hand history");
        ExpectCrlfLines(ReadFile(m_folder / "HistoryGame.log"), "game log");
        ExpectSameLines(History(), expected["hand history"], "hand history");
        ExpectSameLines(Log(), expected["game log"], "game log");
        const auto lines = m_pane.Lines();
        const auto pane = testsupport::DataEntries(expected["pane"]);
        for (size_t i = 0; i < std::min(lines.size(), pane.size()); ++i)
            ASSERT_EQ(lines[i], pane[i]) << "pane line " << i + 1;
        EXPECT_EQ(lines.size(), pane.size()) << "pane lines";
    }

    testsupport::TempFolder m_temp{"brisquel_engine"};
    std::filesystem::path m_folder = m_temp.path();
    std::atomic<std::time_t> m_now{kStartTime};
    RecordingPane m_pane;
    CountingProgram m_program;
    CountingScreen m_screen;
    ScriptedDecider m_decider;
    int m_handsToPlay = 1;
    int m_handsPlayed = 0;
    CDunmereGame m_game;
};

} // namespace enginetest
