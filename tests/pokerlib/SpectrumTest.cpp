#include "pokerlib/Spectrum.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "tests/support/CaseNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using brisquel::ParseCard;

std::string Class(const std::pair<int, int> &combo)
{
    return brisquel::ClassName(combo.first, combo.second);
}

TEST(Spectrum, ClassTableIsCompleteAndOrdered)
{
    std::set<std::string> names;
    int combos = 0;
    for (const auto &c : brisquel::kClassEquities) {
        names.insert(c.name);
        combos += int(brisquel::ClassCombos(c.name).size());
    }
    EXPECT_EQ(names.size(), 169u);
    EXPECT_EQ(combos, 1326);
    for (std::size_t i = 1; i < 169; ++i)
        EXPECT_GE(brisquel::kClassEquities[i - 1].equity, brisquel::kClassEquities[i].equity);
    EXPECT_STREQ(brisquel::kClassEquities[0].name, "AA");
    EXPECT_NEAR(brisquel::kClassEquities[0].equity, 0.852, 0.002);
    EXPECT_STREQ(brisquel::kClassEquities[168].name, "32o");
}

TEST(Spectrum, BestShareOfCombinations)
{
    CStatSpectr spectrum;
    spectrum.Init();
    spectrum.InitFerrandel();
    Spec spec;
    std::wstring text;
    ASSERT_TRUE(spectrum.GetSpecByPercent(0.5, spec, text, 1));
    EXPECT_EQ(spec.combos.size(), 7u); // round(6.63): the six aces and one pair of kings
    EXPECT_TRUE(spec.Contains(ParseCard("Ah"), ParseCard("As")));
    EXPECT_TRUE(spec.Contains(ParseCard("As"), ParseCard("Ah")));
    EXPECT_FALSE(spec.Contains(ParseCard("7h"), ParseCard("2s")));

    ASSERT_TRUE(spectrum.GetSpecByPercent(100, spec, text, 1));
    EXPECT_EQ(spec.combos.size(), 1326u);
    std::set<std::pair<int, int>> unique;
    for (auto [a, b] : spec.combos)
        unique.insert({std::min(a, b), std::max(a, b)});
    EXPECT_EQ(unique.size(), 1326u);

    ASSERT_TRUE(spectrum.GetSpecByPercent(150, spec, text, 1));
    EXPECT_EQ(spec.combos.size(), 1326u);
    ASSERT_TRUE(spectrum.GetSpecByPercent(-3, spec, text, 1));
    EXPECT_TRUE(spec.combos.empty());

    // A smaller share is a prefix of a larger one.
    Spec small, large;
    spectrum.GetSpecByPercent(12.5, small, text, 1);
    spectrum.GetSpecByPercent(30, large, text, 1);
    EXPECT_EQ(small.combos.size(), 166u);
    ASSERT_LT(small.combos.size(), large.combos.size());
    for (std::size_t i = 0; i < small.combos.size(); ++i)
        EXPECT_EQ(small.combos[i], large.combos[i]);
    // The whole class comes before the next one: no king-queen before every pair of kings.
    EXPECT_EQ(Class(small.combos[6]), "KK");
}

TEST(Spectrum, WorksWithoutInit)
{
    CStatSpectr spectrum;
    Spec spec;
    std::wstring text;
    ASSERT_TRUE(spectrum.GetSpecByPercent(1, spec, text, 1));
    EXPECT_EQ(spec.combos.size(), 13u);
}

TEST(StrategyRanges, SizesAndKeyRule)
{
    StrategyRanges ranges;
    ranges.MakeSrategyRanges();
    // Count combinations once: pairs appear in both orders.
    for (int i = 0; i < 2; ++i) {
        std::set<std::pair<int, int>> combos;
        for (auto [a, b] : ranges.m_sets[i]) {
            ASSERT_NE(a, b);
            if (a % 13 != b % 13) {
                ASSERT_GT(a % 13, b % 13) << "the higher card comes first";
            } else {
                ASSERT_TRUE(ranges.m_sets[i].count({b, a})) << "pairs in both orders";
            }
            combos.insert({std::min(a, b), std::max(a, b)});
        }
        const double share = double(combos.size()) / 1326.0;
        EXPECT_NEAR(share, i == 0 ? 0.40 : 0.27, 0.01);
    }
    const auto &button = ranges.m_sets[0];
    const auto &cutoff = ranges.m_sets[1];
    const auto key = [](const char *a, const char *b) {
        return std::make_pair(ParseCard(a), ParseCard(b));
    };
    EXPECT_NE(button.find(key("As", "Kd")), button.end());
    EXPECT_NE(button.find(key("2c", "2d")), button.end());
    EXPECT_NE(button.find(key("2d", "2c")), button.end());
    EXPECT_EQ(button.find(key("7h", "2d")), button.end());
    EXPECT_NE(button.find(key("Kh", "4h")), button.end());
    EXPECT_EQ(cutoff.find(key("Kh", "4h")), cutoff.end());
    // The cut-off range sits inside the button range.
    for (const auto &pair : cutoff)
        EXPECT_TRUE(button.count(pair));
}

struct GroupCase
{
    const char *a;
    const char *b;
    int group;
};
void PrintTo(const GroupCase &c, std::ostream *os)
{
    *os << c.a << c.b;
}

class Sklansky : public ::testing::TestWithParam<GroupCase>
{
};

TEST_P(Sklansky, StandardGroups)
{
    const auto &c = GetParam();
    EXPECT_EQ(SklanskyGroup(CCard(ParseCard(c.a)), CCard(ParseCard(c.b))), c.group);
    EXPECT_EQ(SklanskyGroup(CCard(ParseCard(c.b)), CCard(ParseCard(c.a))), c.group);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, Sklansky,
    ::testing::Values(GroupCase{"Ah", "Ad", 1}, GroupCase{"Ah", "Kh", 1}, GroupCase{"Ah", "Kd", 2},
                      GroupCase{"Th", "Td", 2}, GroupCase{"Ah", "Qd", 3}, GroupCase{"Jh", "Th", 3},
                      GroupCase{"8h", "8d", 4}, GroupCase{"Kh", "Qd", 4}, GroupCase{"Ah", "5h", 5},
                      GroupCase{"7h", "7d", 5}, GroupCase{"Ah", "Td", 6}, GroupCase{"5h", "4h", 6},
                      GroupCase{"2h", "2d", 7}, GroupCase{"Kh", "2h", 7}, GroupCase{"Ah", "9d", 8},
                      GroupCase{"8h", "7d", 8}, GroupCase{"7h", "2d", 0}, GroupCase{"Kh", "2d", 0},
                      GroupCase{"Ah", "8d", 0}),
    support::PrintedName());

} // namespace
