#include "validation/PlayerName.h"
#include "validation/PrintableText.h"

#include <gtest/gtest.h>

TEST(PlayerName, AcceptsTheNamesTheProgramGivesAndLettersBeyondAscii)
{
    for (const char *name : {"Hero", "Master", "Unknow Player 9", "Élodie", "Zoë O'Neil"})
        EXPECT_EQ(PlayerNameProblem(name), "") << name;
    // The limit counts characters: 16 two-byte letters are fine.
    std::string accented;
    for (int i = 0; i < kMaxPlayerNameLength; ++i)
        accented += "é";
    EXPECT_EQ(PlayerNameProblem(accented), "");
}

TEST(PlayerName, RefusesWhatCouldForgeLinesOrEscapeTheTerminal)
{
    for (const std::string &name :
         {std::string("Bob\nSeat 3: Hero"), std::string("a\rb"), std::string("\x1b[2J"),
          std::string("tab\there"), std::string("del\x7f"), std::string("nul\0x", 5),
          std::string("c1\xc2\x9b"
                      "2J"),
          std::string("ls\xe2\x80\xa8")})
        EXPECT_EQ(PlayerNameProblem(name), "contains a control character");
}

TEST(PlayerName, RefusesEmptyTooLongAndMalformedNames)
{
    EXPECT_EQ(PlayerNameProblem(""), "is empty");
    EXPECT_EQ(PlayerNameProblem(std::string(kMaxPlayerNameLength, 'x')), "");
    EXPECT_EQ(PlayerNameProblem(std::string(kMaxPlayerNameLength + 1, 'x')),
              "is longer than 16 characters");
    // A lone byte of the escape introducer, a cut sequence, an overlong '/' and a surrogate.
    for (const char *name : {"a\x9b", "ab\xc3", "\xc0\xaf", "\xed\xa0\x80"})
        EXPECT_EQ(PlayerNameProblem(name), "is not UTF-8 text");
}

// Names the hand history's reader would misread: refused with the reason; near misses pass.
TEST(PlayerName, RefusesWhatTheHandHistoryCouldNotBeReadBackWith)
{
    for (const char *name : {"A (1", "Ann (", " (x", "Bob [ 1", "A [ "})
        EXPECT_NE(PlayerNameProblem(name).find("the hand history could not be read back"),
                  std::string::npos)
            << name;
    EXPECT_EQ(PlayerNameProblem("Ostrivane Hand #"),
              "starts like a hand's header (\"Ostrivane Hand #\"), so the hand history could not "
              "be read back");
    for (const char *name : {"A(1", "Ann [1]", "Ostrivane Hand", "Ostrivane Hand 1"})
        EXPECT_EQ(PlayerNameProblem(name), "") << name;
}

TEST(PrintableText, EscapesControlsAndBrokenBytesOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Hero", "Hero"},
        {"Élodie", "Élodie"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
        {"\x1b[2J", "\\x1b[2J"},
        {"del\x7f", "del\\x7f"},
        {"c1\xc2\x9b"
         "2J",
         "c1\\u009b2J"},
        {"ls\xe2\x80\xa8", "ls\\u2028"},
        {"cut\xc3", "cut\\xc3"},
        {"\xc0\xaf/", "\\xc0\\xaf/"},
        {std::string("nul\0x", 5), "nul\\x00x"},
    };
    for (const auto &[text, printed] : cases)
        EXPECT_EQ(PrintableText(text), printed);
}
