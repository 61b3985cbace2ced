#include "stats/PokerStat.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

enum Kind
{
    HandStart = 1,
    HandEnd,
    PreflopStart,
    PreflopEnd,
    DealtIn,
    Button,
    SmallBlind,
    BigBlind,
    Fold,
    Bet,
    Call,
    Check,
    Raise,
    Flop,
    FlopEnd,
    Turn,
    TurnEnd,
    River,
    RiverEnd
};

// A hand's events laid out as the engine appends them: start, seats, button, blinds, then
// the preflop decisions (kind, seat) given.
std::vector<CAction> Hand(int seats, int button, int sb, int bb,
                          const std::vector<std::pair<int, int>> &preflop)
{
    std::vector<CAction> a{{HandStart, -1, 0}};
    for (int s = 0; s < seats; ++s)
        a.emplace_back(DealtIn, s, 0, "P" + std::to_string(s));
    a.emplace_back(Button, button, 0);
    a.emplace_back(PreflopStart, -1, 0);
    a.emplace_back(SmallBlind, sb, 10);
    a.emplace_back(BigBlind, bb, 20);
    for (const auto &[kind, seat] : preflop)
        a.emplace_back(kind, seat, kind == Fold || kind == Check ? 0 : 20);
    a.emplace_back(PreflopEnd, -1, 0);
    return a;
}

struct Table
{
    CPokerStat stats[10];
    bool Analyze(const std::vector<CAction> &actions)
    {
        return AnalyzeHand(actions, [this](int s) -> CPokerStat & { return stats[s]; });
    }
    bool Finish(std::vector<CAction> actions)
    {
        actions.emplace_back(HandEnd, -1, 0);
        return Analyze(actions);
    }
};

void ExpectCounts(const CPokerStat &s, int hands, int n, int opp, int vpip, int pfr, int threeBet)
{
    EXPECT_EQ(s.m_hands, hands);
    EXPECT_EQ(s.m_N, n);
    EXPECT_EQ(s.m_vpipOpportunities, opp);
    EXPECT_EQ(s.m_VPIP, vpip);
    EXPECT_EQ(s.m_PFR, pfr);
    EXPECT_EQ(s.m_3bet, threeBet);
}

// Each seat's counts after one hand's preflop: hands, N, VPIP chances, VPIP, PFR, 3-bet.
struct PreflopCase
{
    const char *name;
    int seats, button, sb, bb;
    std::vector<std::pair<int, int>> preflop; // kind, seat
    std::vector<std::array<int, 7>> counts;   // seat, then its counts
};
void PrintTo(const PreflopCase &c, std::ostream *os)
{
    *os << c.name;
}

class AnalyzePreflop : public testing::TestWithParam<PreflopCase>
{
};

TEST_P(AnalyzePreflop, CountsEachSeat)
{
    const PreflopCase &c = GetParam();
    Table t;
    EXPECT_TRUE(t.Finish(Hand(c.seats, c.button, c.sb, c.bb, c.preflop)));
    for (const auto &[s, hands, n, chances, vpip, pfr, threeBet] : c.counts) {
        SCOPED_TRACE(s);
        ExpectCounts(t.stats[s], hands, n, chances, vpip, pfr, threeBet);
    }
}

// Four seats: button 0, small blind 1, big blind 2, seat 3 first to act.
// clang-format off
INSTANTIATE_TEST_SUITE_P(AnalyzeHand, AnalyzePreflop, testing::Values(
    // The big blind took no action.
    PreflopCase{"EveryoneFoldsToTheBigBlind", 4, 0, 1, 2, {{Fold, 3}, {Fold, 0}, {Fold, 1}},
                {{3, 1, 1, 1, 0, 0, 0}, {0, 1, 1, 1, 0, 0, 0}, {1, 1, 1, 1, 0, 0, 0}, {2, 1, 0, 0, 0, 0, 0}}},
    PreflopCase{"BigBlindCheckAfterLimpersIsNoVpipOpportunity", 4, 0, 1, 2,
                {{Call, 3}, {Call, 0}, {Call, 1}, {Check, 2}},
                {{2, 1, 1, 0, 0, 0, 0}, {0, 1, 1, 1, 1, 0, 0}, {1, 1, 1, 1, 1, 0, 0}, {3, 1, 1, 1, 1, 0, 0}}},
    // The raiser's call after the 3-bet is no 3-bet.
    PreflopCase{"LimpThenReraiseIsThreeBetWithoutPfr", 4, 0, 1, 2,
                {{Call, 3}, {Raise, 0}, {Fold, 1}, {Fold, 2}, {Raise, 3}, {Call, 0}},
                {{3, 1, 1, 1, 1, 0, 1}, {0, 1, 1, 1, 1, 1, 0}}},
    PreflopCase{"SecondRaiserGetsPfrAndThreeBetFirstRaiserReraisingCounts", 4, 0, 1, 2,
                {{Raise, 3}, {Raise, 0}, {Fold, 1}, {Fold, 2}, {Raise, 3}, {Call, 0}},
                {{3, 1, 1, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 1, 1}}},
    PreflopCase{"EarlyFolderWhoPostsNothing", 6, 0, 1, 2,
                {{Fold, 3}, {Raise, 4}, {Fold, 5}, {Fold, 0}, {Fold, 1}, {Call, 2}},
                {{3, 1, 1, 1, 0, 0, 0}, {4, 1, 1, 1, 1, 1, 0}, {2, 1, 1, 1, 1, 0, 0}}},
    // Seat 3 is dealt in but the round never reaches it (it is all in from the ante).
    PreflopCase{"SeatDealtInWithoutActingCountsNoHand", 4, 0, 1, 2, {{Fold, 0}, {Fold, 1}},
                {{3, 0, 0, 0, 0, 0, 0}, {0, 1, 1, 1, 0, 0, 0}}},
    PreflopCase{"HeadsUpButtonPostsTheBigBlind", 2, 0, 1, 0, {{Call, 1}, {Check, 0}},
                {{1, 1, 1, 1, 1, 0, 0}, {0, 1, 1, 0, 0, 0, 0}}}),
    testing::PrintToStringParamName());
// clang-format on

TEST(AnalyzeHand, PostflopBetsAndRaisesAreNotCounted)
{
    Table t;
    auto a = Hand(3, 0, 1, 2, {{Call, 0}, {Call, 1}, {Check, 2}});
    for (Kind k : {Flop, Turn}) {
        a.emplace_back(k, -1, 0);
        a.emplace_back(Bet, 1, 40);
        a.emplace_back(Raise, 2, 120);
        a.emplace_back(Raise, 0, 300);
        a.emplace_back(k + 1, -1, 0);
    }
    t.Finish(a);
    for (int s : {0, 1, 2}) {
        EXPECT_EQ(t.stats[s].m_PFR, 0);
        EXPECT_EQ(t.stats[s].m_3bet, 0);
    }
}

TEST(AnalyzeHand, NothingIsAddedBeforeTheHandEnds)
{
    Table t;
    EXPECT_FALSE(t.Analyze(Hand(3, 0, 1, 2, {{Raise, 0}, {Fold, 1}, {Fold, 2}})));
    for (const CPokerStat &s : t.stats)
        ExpectCounts(s, 0, 0, 0, 0, 0, 0);
}

TEST(AnalyzeHand, HandsAccumulateAcrossHands)
{
    Table t;
    for (int i = 0; i < 3; ++i)
        t.Finish(Hand(3, 0, 1, 2, {{Raise, 0}, {Fold, 1}, {Fold, 2}}));
    ExpectCounts(t.stats[0], 3, 3, 3, 3, 3, 0);
    ExpectCounts(t.stats[1], 3, 3, 3, 0, 0, 0);
}

TEST(AnalyzeHand, MalformedSeatIsIgnored)
{
    Table t;
    auto a = Hand(3, 0, 1, 2, {{Fold, 0}, {Fold, 1}});
    a.insert(a.end() - 1, CAction(Fold, 12, 0));
    EXPECT_TRUE(t.Finish(a));
    ExpectCounts(t.stats[1], 1, 1, 1, 0, 0, 0);
}

TEST(StatCounters, ClearAndAdd)
{
    CPokerStat a, b;
    b.m_hands = 2;
    b.m_N = 3;
    b.m_vpipOpportunities = 4;
    b.m_VPIP = 5;
    b.m_PFR = 6;
    b.m_3bet = 7;
    b.m_pfrRatio = 0.5;
    b.m_lines[0] = L"x";
    AddStat(a, b);
    AddStat(a, b);
    ExpectCounts(a, 4, 6, 8, 10, 12, 14);
    EXPECT_EQ(a.m_pfrRatio, 0.0);
    EXPECT_TRUE(a.m_lines[0].empty());
    ClearStat(b);
    ExpectCounts(b, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(b.m_pfrRatio, 0.0);
    EXPECT_TRUE(b.m_lines[0].empty());
}

TEST(BuildStatText, BelowTenHandsShowsTheHandCountOnly)
{
    CPokerStat s;
    s.m_hands = 9;
    s.m_N = 7;
    s.m_PFR = 7;
    s.m_lines[2] = L"old";
    BuildStatText(s);
    EXPECT_EQ(s.m_lines[0], L"N=9");
    EXPECT_TRUE(s.m_lines[1].empty());
    EXPECT_EQ(s.m_lines[2], L"old");
    EXPECT_EQ(s.m_pfrRatio, 0.0);
}

TEST(BuildStatText, AtTenHandsFourLinesAndTheRatios)
{
    CPokerStat s;
    s.m_hands = 10;
    s.m_N = 7;
    s.m_vpipOpportunities = 6;
    s.m_VPIP = 2;
    s.m_PFR = 1;
    s.m_3bet = 3;
    BuildStatText(s);
    EXPECT_EQ(s.m_lines[0], L"N=7 VP/PFR: 33/14");
    EXPECT_EQ(s.m_lines[1], L"  ");
    EXPECT_EQ(s.m_lines[2], L"3B: 43 ");
    EXPECT_EQ(s.m_lines[3], L"  ");
    EXPECT_DOUBLE_EQ(s.m_vpipRatio, 2.0 / 6);
    EXPECT_DOUBLE_EQ(s.m_pfrRatio, 1.0 / 7);
}

TEST(BuildStatText, ZeroDenominatorsShowZeroNotNan)
{
    CPokerStat s;
    s.m_hands = 12; // a big blind that was always walked: no action, no opportunity
    BuildStatText(s);
    EXPECT_EQ(s.m_lines[0], L"N=0 VP/PFR: 0/0");
    EXPECT_EQ(s.m_lines[2], L"3B: 0 ");
    EXPECT_EQ(s.m_vpipRatio, 0.0);
    EXPECT_EQ(s.m_pfrRatio, 0.0);

    s.m_N = 4; // checked every time from the big blind: N but no VPIP opportunity
    BuildStatText(s);
    EXPECT_EQ(s.m_lines[0], L"N=4 VP/PFR: 0/0");
}

} // namespace
