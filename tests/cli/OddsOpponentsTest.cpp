// odds against known hands and ranges: exact counts, the detail table, seeds and threads, and
// the refusals.

#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

namespace {

// Standard output without its last line (the thread count of a sampled run).
std::string WithoutLastLine(const std::string &text)
{
    const std::size_t end = text.rfind('\n', text.size() - 2);
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

TEST(OddsOpponents, ExactHeadsUpToTheLastDigit)
{
    CliResult r = RunCli({"odds", "AsAh", "--vs", "KdKc", "--exact"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0.8126\n");
    r = RunCli({"odds", "AsKs", "--vs=QdQc", "--exact", "--threads", "1"});
    EXPECT_EQ(r.out, "0.4621\n");
    r = RunCli({"odds", "AsAh", "--vs", "KdKc", "--exact", "--detail"});
    EXPECT_EQ(r.out, "player  win     tie     equity  std.error  hand\n"
                     "1       0.8106  0.0038  0.8126  exact      AsAh\n"
                     "2       0.1855  0.0038  0.1874  exact      KdKc\n"
                     "exact: 1712304 deals\n");
}

// A range in the first seat answers as the same range among the opponents would; dead cards
// leave the deals that avoid them.
TEST(OddsOpponents, RangeFirstBoardAndDeadCards)
{
    const std::vector<std::string> board = {"--board", "Qs Jd 2c 7h", "--exact"};
    std::vector<std::string> hand = {"odds", "AhKd", "--vs", "QQ,JJ,T9s"};
    std::vector<std::string> range = {"odds", "QQ,JJ,T9s", "--vs", "AhKd"};
    hand.insert(hand.end(), board.begin(), board.end());
    range.insert(range.end(), board.begin(), board.end());
    const CliResult a = RunCli(hand), b = RunCli(range);
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_NEAR(std::stod(a.out) + std::stod(b.out), 1.0, 0.00011) << a.out << b.out;

    const CliResult dead =
        RunCli({"odds", "AsAh", "--vs", "KdKc", "--dead", "Ks Kh", "--exact", "--detail"});
    ASSERT_EQ(dead.status, 0) << dead.err;
    EXPECT_NE(dead.out.find("exact: 1370754 deals\n"), std::string::npos) << dead.out;
}

TEST(OddsOpponents, RangesAndRandomOpponentsTogether)
{
    const std::vector<std::string> args = {
        "odds",   "AhKd",   "--vs",      "QsQd", "--vs",     "22+,A2s+,KTo+,QJs",
        "--vs",   "top15%", "--players", "5",    "--trials", "200000",
        "--seed", "11",     "--detail"};
    std::vector<std::string> one = args, two = args;
    one.insert(one.end(), {"--threads", "1"});
    two.insert(two.end(), {"--threads", "3"});
    const CliResult a = RunCli(one), b = RunCli(two);
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_EQ(WithoutLastLine(a.out), WithoutLastLine(b.out));
    EXPECT_NE(a.out.find("sampled: 200000 trials, seed 11, 1 threads\n"), std::string::npos);
    EXPECT_NE(b.out.find("sampled: 200000 trials, seed 11, 3 threads\n"), std::string::npos);
    EXPECT_NE(a.out.find("  22+,A2s+,KTo+,QJs\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("\n5       "), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("  random\n"), std::string::npos) << a.out;
    // Without --detail only the first player's equity, sampled on its own.
    std::vector<std::string> plain(args.begin(), args.end() - 1);
    const CliResult c = RunCli(plain);
    ASSERT_EQ(c.out.size(), 7u) << c.out;
    double win = 0, tie = 0, equity = 0, error = 0;
    ASSERT_EQ(std::sscanf(a.out.c_str() + a.out.find("\n1 ") + 1, "1 %lf %lf %lf %lf", &win, &tie,
                          &equity, &error),
              4);
    EXPECT_NEAR(std::stod(c.out), equity, 5 * error);
}

TEST(OddsOpponents, SampledAgreesWithExact)
{
    // Jacks against the best 5 % on a flop: 1,7 million deals counted, 300000 sampled.
    const CliResult exact =
        RunCli({"odds", "JhJd", "--vs", "top5%", "--board", "Js 8h 2c", "--exact"});
    const CliResult sampled = RunCli({"odds", "JhJd", "--vs", "top5%", "--board", "Js 8h 2c",
                                      "--trials", "300000", "--seed", "2", "--detail"});
    ASSERT_EQ(exact.status, 0) << exact.err;
    ASSERT_EQ(sampled.status, 0) << sampled.err;
    double equity = 0, win = 0, tie = 0, error = 0;
    ASSERT_EQ(std::sscanf(sampled.out.c_str() + sampled.out.find("\n1 ") + 1, "1 %lf %lf %lf %lf",
                          &win, &tie, &equity, &error),
              4)
        << sampled.out;
    EXPECT_GT(error, 0.0);
    EXPECT_NEAR(equity, std::stod(exact.out), 3 * error + 0.00005);
}

struct Refused
{
    std::vector<std::string> args;
    std::string message;
};

void PrintTo(const Refused &refused, std::ostream *os)
{
    *os << refused.message;
}

class OddsRefusal : public testing::TestWithParam<Refused>
{
};

TEST_P(OddsRefusal, NamesTheProblemAndExitsTwo)
{
    const CliResult r = RunCli(GetParam().args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Messages, OddsRefusal,
    testing::Values(
        Refused{{"odds", "AhKd", "--vs", "22+,K2x"}, "--vs '22+,K2x': 'K2x' is not a hand or a"},
        Refused{{"odds", "AhKd", "--vs", "T9s-86s"}, "both ends of a dash range"},
        Refused{{"odds", "AhKd", "--vs", "top0%"}, "the share must be above 0 %"},
        Refused{{"odds", "AhKd", "--vs", ","}, "holds no hands"},
        Refused{{"odds", "AhKd", "--vs", ""}, "--vs: the value is empty"},
        Refused{{"odds", "AhAs", "--vs", "AA", "--board", "Ad 7c 2d"},
                "--vs 'AA': every hand of the range clashes with the known cards"},
        Refused{{"odds", "AhKd", "--vs", "AhQd"}, "--vs 'AhQd' holds a card that is already dealt"},
        Refused{{"odds", "AhKd", "--vs", "QsQd", "--vs", "QsJs"}, "already dealt"},
        Refused{{"odds", "AsKd", "--vs", "AA", "--vs", "AA"}, "cannot all be dealt at once"},
        Refused{{"odds", "AhKd", "--vs", "QQ", "--vs", "JJ", "--players", "2"},
                "--players 2 leaves no seat for 2 --vs opponents"},
        Refused{{"odds", "AhKd", "--vs", "22", "--vs", "33", "--vs", "44",
                 "--vs", "55",   "--vs", "66", "--vs", "77", "--vs", "88",
                 "--vs", "99",   "--vs", "TT", "--vs", "JJ"},
                "at most 9 --vs opponents"},
        Refused{{"odds", "AhKd", "--players", "3", "--exact"}, "--exact would count more than"},
        Refused{{"odds", "AhKd", "--vs", "QQ", "--exact", "--trials", "5"}, "takes no --trials"},
        Refused{{"odds", "AhKd", "--threads", "0"}, "--threads: 0 is out of range (1 to 64)"},
        Refused{{"odds", "AhKd", "--exact=1"}, "--exact takes no value"},
        Refused{{"odds", "AhKd", "--dead", "Kd"}, "--dead: duplicate card 'Kd'"},
        Refused{{"odds", "AA", "--dead", "As Ah Ad"},
                "'AA': every hand of the range clashes with the known cards"},
        Refused{{"odds", "QQ", "--vs", "Qs Qh", "--dead", "Qd"}, "every hand of the range"},
        Refused{{"odds", "top100%", "--vs", "top100%", "--vs", "top100%", "--vs", "AA", "--vs",
                 "AA", "--vs", "AA"},
                "cannot all be dealt at once"}));

} // namespace
