// What the range tracker makes of single actions on tables set up by hand: the replayed
// personas' rules read from opponents/Decisions.cpp, the unknown seat's widths from its model.

#include "playout/Ranges.h"
#include "playout/FastOdds.h"
#include "playout/SeatActs.h"

#include "tests/support/Cards.h"
#include "tests/support/CaseNames.h"
#include "vocabulary/GameVocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testsupport::Card;
using testsupport::Cards;

// A preflop table of `seats` seats with 1000 chips each, blinds 10/20 posted by the seats after
// the button (seat 0); the raising history kept as the engine keeps it.
struct Table
{
    CGameTable t;

    explicit Table(int seats = 6, int persona = kPersonaTim)
    {
        t.m_seatCount = seats;
        for (int s = 0; s < seats; ++s) {
            t.m_inGame[s] = 1;
            t.m_stack[s] = 1000;
            t.m_players[s].m_persona = persona;
        }
        for (int &c : t.m_cards)
            c = -1;
        t.m_smallBlind = 10;
        t.m_bigBlind = 20;
        t.m_raises.Begin(20, 20, true);
        Put(1, 10);
        Put(2, 20);
        t.m_amountToCall = 20;
    }
    void Put(int s, int amount)
    {
        t.m_stack[s] -= amount;
        t.m_bet[s] += amount;
        t.m_raises.Act(s, t.m_bet[s]);
    }
    void RaiseTo(int s, int total)
    {
        Put(s, total - t.m_bet[s]);
        t.m_amountToCall = total;
        t.m_lastAction[s] = kLastActionRaise;
        t.m_lastRaiser = s;
    }
    void Flop(const char *cards)
    {
        for (int s = 0; s < t.m_seatCount; ++s) {
            t.m_pot += t.m_bet[s];
            t.m_bet[s] = 0;
            t.m_lastAction[s] = kLastActionNone;
        }
        const std::vector<int> board = Cards(cards);
        for (std::size_t i = 0; i < board.size(); ++i)
            t.m_cards[20 + i] = board[i];
        t.m_boardCount = int(board.size());
        t.m_amountToCall = 0;
        t.m_raises.Begin(20, 0, false);
    }
};

// The weight of one combination, relative to the largest of the seat's weights.
double Share(const playout::HandWeights &hw, const char *hand)
{
    const std::vector<int> c = Cards(hand);
    double top = 0;
    for (double w : hw.weights)
        top = std::max(top, w);
    return hw.weights.at(std::size_t(playout::ComboIndex(c[0], c[1]))) / top;
}

struct ActionCase
{
    const char *name;
    int persona;
    bool raiseFirst;  // seat 3 opens to 60 before the seat decides
    int players;      // seats in the hand: the others fold before the deal reaches seat 4
    int action;       // chips the seat (4) puts in; -1 folds; 1000 goes all in
    const char *flop; // empty: before the flop
    const char *likely;
    const char *unlikely;
};
void PrintTo(const ActionCase &c, std::ostream *os)
{
    *os << c.name;
}

class SingleAction : public ::testing::TestWithParam<ActionCase>
{
};

// The hand the seat's code plays this way weighs far more than the one it never plays so.
TEST_P(SingleAction, WeighsTheHandsThatActSo)
{
    const ActionCase &c = GetParam();
    Table table(6, c.persona);
    for (int s : {5, 0, 3})
        if (table.t.CountActive() > c.players)
            table.t.m_folded[s] = true;
    if (c.raiseFirst)
        table.RaiseTo(3, 60);
    int street = -1;
    if (*c.flop) {
        table.Flop(c.flop);
        street = 0;
    }
    playout::CFastOdds odds;
    playout::RangeTracker tracker(odds, {});
    const int seat = 4;
    const int put = c.action < 0 ? 0 : std::min(c.action, table.t.m_stack[seat]);
    tracker.Observe(table.t, seat, street, put, c.action < 0);
    const playout::HandWeights hw = tracker.Weights(seat);
    ASSERT_EQ(hw.weights.size(), std::size_t(playout::kComboCount));
    EXPECT_GT(Share(hw, c.likely), 0.9) << c.name;
    EXPECT_LT(Share(hw, c.unlikely), 0.1) << c.name;
    EXPECT_GT(Share(hw, c.unlikely), 0.0) << c.name << ": a floor, never exactly nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Personas, SingleAction,
    ::testing::Values(
        // Facing a raise the Maniac shoves jacks or better and ace-king only.
        ActionCase{"ManiacReShove", kPersonaManiac, true, 6, 1000, "", "Qh Qs", "7c 2d"},
        ActionCase{"ManiacReShoveNotNines", kPersonaManiac, true, 6, 1000, "", "Ac Kd", "9c 9d"},
        // Unraised, a junk hand shoves one time in ten: a pair of eights always does.
        ActionCase{"ManiacFoldsJunk", kPersonaManiac, false, 6, -1, "", "7c 2d", "8c 8d"},
        // Tim raises jacks or better and ace-king; folding says it holds none of them.
        ActionCase{"TimFoldsNoPremium", kPersonaTim, false, 6, -1, "", "9c 4d", "Ah As"},
        ActionCase{"TimRaises", kPersonaTim, false, 6, 60, "", "Kh Kd", "9c 4d"},
        // Tim bets the flop with a pair of jacks or better.
        ActionCase{"TimFlopBet", kPersonaTim, false, 6, 60, "Jc 7d 2h", "Qd Qh", "4c 3d"},
        // The Professor raises with better than even money against the table (three seats:
        // queens, not eight-three), folds else.
        ActionCase{"ProfessorRaises", kPersonaProfessor, false, 3, 60, "", "Qh Qs", "8c 3d"},
        ActionCase{"ProfessorFolds", kPersonaProfessor, false, 3, -1, "", "8c 3d", "Kh Ks"},
        // The unknown seat: an open is a top range, a three-bet a narrower one.
        ActionCase{"UnknownOpens", kPersonaHero, false, 6, 60, "", "Ah Qh", "7c 2d"},
        ActionCase{"UnknownThreeBets", kPersonaHero, true, 6, 180, "", "Kh Ks", "Tc 9c"}),
    [](const auto &param) { return std::string(param.param.name); });

// The Master bets the flop by its equity times the pot: the size tells the strength. Heads-up
// into a pot of 200, top pair top kicker bets far more than a gutshot does.
struct SizeCase
{
    int bet;
    const char *likely;
    const char *unlikely;
};
void PrintTo(const SizeCase &c, std::ostream *os)
{
    *os << c.bet << " with " << c.likely;
}

class MasterBetSize : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(MasterBetSize, TellsTheStrength)
{
    Table table(6, kPersonaMaster);
    for (int s : {5, 0, 1, 2})
        table.t.m_folded[s] = true;
    table.RaiseTo(3, 100);
    table.Put(4, 100);
    table.Flop("Ac 8d 3h");
    playout::CFastOdds odds;
    playout::RangeTracker tracker(odds, {});
    tracker.Observe(table.t, 4, 0, GetParam().bet, false);
    const playout::HandWeights hw = tracker.Weights(4);
    EXPECT_GT(Share(hw, GetParam().likely), 0.5);
    EXPECT_LT(Share(hw, GetParam().unlikely), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Flop, MasterBetSize,
                         ::testing::Values(SizeCase{180, "As Kd", "6c 5h"},
                                           SizeCase{60, "6c 5h", "As Kd"}),
                         support::PrintedName());

// Without a persona, the seat's statistics set the width of its opening range once they rest on
// enough hands: a loose opener's open keeps hands a tight one's does not.
TEST(RangeTracker, UnknownSeatOpensAsWideAsItsStatistics)
{
    const auto shareOf = [](double pfr, const char *hand) {
        Table table(6, kPersonaHero);
        CPokerStat &stat = table.t.m_players[4].m_stat;
        stat.m_N = 50;
        stat.m_pfrRatio = pfr;
        stat.m_vpipRatio = std::min(1.0, 1.5 * pfr);
        playout::CFastOdds odds;
        playout::RangeTracker tracker(odds, {});
        tracker.Observe(table.t, 4, -1, 60, false);
        return Share(tracker.Weights(4), hand);
    };
    EXPECT_GT(shareOf(0.5, "Kc 9d"), 0.9);
    EXPECT_LT(shareOf(0.05, "Kc 9d"), 0.05);
    EXPECT_GT(shareOf(0.05, "As Ad"), 0.9);
}

// After the flop the unknown seat's bet leans to strength, with a share of bluffs left in; its
// check leans the other way.
TEST(RangeTracker, UnknownSeatFlopBetLeansStrongAndCheckWeak)
{
    const auto afterFlop = [](int put) {
        Table table(6, kPersonaHero);
        table.Flop("Ac 8d 3h");
        playout::CFastOdds odds;
        playout::RangeTracker tracker(odds, {});
        tracker.Observe(table.t, 4, 0, put, false);
        return tracker.Weights(4);
    };
    const playout::HandWeights bet = afterFlop(40);
    EXPECT_GT(Share(bet, "As Kd"), 0.8);
    EXPECT_LT(Share(bet, "6c 5h"), 0.3);
    EXPECT_GT(Share(bet, "6c 5h"), 0.1);
    const playout::HandWeights check = afterFlop(0);
    EXPECT_LT(Share(check, "As Kd"), Share(check, "6c 5h"));
}

TEST(RangeTracker, KnownCardsWeighNothing)
{
    Table table(6, kPersonaTim);
    playout::CFastOdds odds;
    const std::vector<int> mine = Cards("Ah Kd");
    playout::RangeTracker tracker(odds, mine);
    EXPECT_TRUE(tracker.Weights(4).weights.empty()) << "a seat never seen holds any hand";
    tracker.Observe(table.t, 4, -1, 20, false);
    tracker.AddKnownCard(Card("2c"));
    const playout::HandWeights hw = tracker.Weights(4);
    ASSERT_EQ(hw.seat, 4);
    for (int c = 0; c < playout::kComboCount; ++c) {
        const auto [a, b] = playout::ComboCards(c);
        const bool clash = a == mine[0] || a == mine[1] || b == mine[0] || b == mine[1] ||
                           a == Card("2c") || b == Card("2c");
        if (clash)
            ASSERT_EQ(hw.weights[std::size_t(c)], 0.0) << a << " " << b;
        else
            ASSERT_GT(hw.weights[std::size_t(c)], 0.0) << a << " " << b;
    }
}

TEST(RangeTracker, TheFlopSeenDropsOut)
{
    Table table(6, kPersonaManiac);
    table.Flop("Qc Jc 2d");
    playout::CFastOdds odds;
    playout::RangeTracker tracker(odds, {});
    tracker.Observe(table.t, 4, 0, 0, false);
    const playout::HandWeights hw = tracker.Weights(4);
    EXPECT_EQ(hw.weights[std::size_t(playout::ComboIndex(Card("Qc"), Card("Ah")))], 0.0);
    // Checking behind says the Maniac missed: below a pair of sevens it never bets.
    EXPECT_LT(Share(hw, "Qd Qh"), 0.1);
    EXPECT_GT(Share(hw, "5h 4h"), 0.9);
}

// Amounts are read as a card room reads them (blinds 10/20, seat 3 opened to 60: a re-raise
// must add at least 40); the replayed decisions and the seat's own are compared this way.
struct ActCase
{
    const char *name;
    int stack; // seat 4's chips behind
    int answer;
    int put; // after mending
    playout::ActKind kind;
    bool allIn;
};
void PrintTo(const ActCase &c, std::ostream *os)
{
    *os << c.name;
}

class SeatActs : public ::testing::TestWithParam<ActCase>
{
};

TEST_P(SeatActs, MendedAndBookedAsTheTableDoes)
{
    const ActCase &c = GetParam();
    Table table(6);
    table.RaiseTo(3, 60);
    table.t.m_stack[4] = c.stack;
    const int put = playout::MendedPut(table.t, 4, c.answer);
    EXPECT_EQ(put, c.put);
    const playout::SeatAct act = playout::ClassifyAct(table.t, 4, -1, put, false);
    EXPECT_EQ(act.kind, c.kind);
    EXPECT_EQ(act.allIn, c.allIn);
    EXPECT_EQ(act.total, put);
}

INSTANTIATE_TEST_SUITE_P(
    Preflop, SeatActs,
    ::testing::Values(
        ActCase{"Fold", 1000, 0, 0, playout::ActKind::Fold, false},
        ActCase{"Call", 1000, 60, 60, playout::ActKind::Call, false},
        ActCase{"ShortRaiseBecomesTheMinimum", 1000, 80, 100, playout::ActKind::Raise, false},
        ActCase{"Raise", 1000, 180, 180, playout::ActKind::Raise, false},
        ActCase{"MoreThanTheStackIsAllIn", 500, 900, 500, playout::ActKind::Raise, true},
        ActCase{"AllInForLessIsACall", 45, 45, 45, playout::ActKind::Call, true},
        ActCase{"NegativeIsAFold", 1000, -5, 0, playout::ActKind::Fold, false}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(SeatActs, CheckWhenNothingIsOwedAndTheBigBlindsOption)
{
    Table table(6);
    // Everyone calls round to the big blind, who owes nothing: 0 is a check, not a fold.
    EXPECT_EQ(playout::ClassifyAct(table.t, 2, -1, 0, false).kind, playout::ActKind::Check);
    EXPECT_EQ(playout::ClassifyAct(table.t, 2, -1, 0, true).kind, playout::ActKind::Fold);
    table.Flop("Ac 8d 3h");
    EXPECT_EQ(playout::ClassifyAct(table.t, 4, 0, 0, false).kind, playout::ActKind::Check);
    EXPECT_EQ(playout::ClassifyAct(table.t, 4, 0, 20, false).kind, playout::ActKind::Raise);
}

TEST(ComboIndex, RoundTripsEveryPair)
{
    std::vector<bool> seen(playout::kComboCount, false);
    for (int a = 0; a < 52; ++a)
        for (int b = a + 1; b < 52; ++b) {
            const int i = playout::ComboIndex(b, a);
            ASSERT_GE(i, 0);
            ASSERT_LT(i, playout::kComboCount);
            ASSERT_FALSE(seen[std::size_t(i)]);
            seen[std::size_t(i)] = true;
            EXPECT_EQ(playout::ComboCards(i), std::make_pair(a, b));
        }
}

} // namespace
