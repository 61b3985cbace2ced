// Refused command lines: each message names the real problem, the exit status is 2, nothing
// goes to standard output and no file or folder is made.

#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

namespace {

struct Refused
{
    std::vector<std::string> args;
    std::string message; // a part of standard error
};

// Test names show the expected message: the arguments may hold control characters.
void PrintTo(const Refused &refused, std::ostream *os)
{
    *os << refused.message;
}

class CliRefusal : public testing::TestWithParam<Refused>
{
};

} // namespace

TEST_P(CliRefusal, NamesTheProblemExitsTwoAndWritesNothing)
{
    TempFolder scratch;
    const std::string out = (scratch.path() / "out").string();
    std::vector<std::string> args = GetParam().args;
    if (args[0] == "play") {
        args.push_back("--out");
        args.push_back(out);
    }
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(std::filesystem::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CliRefusal,
    testing::Values(
        Refused{{"play", "--seed", "-1"}, "--seed: -1 is out of range (0 to "},
        Refused{{"play", "--seed", "x1"}, "--seed: 'x1' is not a whole number"},
        Refused{{"play", "--seats", "11"}, "--seats: 11 is out of range (2 to 10)"},
        Refused{{"play", "--hands", "99999999999"}, "--hands: 99999999999 is out of range"},
        Refused{{"play", "--blinds", "10/3000000000"}, "the big blind: 3000000000 is out of "},
        Refused{{"play", "--blinds", "30/20"}, "the small blind is larger than the big blind"},
        Refused{{"play", "--seats"}, "--seats needs a value"},
        Refused{{"play", "--seats", "--hands", "3"}, "--seats needs a value"},
        Refused{{"play", "--hands=x"}, "--hands: 'x' is not a whole number"},
        Refused{{"play", "--nonsense=1"}, "unknown option '--nonsense'"},
        Refused{{"play", "--names", ""}, "--names: the value is empty"},
        Refused{{"play", "--stacks", ""}, "--stacks: the value is empty"},
        Refused{{"play", "--names", "Ann,,Bob"}, "--names: name 2 is empty"},
        Refused{{"play", "--names", "Ann,Bob\nSeat 1: Hero (1 in chips)"},
                "--names: name 2 contains a control character"},
        Refused{{"play", "--names", "\x1b[31mRed,Bob"},
                "--names: name 1 contains a control character"},
        Refused{{"play", "--names", "A (1,Bob"},
                "--names: name 1 contains \" (\", where the hand history could not be read"},
        Refused{{"play", "--names", "Ann,Ostrivane Hand #"},
                "--names: name 2 starts like a hand's header"},
        Refused{{"play", "--names", "Ann,ABCDEFGHIJKLMNOPQ"},
                "--names: name 2 is longer than 16 characters"},
        Refused{{"play", "--stacks", "60000000,60000000", "--seats", "2"},
                "these add up to 120000000"},
        Refused{{"odds", "AhKd", "--board", "--players", "3"}, "--board needs a value"},
        Refused{{"odds", "AhKd", "--players", "-2"}, "--players: -2 is out of range (2 to 10)"},
        Refused{{"odds", "AhKd", "--players=two"}, "--players: 'two' is not a whole number"},
        Refused{{"odds", "AhKd", "Qs"}, "unexpected argument 'Qs'"},
        Refused{{"odds", "A hK d", "--players", "2"}, "unknown card 'A'"},
        Refused{{"eval", "AhKd"}, "eval reads its cards from standard input"}));

TEST(CliMessages, EvalReadsEachWordAsWholeCards)
{
    CliResult r = RunCli({"eval"}, "Ah Kd Qs J Tc\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "brisquel-cli: line 1: unknown card 'J'\n");
    r = RunCli({"eval"}, "A hK dQ sJ cT c\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "brisquel-cli: line 1: unknown card 'A'\n");
    // Written together, apart or with commas, the same cards give the same line.
    r = RunCli({"eval"}, "AhKdQsJcTc\nAh Kd Qs Jc Tc\nAh,Kd, Qs,Jc ,Tc\n");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string first = r.out.substr(0, r.out.find('\n') + 1);
    EXPECT_EQ(r.out, first + first + first);
}

TEST(CliMessages, HelpAfterEveryCommandPrintsItsUsage)
{
    for (const char *command : {"odds", "eval", "play"}) {
        for (const char *help : {"--help", "-h"}) {
            const CliResult r = RunCli({command, "--seats", help});
            EXPECT_EQ(r.status, 0) << command << " " << r.err;
            EXPECT_EQ(r.out.rfind(std::string("usage: brisquel-cli ") + command, 0), 0u) << r.out;
            EXPECT_EQ(r.err, "");
        }
    }
}

TEST(CliMessages, OptionsMayCarryTheirValueAfterAnEqualsSign)
{
    TempFolder scratch;
    const CliResult r =
        RunCli({"play", "--seats=3", "--hands=2", "--seed=5", "--out=" + scratch.str()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Hands played: 2\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Seed: 5\n"), std::string::npos) << r.out;
}
