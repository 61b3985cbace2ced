#include "cli/args/CommandLine.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

const CommandLine kLine = CommandLine()
                              .Value("--seats")
                              .Value("--board", true)
                              .Value("--seed")
                              .Flag("--exact")
                              .Repeated("--vs")
                              .Positional(1);

std::string Refusal(const std::vector<std::string> &args)
{
    try {
        kLine.Parse(args);
    } catch (const ArgError &e) {
        return e.what();
    }
    return "accepted";
}

} // namespace

TEST(CommandLine, ValuesComeApartOrAfterAnEqualsSign)
{
    const ParsedArgs a = kLine.Parse({"AhKd", "--seats=3", "--board", "Qs Jd 2c", "--exact"});
    EXPECT_EQ(a.Positional(), std::vector<std::string>{"AhKd"});
    EXPECT_EQ(a.Integer("--seats", 2, 10, 9), 3);
    EXPECT_EQ(a.Text("--board"), "Qs Jd 2c");
    EXPECT_TRUE(a.Has("--exact"));
    EXPECT_FALSE(a.Has("--seed"));
    EXPECT_EQ(a.Integer("--seed", 0, 5, 4), 4);
    // An equals sign inside the value belongs to it; an empty value only where allowed.
    EXPECT_EQ(kLine.Parse({"--board=a=b"}).Text("--board"), "a=b");
    EXPECT_EQ(kLine.Parse({"--board", ""}).Text("--board"), "");
}

TEST(CommandLine, RepeatedOptionsKeepEveryValueInOrder)
{
    const ParsedArgs a = kLine.Parse({"--vs", "QsQd", "AhKd", "--vs=22+,A2s+", "--vs", "top15%"});
    EXPECT_EQ(a.Texts("--vs"), (std::vector<std::string>{"QsQd", "22+,A2s+", "top15%"}));
    EXPECT_TRUE(a.Has("--vs"));
    EXPECT_TRUE(kLine.Parse({"AhKd"}).Texts("--vs").empty());
    EXPECT_EQ(Refusal({"--vs"}), "--vs needs a value");
    EXPECT_EQ(Refusal({"--vs", ""}), "--vs: the value is empty");
    EXPECT_EQ(Refusal({"--seed", "1", "--seed", "2"}), "--seed is given more than once");
}

TEST(CommandLine, HelpAnywhereWinsOverEverythingElse)
{
    EXPECT_TRUE(kLine.Parse({"--help"}).Help());
    EXPECT_TRUE(kLine.Parse({"--seats", "--help"}).Help());
    EXPECT_TRUE(kLine.Parse({"--nonsense", "x", "y", "-h"}).Help());
    EXPECT_FALSE(kLine.Parse({}).Help());
}

TEST(CommandLine, EachRefusalNamesItsProblem)
{
    EXPECT_EQ(Refusal({"--seats"}), "--seats needs a value");
    EXPECT_EQ(Refusal({"--board", "--seats", "3"}), "--board needs a value");
    EXPECT_EQ(Refusal({"--seats", ""}), "--seats: the value is empty");
    EXPECT_EQ(Refusal({"--seats="}), "--seats: the value is empty");
    EXPECT_EQ(Refusal({"--exact=yes"}), "--exact takes no value");
    EXPECT_EQ(Refusal({"--frobnicate", "1"}), "unknown option '--frobnicate'");
    EXPECT_EQ(Refusal({"--frob=1"}), "unknown option '--frob'");
    EXPECT_EQ(Refusal({"-x"}), "unknown option '-x'");
    EXPECT_EQ(Refusal({"AhKd", "Qs"}), "unexpected argument 'Qs'");
    EXPECT_EQ(Refusal({"--seats", "3", "--seats=4"}), "--seats is given more than once");
}

TEST(CommandLine, WordsForAnotherReaderPassInOrderAndRepeatsTakeTheLast)
{
    const CommandLine line =
        CommandLine().Repeated("--pace", true).Flag("--version", true).PassOthers();
    const ParsedArgs a = line.Parse({"-platform", "offscreen", "--pace", "1", "--style=fusion",
                                     "--version", "--pace=", "--version", "extra"});
    EXPECT_EQ(a.Others(),
              (std::vector<std::string>{"-platform", "offscreen", "--style=fusion", "extra"}));
    EXPECT_EQ(a.Text("--pace"), "");
    EXPECT_TRUE(a.Has("--version"));
    // The options the command knows are still checked; without PassOthers nothing passes.
    EXPECT_THROW(line.Parse({"--version=1"}), ArgError);
    EXPECT_THROW(line.Parse({"-platform", "--pace"}), ArgError);
    EXPECT_EQ(Refusal({"--exact", "--exact"}), "--exact is given more than once");
    EXPECT_TRUE(kLine.Parse({"AhKd"}).Others().empty());
}

TEST(CommandLine, NumbersTellNonNumbersFromOutOfRange)
{
    const auto integer = [](const std::string &text) {
        try {
            return std::to_string(kLine.Parse({"--seats", text}).Integer("--seats", 2, 10, 0));
        } catch (const ArgError &e) {
            return std::string(e.what());
        }
    };
    EXPECT_EQ(integer("10"), "10");
    EXPECT_EQ(integer("007"), "7");
    EXPECT_EQ(integer("11"), "--seats: 11 is out of range (2 to 10)");
    EXPECT_EQ(integer("-1"), "--seats: -1 is out of range (2 to 10)");
    EXPECT_EQ(integer("99999999999999999999"),
              "--seats: 99999999999999999999 is out of range (2 to 10)");
    for (const char *text : {"x", "3x", " 3", "+3", "3.0", "-", "0x10"})
        EXPECT_EQ(integer(text), std::string("--seats: '") + text + "' is not a whole number");
    EXPECT_THROW(
        {
            try {
                ParseInteger("--hands", "0", 1, LLONG_MAX);
            } catch (const ArgError &e) {
                EXPECT_STREQ(e.what(), "--hands: 0 is out of range (at least 1)");
                throw;
            }
        },
        ArgError);
}

TEST(CommandLine, SeedsTakeTheWholeUnsignedRange)
{
    EXPECT_EQ(kLine.Parse({"--seed", "18446744073709551615"}).Unsigned64("--seed"),
              18446744073709551615ULL);
    EXPECT_EQ(kLine.Parse({}).Unsigned64("--seed"), std::nullopt);
    const auto refusal = [](const std::string &text) {
        try {
            kLine.Parse({"--seed", text}).Unsigned64("--seed");
        } catch (const ArgError &e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refusal("-1"), "--seed: -1 is out of range (0 to 18446744073709551615)");
    EXPECT_EQ(refusal("18446744073709551616"),
              "--seed: 18446744073709551616 is out of range (0 to 18446744073709551615)");
    EXPECT_EQ(refusal("seven"), "--seed: 'seven' is not a whole number");
}

TEST(CommandLine, ListsKeepEmptyParts)
{
    EXPECT_EQ(SplitList("a,b", ','), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitList("a,", ','), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitList(",", ','), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(SplitList("10/20", '/'), (std::vector<std::string>{"10", "20"}));
}
