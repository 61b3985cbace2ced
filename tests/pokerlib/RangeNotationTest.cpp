#include "pokerlib/RangeNotation.h"
#include "pokerlib/CardNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace brisquel;

std::size_t Count(const std::string &text)
{
    ComboList combos;
    std::string error;
    EXPECT_TRUE(ParseRange(text, combos, error)) << text << ": " << error;
    return combos.size();
}

std::string Error(const std::string &text)
{
    ComboList combos;
    std::string error;
    EXPECT_FALSE(ParseRange(text, combos, error)) << text;
    EXPECT_TRUE(combos.empty()) << text;
    return error;
}

std::pair<int, int> Combo(const char *a, const char *b)
{
    const int x = ParseCard(a), y = ParseCard(b);
    return {std::max(x, y), std::min(x, y)};
}

TEST(RangeNotation, EveryForm)
{
    EXPECT_EQ(Count("AA"), 6u);
    EXPECT_EQ(Count("AKs"), 4u);
    EXPECT_EQ(Count("AKo"), 12u);
    EXPECT_EQ(Count("AK"), 16u);
    EXPECT_EQ(Count("ka"), 16u); // case and order do not matter
    EXPECT_EQ(Count("22+"), 78u);
    EXPECT_EQ(Count("JJ+"), 24u);
    EXPECT_EQ(Count("A2s+"), 48u);
    EXPECT_EQ(Count("KTo+"), 36u); // KTo, KJo, KQo
    EXPECT_EQ(Count("K9+"), 64u);
    EXPECT_EQ(Count("55-22"), 24u);
    EXPECT_EQ(Count("T6s-T9s"), 16u);
    EXPECT_EQ(Count("22+,A2s+,KTo+,QJs"), 166u);
    EXPECT_EQ(Count(" 22+ , A2s+,KTo+ ,QJs, "), 166u); // blanks and a trailing comma
    EXPECT_EQ(Count("22+, QQ, JJ-TT"), 78u);           // overlaps count once
    EXPECT_EQ(Count("top15%"), 199u);                  // round(15 % of 1326)
    EXPECT_EQ(Count("top100%"), 1326u);
    EXPECT_EQ(Count("top 0.1%"), 1u);
    EXPECT_EQ(Count("As2c"), 1u); // the lowest card integer is a card like any other
    EXPECT_EQ(Count("2c3c"), 1u);

    ComboList combos;
    std::string error;
    ASSERT_TRUE(ParseRange("QsQd", combos, error));
    ASSERT_EQ(combos.size(), 1u);
    EXPECT_EQ(combos[0], Combo("Qs", "Qd"));
    ASSERT_TRUE(ParseRange("AKs", combos, error));
    const std::set<std::pair<int, int>> suited(combos.begin(), combos.end());
    EXPECT_EQ(suited, (std::set<std::pair<int, int>>{Combo("Ac", "Kc"), Combo("Ad", "Kd"),
                                                     Combo("Ah", "Kh"), Combo("As", "Ks")}));
    // Each combination is (higher card integer, lower one).
    ASSERT_TRUE(ParseRange("22+,A2s+,KTo+", combos, error));
    for (const auto &[hi, lo] : combos)
        EXPECT_GT(hi, lo);
    // The best share follows the spectrum: aces and kings come first.
    ASSERT_TRUE(ParseRange("top1%", combos, error));
    EXPECT_EQ(combos.size(), 13u);
    EXPECT_EQ(combos[0].first % 13, 12);
}

TEST(RangeNotation, BadTextNamesTheItem)
{
    EXPECT_EQ(Error("22+, K2x"), "'K2x' is not a hand or a range");
    EXPECT_EQ(Error("AAs"), "'AAs' is not a hand or a range");
    EXPECT_EQ(Error("A"), "'A' is not a hand or a range");
    EXPECT_EQ(Error("AKQ+"), "'AKQ+' is not a hand or a range");
    EXPECT_EQ(Error("Zz"), "'Zz' is not a hand or a range");
    EXPECT_EQ(Error("AsAs"), "'AsAs' names the same card twice");
    // The rank table's terminating NUL is no rank.
    EXPECT_NE(Error(std::string("K\0s", 3)).find("is not a hand or a range"), std::string::npos);
    EXPECT_NE(Error("T9s-86s").find("share the top card"), std::string::npos);
    EXPECT_NE(Error("22-AKs").find("dash range"), std::string::npos);
    EXPECT_NE(Error("top0%").find("above 0 %"), std::string::npos);
    EXPECT_NE(Error("top101%").find("at most 100 %"), std::string::npos);
    EXPECT_EQ(Error("topx%"), "'topx%' is not a share such as top15%");
    // Text after the number is not dropped silently.
    EXPECT_EQ(Error("top15x%"), "'top15x%' is not a share such as top15%");
    EXPECT_EQ(Error("top15%%"), "'top15%%' is not a share such as top15%");
    // A dash range keeps one suit letter from end to end.
    for (const char *mixed : {"AK-A2s", "AKs-A2", "AKo-A2s", "AKs-K2s"})
        EXPECT_NE(Error(mixed).find("dash range"), std::string::npos) << mixed;
    EXPECT_EQ(Error(""), "the range '' holds no hands");
    EXPECT_EQ(Error(" , "), "the range ' , ' holds no hands");
}

TEST(RangeNotation, DropClashing)
{
    ComboList aces;
    std::string error;
    ASSERT_TRUE(ParseRange("AA", aces, error));
    const std::uint64_t spadeAce = 1ull << ParseCard("As");
    EXPECT_EQ(DropClashing(aces, spadeAce).size(), 3u);
    EXPECT_EQ(DropClashing(aces, spadeAce | 1ull << ParseCard("Ah")).size(), 1u);
    EXPECT_EQ(DropClashing(aces, 0).size(), 6u);
}

} // namespace
