// brisquel-cli play, run as the real program: exit statuses, the chips at the end, the files it
// writes and what the database credits to each name.

#include "tests/cli/CliProcess.h"
#include "tests/storage/StorageTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

int CountOf(const std::string &text, const std::string &what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

CliResult RunPlay(std::vector<std::string> args)
{
    args.insert(args.begin(), "play");
    return RunCli(args);
}

// One line of the seat table that play prints.
struct SeatLine
{
    int seat = -1;
    std::string name;
    std::string strategy;
    int stack = 0;
    int n = 0;
};

std::vector<SeatLine> SeatLines(const std::string &out)
{
    std::vector<SeatLine> seats;
    std::istringstream lines(out);
    std::string line;
    bool inTable = false;
    while (std::getline(lines, line)) {
        if (line.rfind("Seat ", 0) == 0) {
            inTable = true;
            continue;
        }
        if (!inTable)
            continue;
        if (line.rfind("Chips:", 0) == 0)
            break;
        std::istringstream fields(line);
        SeatLine seat;
        fields >> seat.seat >> seat.name >> seat.strategy >> seat.stack >> seat.n;
        if (fields)
            seats.push_back(seat);
    }
    return seats;
}

int HandsPlayed(const std::string &out)
{
    const std::string label = "Hands played: ";
    const size_t at = out.find(label);
    return at == std::string::npos ? -1 : std::stoi(out.substr(at + label.size()));
}

// The database name of a strategy as play prints it.
std::string DatabaseName(const std::string &strategy)
{
    return strategy == "Tight" ? "Tim" : strategy;
}

const std::vector<std::string> kSavedNames = {"Hero", "Master", "Tim", "Maniac", "Professor"};

class PlayCommandTest : public ::testing::Test
{
protected:
    TempFolder m_scratch;
    fs::path m_game = m_scratch.path() / "game";
};

TEST_F(PlayCommandTest, SeededGameKeepsItsChipsAndWritesLogHistoryAndDatabase)
{
    const CliResult run =
        RunPlay({"--seats", "6", "--hands", "25", "--seed", "7", "--out", m_game.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Seed: 7\n"), std::string::npos);
    EXPECT_EQ(HandsPlayed(run.out), 25);
    const std::vector<SeatLine> seats = SeatLines(run.out);
    ASSERT_EQ(seats.size(), 6u) << run.out;
    int chips = 0;
    for (const SeatLine &seat : seats)
        chips += seat.stack;
    EXPECT_EQ(chips, 6000);
    EXPECT_NE(run.out.find("Chips: 6000 at the start, 6000 at the end\n"), std::string::npos);
    EXPECT_EQ(run.out.find("Coach:"), std::string::npos);

    const std::string log = ReadWholeFile(m_game / "HistoryGame.log");
    EXPECT_NE(log.find("Player 0 is Professor_0 (StrategyName is Professor) with stack = 1000"),
              std::string::npos);
    EXPECT_EQ(CountOf(log, "Ostrivane Hand #"), 25);
    std::vector<fs::path> histories;
    for (const auto &entry : fs::directory_iterator(m_game / "HandHistory"))
        if (entry.path().extension() == ".txt")
            histories.push_back(entry.path());
    ASSERT_EQ(histories.size(), 1u);
    const std::string history = ReadWholeFile(histories[0]);
    EXPECT_NE(history.find("Seat 2: Tim_2 (1000 in chips) StrategyName is Tight"),
              std::string::npos);
    EXPECT_EQ(CountOf(history, "Ostrivane Hand #"), 25);

    // Every seat is credited to the persona that played it; nobody played "Hero".
    std::map<std::string, int> amount, hands;
    for (const SeatLine &seat : seats) {
        amount[DatabaseName(seat.strategy)] += seat.stack - 1000;
        hands[DatabaseName(seat.strategy)] += seat.n;
    }
    RawDb db((m_game / "PokerDB.db3").string());
    const auto players = db.rows("SELECT OperationID, Family_Name, Amount, Balance FROM Players "
                                 "ORDER BY ROWID");
    const auto statistics = db.rows("SELECT OperationID, Family_Name, NG FROM Statistics "
                                    "ORDER BY ROWID");
    ASSERT_EQ(players.size(), 5u);
    ASSERT_EQ(statistics.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        const std::string &name = kSavedNames[i];
        EXPECT_EQ(players[i][0], std::to_string(i + 1));
        EXPECT_EQ(players[i][1], name);
        EXPECT_EQ(std::stod(players[i][2]), amount[name]) << name;
        EXPECT_EQ(std::stod(players[i][3]), amount[name]) << name;
        EXPECT_EQ(statistics[i][1], name);
        EXPECT_EQ(std::stod(statistics[i][2]), hands[name]) << name;
    }
    EXPECT_EQ(amount["Hero"], 0);
    EXPECT_EQ(hands["Hero"], 0);
}

TEST_F(PlayCommandTest, SameSeedSameGameAndTheLedgersRunOn)
{
    std::vector<std::string> args = {"--names", "Professor,Tim", "--stacks", "1500,2100"};
    args.insert(args.end(), {"--blinds", "5/10", "--hands", "12", "--seed", "4"});
    args.insert(args.end(), {"--out", m_game.string()});
    const CliResult first = RunPlay(args);
    const CliResult second = RunPlay(args);
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(first.out, second.out);
    EXPECT_NE(first.out.find("Chips: 3600 at the start, 3600 at the end\n"), std::string::npos);

    const std::vector<SeatLine> seats = SeatLines(first.out);
    ASSERT_EQ(seats.size(), 2u);
    RawDb db((m_game / "PokerDB.db3").string());
    const auto players = db.rows("SELECT OperationID, Family_Name, Amount, Balance FROM Players "
                                 "ORDER BY ROWID");
    ASSERT_EQ(players.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(players[i][0], std::to_string(i + 1));
        EXPECT_EQ(players[i][1], kSavedNames[i % 5]);
    }
    // Rows 6..10 are the second game's: the same amounts, the balances doubled.
    EXPECT_EQ(std::stod(players[9][2]), seats[0].stack - 1500); // Professor at seat 0
    EXPECT_EQ(std::stod(players[9][3]), 2.0 * (seats[0].stack - 1500));
    EXPECT_EQ(std::stod(players[7][3]), 2.0 * (seats[1].stack - 2100)); // Tim
    EXPECT_EQ(std::stod(players[5][3]), 0.0);                           // Hero
    EXPECT_EQ(db.value("SELECT count(*) FROM Statistics"), "10");
    // The game log is kept across games.
    EXPECT_EQ(CountOf(ReadWholeFile(m_game / "HistoryGame.log"), "Ostrivane Hand #"),
              2 * HandsPlayed(first.out));
}

TEST_F(PlayCommandTest, WithoutAHandLimitPlaysUntilOnePlayerHasEveryChip)
{
    const CliResult run = RunPlay({"--seats", "3", "--stacks", "300", "--type", "9 players Turbo",
                                   "--seed", "3", "--out", m_game.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<SeatLine> seats = SeatLines(run.out);
    ASSERT_EQ(seats.size(), 3u);
    int winners = 0;
    for (const SeatLine &seat : seats) {
        EXPECT_TRUE(seat.stack == 0 || seat.stack == 900) << seat.name << " " << seat.stack;
        winners += seat.stack == 900;
    }
    EXPECT_EQ(winners, 1);
}

// Games that cannot be set up (the messages of malformed options are tested on their own).
// The coach's seat: every seat's big blinds per 100 hands, which add up to its chips won, inside
// their own interval.
TEST_F(PlayCommandTest, CoachSeatGivesEachSeatsBigBlindsPerHundredHands)
{
    const CliResult run = RunPlay({"--seats", "3", "--hands", "12", "--seed", "3", "--coach-seat",
                                   "1", "--coach-samples", "5", "--out", m_game.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<SeatLine> seats = SeatLines(run.out);
    ASSERT_EQ(seats.size(), 3u) << run.out;
    const std::string heading = "Coach: seat 1 plays the best option of 5 play-outs per option\n";
    const size_t at = run.out.find(heading);
    ASSERT_NE(at, std::string::npos) << run.out;
    std::istringstream lines(run.out.substr(at + heading.size()));
    std::string line;
    std::getline(lines, line); // the column heads
    int rows = 0;
    while (std::getline(lines, line)) {
        int seat = -1;
        std::string name, interval;
        double rate = 0, low = 0, high = 0;
        int hands = 0;
        std::string numbers = line;
        for (char &c : numbers)
            c = (c == '[' || c == ',' || c == ']') ? ' ' : c;
        std::istringstream fields(numbers);
        fields >> seat >> name >> rate >> low >> high >> hands;
        ASSERT_TRUE(fields) << line;
        ASSERT_EQ(seat, rows);
        EXPECT_EQ(name, seats[static_cast<size_t>(seat)].name);
        EXPECT_LE(low, rate);
        EXPECT_GE(high, rate);
        EXPECT_GE(hands, 1);
        EXPECT_LE(hands, 12);
        // Blinds of 20: the per-hand results add up to the chips won.
        const double won = (seats[static_cast<size_t>(seat)].stack - 1000) / 20.0;
        EXPECT_NEAR(rate * hands / 100.0, won, 0.001 * hands + 1e-9) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 3);
}

TEST_F(PlayCommandTest, ImpossibleGamesExitWithTwoAndWriteNothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--seats", "1"},
        {"--seats", "six"},
        {"--hands", "0"},
        {"--blinds", "20"},
        {"--blinds", "10/20", "--type", "9 players"},
        {"--type", "10 players"},
        {"--names", "Hero,Master"},
        {"--names", "Master"},
        {"--names", "Master,Tim", "--seats", "3"},
        {"--stacks", "100,200,300", "--seats", "2"},
        {"--stacks", "0"},
        {"--blinds", "1/2147483647"}, // past the chips the hand-history readers read back
        {"--coach-seat", "6", "--seats", "6"},
        {"--coach-seat", "-1"},
        {"--coach-samples", "5"},
        {"--coach-seat", "0", "--coach-samples", "0"},
    };
    for (std::vector<std::string> args : bad) {
        std::string shown;
        for (const std::string &a : args)
            shown += a + " ";
        args.insert(args.end(), {"--out", m_game.string()});
        const CliResult run = RunPlay(args);
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_NE(run.err, "") << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_FALSE(fs::exists(m_game)) << shown;
    }
}

} // namespace
