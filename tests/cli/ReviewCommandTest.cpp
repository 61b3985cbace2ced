// brisquel-cli review run as a process on games that brisquel-cli play wrote: every decision of
// the chosen player once, in order, with the hand history's chips; refusals exit with 2.

#include "tests/cli/CliProcess.h"
#include "tests/support/TextLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using testsupport::Lines;

std::vector<std::string> Fields(const std::string &line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

class ReviewCommand : public testing::Test
{
protected:
    void SetUp() override
    {
        const CliResult play = RunCli({"play", "--seats", "6", "--hands", "40", "--seed", "5",
                                       "--type", "9 players Turbo", "--out", Out()});
        ASSERT_EQ(play.status, 0) << play.err;
        for (const auto &entry :
             std::filesystem::directory_iterator(m_scratch.path() / "out" / "HandHistory"))
            if (entry.path().extension() == ".txt")
                m_history = entry.path();
    }
    std::string Out() const { return (m_scratch.path() / "out").string(); }
    std::string TwoTables() const { return (m_scratch.path() / "tables.txt").string(); }

    TempFolder m_scratch;
    std::filesystem::path m_history;
};

} // namespace

TEST_F(ReviewCommand, EveryDecisionOfThePlayerOnceInOrder)
{
    const std::string player = "Maniac_3";
    const CliResult r = RunCli(
        {"review", Out(), "--player", player, "--trials", "300", "--samples", "30", "--seed", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0],
              "hand\tstreet\taction\tamount\tpot\tto_call\tneeded\tequity_random\t"
              "equity_range\tverdict\tev\tbest\tev_best_bb\tev_loss_bb\tgame\tgrade\tvs_typical");

    // The player's decisions as the hand-history file has them, read independently.
    struct Decision
    {
        std::string hand, action, amount;
    };
    std::vector<Decision> expected;
    // (std::regex trips GCC's uninitialized-use warning in the sanitizer build.)
    const std::string header = "Ostrivane Hand #", mine = player + ": ";
    std::string hand;
    for (const std::string &line : Lines(ReadWholeFile(m_history))) {
        if (line.rfind(header, 0) == 0) {
            hand = line.substr(header.size(), line.find(':') - header.size());
        } else if (line.rfind(mine, 0) == 0) {
            const std::string rest = line.substr(mine.size());
            const std::string verb = rest.substr(0, rest.find(' '));
            const std::string amount =
                verb.size() < rest.size() ? rest.substr(verb.size() + 1) : "";
            const bool known =
                verb == "folds" || verb == "checks" || verb == "calls" || verb == "raises";
            if (known && amount.find_first_not_of("0123456789") == std::string::npos)
                expected.push_back({hand, verb, amount.empty() ? "0" : amount});
        }
    }
    ASSERT_FALSE(expected.empty());

    const std::vector<std::string> grades = {"ok", "small mistake", "mistake", "blunder"};
    const auto isGrade = [&](const std::string &text) {
        return std::find(grades.begin(), grades.end(), text) != grades.end();
    };
    size_t row = 1;
    double lost = 0.0;
    std::map<std::string, int> byStreet, perGrade;
    for (const Decision &d : expected) {
        ASSERT_LT(row, lines.size());
        const std::vector<std::string> f = Fields(lines[row++]);
        ASSERT_EQ(f.size(), 17u) << lines[row - 1];
        EXPECT_EQ(f[0], d.hand);
        EXPECT_EQ(f[3], d.amount);
        const std::string verb = d.action == "folds"    ? "fold"
                                 : d.action == "checks" ? "check"
                                 : d.action == "calls"  ? "call"
                                                        : "";
        if (verb.empty())
            EXPECT_TRUE(f[2] == "bet" || f[2] == "raise") << f[2];
        else
            EXPECT_EQ(f[2], verb);
        // Every decision of a game the program played is graded against the best option, and
        // the grade is its verdict.
        EXPECT_TRUE(isGrade(f[15])) << lines[row - 1];
        EXPECT_TRUE(f[9] == f[15] || f[9] == f[15] + " (uncertain)") << lines[row - 1];
        ++perGrade[f[15]];
        EXPECT_NE(f[11], "-");
        EXPECT_GE(std::stod(f[13]), 0.0);
        EXPECT_EQ(f[14], m_history.filename().string());
        lost += std::stod(f[13]);
        ++byStreet[f[1]];
    }
    ASSERT_LT(row + 14, lines.size());
    EXPECT_EQ(lines[row], "");
    EXPECT_EQ(lines[row + 1], "decisions\t" + std::to_string(expected.size()));
    EXPECT_EQ(lines[row + 2].rfind("too tight\t", 0), 0u);
    EXPECT_EQ(lines[row + 3].rfind("too loose\t", 0), 0u);
    EXPECT_EQ(lines[row + 4].rfind("chips lost per 100 hands\t", 0), 0u);
    EXPECT_EQ(lines[row + 5], "graded decisions\t" + std::to_string(expected.size()));
    // The loss per 100 hands: the rows' losses over the hands the player was dealt into.
    const std::vector<std::string> evLoss = Fields(lines[row + 6]);
    ASSERT_EQ(evLoss.size(), 2u);
    EXPECT_EQ(evLoss[0], "EV loss per 100 hands");
    const double perHand = std::stod(evLoss[1]) / 100.0;
    EXPECT_GT(perHand, 0.0);
    const double hands = lost / perHand;
    EXPECT_NEAR(hands, std::round(hands), 0.2 + hands * 0.01) << "rounded losses";
    for (size_t g = 0; g < grades.size(); ++g)
        EXPECT_EQ(lines[row + 7 + g],
                  "graded " + grades[g] + "\t" + std::to_string(perGrade[grades[g]]));
    const size_t after = row + grades.size();
    EXPECT_EQ(lines[after + 7].rfind("all-ins before the river\t", 0), 0u);
    EXPECT_EQ(lines[after + 8].rfind("chips won\t", 0), 0u);
    EXPECT_EQ(lines[after + 9].rfind("chips won all-in adjusted\t", 0), 0u);
    // The leak table adds up to the rows, street by street.
    EXPECT_EQ(lines[after + 10], "");
    EXPECT_EQ(lines[after + 11],
              "street\tposition\taction\tdecisions\tmistakes\tbb_lost\texploit_only");
    std::map<std::string, int> leaks;
    for (size_t l = after + 12; l < lines.size(); ++l) {
        const std::vector<std::string> f = Fields(lines[l]);
        ASSERT_EQ(f.size(), 7u) << lines[l];
        EXPECT_TRUE(f[1] == "early" || f[1] == "middle" || f[1] == "late" || f[1] == "blinds");
        EXPECT_LE(std::stoi(f[4]), std::stoi(f[3]));
        EXPECT_LE(std::stoi(f[6]), std::stoi(f[4])); // exploit-only lessons are mistakes
        leaks[f[0]] += std::stoi(f[3]);
    }
    EXPECT_EQ(leaks, byStreet);

    // The same seed, the same review; the file itself works as well as its folder, and the
    // name without its seat suffix as well as with it.
    const CliResult again = RunCli({"review", m_history.string(), "--player", "Maniac", "--trials",
                                    "300", "--samples", "30", "--seed", "1"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, r.out);
    // Without PATH: the data folder.
    const CliResult data = RunCli({"--data-dir", Out(), "review", "--player", player, "--trials",
                                   "300", "--samples", "30", "--seed", "1"});
    EXPECT_EQ(data.status, 0) << data.err;
    EXPECT_EQ(data.out, r.out);
    // Without play-outs the rows go ungraded and their verdict is the price's judgement; the
    // equities and the call's value then read the statistics' ranges, not the play-outs'.
    const CliResult bare = RunCli(
        {"review", Out(), "--player", player, "--trials", "300", "--samples", "0", "--seed", "1"});
    EXPECT_EQ(bare.status, 0) << bare.err;
    const std::vector<std::string> bareLines = Lines(bare.out);
    ASSERT_EQ(bareLines.size(), lines.size());
    for (size_t l = 1; l < row; ++l) {
        const std::vector<std::string> graded = Fields(lines[l]), plain = Fields(bareLines[l]);
        ASSERT_EQ(plain.size(), 17u);
        EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 7, graded.begin()));
        EXPECT_EQ(plain[11] + plain[12] + plain[13] + plain[15] + plain[16], "-----");
        const bool raise = plain[2] == "bet" || plain[2] == "raise";
        EXPECT_TRUE(raise ? plain[9] == "-"
                          : plain[9] == "ok" || plain[9] == "too tight" || plain[9] == "too loose")
            << bareLines[l];
    }
    EXPECT_EQ(bareLines[row + 5], "graded decisions\t0");
    EXPECT_EQ(bareLines[row + 10], "graded blunder\t0");
}

// Two PokerStars tables of one file, "c" at the first only.
std::string TwoTablesText()
{
    std::string text;
    for (const std::string bigBlind : {"c", "d"})
        text +=
            "PokerStars Hand #" + std::to_string(text.size() + 1) +
            ":  Hold'em No Limit (5/10) - 2024/01/01 10:00:00 ET\nTable 'T" + bigBlind +
            "' 3-max Seat #1 is the button\nSeat 1: a (500 in chips)\nSeat 2: b (500 in chips)\n"
            "Seat 3: " +
            bigBlind + " (500 in chips)\nb: posts small blind 5\n" + bigBlind +
            ": posts big blind 10\n*** HOLE CARDS ***\nDealt to " + bigBlind +
            " [Ah Kh]\na: raises 20 to 30\nb: folds\n" + bigBlind +
            ": folds\nUncalled bet (20) returned to a\na collected 25 from pot\n"
            "*** SUMMARY ***\nTotal pot 25 | Rake 0\n\n";
    return text;
}

TEST_F(ReviewCommand, APlayerIsFollowedToTheTablesOfAnImportedFileHeSatAt)
{
    std::ofstream(TwoTables()) << TwoTablesText();
    const CliResult r = RunCli({"review", TwoTables(), "--all", "--player", "c", "--samples", "0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("1 table without c left out"), std::string::npos) << r.err;

    // One table: "d" takes the seat "c" left.
    std::string oneTable = TwoTablesText();
    std::ofstream(TwoTables()) << oneTable.replace(oneTable.find("'Td'"), 4, "'Tc'");
    const CliResult later = RunCli({"review", TwoTables(), "--player", "d", "--samples", "0"});
    EXPECT_EQ(later.status, 0) << later.err;
    EXPECT_NE(later.out.find("\ndecisions\t1\n"), std::string::npos) << later.out;
    EXPECT_NE(later.out.find("\nchips won\t-10\n"), std::string::npos) << later.out;
}

TEST_F(ReviewCommand, BadInputIsRefusedWithStatusTwo)
{
    const std::string other = (m_scratch.path() / "other.txt").string();
    std::ofstream(other) << "PokerStars Hand #1: Hold'em No Limit ($0.01/$0.02)\n";
    const std::string gg = (m_scratch.path() / "gg.txt").string();
    std::ofstream(gg)
        << "\nPoker Hand #RC1: Hold'em No Limit ($0.01/$0.02) - 2024/01/01 10:00:00\n";
    const std::string tables = TwoTables();
    std::ofstream(tables) << TwoTablesText();
    const std::string cut = (m_scratch.path() / "cut.txt").string();
    std::ofstream(cut) << "\n==================START Ostrivane  2026.01.01  10:00:00 ====\n"
                          "Seat 0: Ann (100 in chips) StrategyName is Hero\n";
    struct Case
    {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"review", (m_scratch.path() / "missing").string()}, "does not exist"},
        {{"review", m_scratch.str()}, "no hand-history files"},
        // Read as a PokerStars file now: its only hand is cut off after the first line.
        {{"review", other}, "other.txt:1: the hand ends after its first line"},
        {{"review", cut}, "is cut off"},
        // GGPoker's text is read now, and its hand is cut off alike.
        {{"review", gg}, "gg.txt:2: the hand ends after its first line"},
        {{"review", tables, "--all", "--player", "Nobody"}, "\"Nobody\" is at no table of"},
        {{"review", Out(), "--player", "Nobody"}, "\"Nobody\" is not at the table"},
        {{"review", Out(), "--trials", "0"}, "--trials: 0 is out of range"},
        {{"review", Out(), "--samples", "-1"}, "--samples: -1 is out of range"},
        {{"review", Out(), "--samples", "100001"}, "--samples: 100001 is out of range"},
        {{"review", "--data-dir-is-not-a-review-option"}, "unknown option"},
        {{"review", Out(), Out()}, ""},
    };
    for (const Case &c : cases) {
        const CliResult r = RunCli(c.args);
        EXPECT_EQ(r.status, 2) << c.message << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << c.message;
    }
}
