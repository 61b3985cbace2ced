// brisquel-cli drill run as a process: the deck of a played game, an answer graded and kept
// across runs, the report, and refusals with status 2.

#include "tests/cli/CliProcess.h"
#include "tests/support/TextLines.h"

#include <gtest/gtest.h>

namespace {

using testsupport::Lines;

class DrillCommand : public testing::Test
{
protected:
    CliResult Drill(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--data-dir", m_scratch.str(), "drill"});
        return RunCli(args);
    }
    std::string Out() const { return m_scratch.file("out"); }
    TempFolder m_scratch;
};

TEST_F(DrillCommand, DeckAnswerAndReportKeepTheirStateAcrossRuns)
{
    const CliResult play = RunCli({"play", "--seats", "6", "--hands", "30", "--seed", "5", "--type",
                                   "9 players Turbo", "--out", Out()});
    ASSERT_EQ(play.status, 0) << play.err;
    const CliResult deck =
        Drill({"--deck", Out(), "--player", "Maniac_3", "--samples", "20", "--seed", "1"});
    ASSERT_EQ(deck.status, 0) << deck.err;
    const std::vector<std::string> lines = Lines(deck.out);
    ASSERT_GE(lines.size(), 3u) << deck.out;
    EXPECT_EQ(lines[0], "leak\tspots\tbb_lost\tdue");
    EXPECT_NE(deck.err.find("new spots in the deck"), std::string::npos) << deck.err;

    const CliResult next = Drill({"--next"});
    ASSERT_EQ(next.status, 0) << next.err;
    const CliResult answer = Drill({"--answer", "call"});
    ASSERT_EQ(answer.status, 0) << answer.err;
    // The spot answered is the one --next showed; the grade is one of the coach's.
    EXPECT_EQ(Lines(answer.out)[0], Lines(next.out)[0]);
    const std::string grade = Lines(answer.out)[2];
    EXPECT_TRUE(grade == "grade\tok" || grade == "grade\tsmall mistake" ||
                grade == "grade\tmistake" || grade == "grade\tblunder")
        << grade;

    const CliResult report = Drill({"--report", "--last", "5"});
    ASSERT_EQ(report.status, 0) << report.err;
    int tries = 0;
    for (const std::string &line : Lines(report.out))
        if (line.find(", ") != std::string::npos && line.rfind("next spot", 0) != 0)
            tries += std::stoi(line.substr(line.find('\t', line.find('\t') + 1) + 1));
    EXPECT_EQ(tries, 1) << report.out;

    // The same game with the same seed adds nothing (another seed may grade other decisions
    // worse than ok).
    const CliResult again =
        Drill({"--deck", Out(), "--player", "Maniac_3", "--samples", "20", "--seed", "1"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.err.find(" 0 new spots"), std::string::npos) << again.err;
}

TEST_F(DrillCommand, RefusalsExitWithTwo)
{
    const struct
    {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "give one of --deck, --next, --answer and --report"},
        {{"--deck", "--report"}, "give one of"},
        {{"--answer", "limp"}, "is not fold, call or raise N"},
        {{"--answer", "call"}, "the practice deck is empty"},
        {{"--report", "--seed", "3"}, "go with --deck"},
        {{"--report", "--last", "0"}, "--last"},
    };
    for (const auto &c : cases) {
        const CliResult r = Drill(c.args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(c.args);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
