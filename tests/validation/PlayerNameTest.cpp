#include "validation/PlayerName.h"

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
