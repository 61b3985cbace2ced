#include "pokerlib/Carrowby.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

std::vector<int> Draws(EasyRandom &r, int n)
{
    std::vector<int> out(n);
    for (int &v : out)
        v = r.DrawRandomNumber();
    return out;
}

TEST(EasyRandom, StaysInsideTheIntervalAndHitsBothEnds)
{
    EasyRandom r(0, 1);
    r.SetTimerSeed();
    for (auto [lo, hi] : {std::pair{0, 51}, {0, 12}, {0, 18}, {0, 100}, {4, 7}, {5, 5}}) {
        r.SetInterval(lo, hi);
        std::vector<int> seen(hi - lo + 1, 0);
        for (int v : Draws(r, 20000)) {
            ASSERT_GE(v, lo);
            ASSERT_LE(v, hi);
            ++seen[v - lo];
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0);
    }
    r.SetInterval(INT_MIN, INT_MAX); // the widest interval must not overflow
    r.DrawRandomNumber();
}

TEST(EasyRandom, UniformByChiSquare)
{
    EasyRandom r(0, 51);
    r.SetFixedSeed(99);
    std::vector<int> counts(52, 0);
    constexpr int kDraws = 52 * 4000;
    for (int v : Draws(r, kDraws))
        ++counts[v];
    double chi = 0;
    for (int c : counts)
        chi += (c - 4000.0) * (c - 4000.0) / 4000.0;
    EXPECT_LT(chi, 90.0); // 51 degrees of freedom; 90 is far beyond the 99.9 % point
}

TEST(EasyRandom, FixedSeedRepeatsAndIgnoresTheClock)
{
    EasyRandom a(0, 100), b(0, 100);
    a.SetFixedSeed(5);
    b.SetFixedSeed(5);
    const auto first = Draws(a, 50);
    b.SetTimerSeed(); // keeps the fixed sequence
    EXPECT_EQ(Draws(b, 50), first);
    a.SetFixedSeed(6);
    EXPECT_NE(Draws(a, 50), first);
}

TEST(EasyRandom, LibrarySeedMakesTimerSeedsRepeat)
{
    SeedPokerLibrary(11);
    EasyRandom a(0, 51);
    a.SetTimerSeed();
    const auto first = Draws(a, 30);
    a.SetTimerSeed();
    const auto second = Draws(a, 30);
    EXPECT_NE(first, second);
    SeedPokerLibrary(11);
    EasyRandom b(0, 51);
    b.SetTimerSeed();
    EXPECT_EQ(Draws(b, 30), first);
    b.SetTimerSeed();
    EXPECT_EQ(Draws(b, 30), second);
}

TEST(Helpers, ExistsAndOrdering)
{
    const int values[] = {4, 8, 15, 16};
    EXPECT_TRUE(isExist(15, values, 4));
    EXPECT_FALSE(isExist(16, values, 3));
    EXPECT_FALSE(isExist(4, nullptr, 4));
    std::vector<int> drawn = {3, 12, 7, 12, 0};
    std::stable_sort(drawn.begin(), drawn.end(), comparefun);
    EXPECT_EQ(drawn, (std::vector<int>{12, 12, 7, 3, 0}));
    EXPECT_FALSE(comparefun(5, 5));
}

TEST(Helpers, WideTextAndProgramFolder)
{
    EXPECT_EQ(charTOwchar("1250"), L"1250");
    EXPECT_EQ(charTOwchar(""), L"");
    EXPECT_EQ(charTOwchar(nullptr), L"");
    EXPECT_EQ(charTOwchar("\xd0\x98\xd0\xb3"), L"\u0418\u0433"); // Cyrillic in UTF-8
    EXPECT_EQ(charTOwchar("a\xff"), L"a\uFFFD");
    const std::string dir = GetExecDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
    EXPECT_NE(dir.find("pokerlib"), std::string::npos); // the test program's own folder
}

} // namespace
