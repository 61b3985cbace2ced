// The betting rules against hand-worked card-room cases: each case plays a round's bet totals
// and asks the smallest legal raise, who may raise, and what an answer is mended to.
#include "rules/NoLimitRules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using rules::RaiseHistory;

struct RoundCase
{
    const char *name;
    bool preflop;
    int highestBlind;                      // preflop: the larger blind posted
    std::vector<std::pair<int, int>> acts; // seat, its round bet after acting
    int minTotal;                          // the smallest legal raise total afterwards
    std::vector<int> mayRaise;             // seats 0..4: 1 may raise
};
void PrintTo(const RoundCase &c, std::ostream *os)
{
    *os << c.name;
}

class RaiseRound : public ::testing::TestWithParam<RoundCase>
{
};

TEST_P(RaiseRound, MinimumAndReopening)
{
    const RoundCase &c = GetParam();
    RaiseHistory h;
    h.Begin(20, c.highestBlind, c.preflop);
    for (const auto &[seat, total] : c.acts)
        h.Act(seat, total);
    EXPECT_EQ(h.MinRaiseTotal(), c.minTotal);
    for (int s = 0; s < static_cast<int>(c.mayRaise.size()); ++s)
        EXPECT_EQ(h.MayRaise(s), c.mayRaise[s] != 0) << "seat " << s;
}

// Blinds 10/20 throughout.
INSTANTIATE_TEST_SUITE_P(
    CardRoom, RaiseRound,
    ::testing::Values(
        // The big blind is the opening bet: the smallest raise is to two big blinds.
        RoundCase{"Unopened", true, 20, {}, 40, {1, 1, 1, 1, 1}},
        // A big blind all in for 10 still makes the smallest raise two big blinds.
        RoundCase{"ShortBigBlind", true, 10, {}, 40, {1, 1, 1, 1, 1}},
        RoundCase{"Limpers", true, 20, {{3, 20}, {4, 20}, {1, 20}}, 40, {1, 0, 1, 0, 0}},
        // 20 to 50 adds 30: the next raise adds at least 30.
        RoundCase{"PreflopRaise", true, 20, {{3, 50}}, 80, {1, 1, 1, 0, 1}},
        // All in to 30 adds 10 only: the limper at seat 3 may call or fold.
        RoundCase{"ShortAllInPreflop", true, 20, {{3, 20}, {4, 30}}, 50, {1, 1, 1, 0, 0}},
        RoundCase{"FirstBet", false, 0, {{1, 80}}, 160, {1, 0, 1, 1, 1}},
        RoundCase{"Checks", false, 0, {{1, 0}, {2, 0}}, 20, {1, 0, 0, 1, 1}},
        // A bet of 100, all in for 150, a call: the bettor faces 50 and may not raise.
        RoundCase{"ShortAllInDoesNotReopen",
                  false,
                  0,
                  {{1, 100}, {2, 150}, {3, 150}},
                  250,
                  {1, 0, 0, 0, 1}},
        // A second all in to 220: the bettor now faces 120, a full raise in all; the caller
        // at 150 faces 70 only.
        RoundCase{"TwoShortAllInsReopen",
                  false,
                  0,
                  {{1, 100}, {2, 150}, {3, 150}, {4, 220}},
                  320,
                  {1, 1, 0, 0, 0}},
        // The largest full raise sets the step: 100, then 400 (adds 300), all in to 600.
        RoundCase{
            "LargestFullRaise", false, 0, {{1, 100}, {2, 400}, {3, 600}}, 900, {1, 1, 0, 0, 1}},
        // An all-in bet below the big blind is no full bet: raises go 20 above it.
        RoundCase{"AllInBelowBigBlind", false, 0, {{1, 5}}, 25, {1, 0, 1, 1, 1}},
        // The first seat is closed by an all-in for less like any other.
        RoundCase{"FirstSeatClosed", false, 0, {{0, 100}, {1, 150}}, 250, {0, 0, 1, 1, 1}},
        // A full raise exactly the size of the last one reopens.
        RoundCase{"ExactFullRaise", false, 0, {{1, 100}, {2, 200}}, 300, {1, 1, 0, 1, 1}}),
    [](const auto &tc) { return tc.param.name; });

struct AnswerCase
{
    const char *name;
    int seat;
    int bet;
    int stack;
    int put;
    int legal; // the chips put in once mended
};
void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << c.name;
}

class RaiseAnswer : public ::testing::TestWithParam<AnswerCase>
{
};

// Bet 100 by seat 1, all in to 150 by seat 2, call by seat 3: seat 1 is closed, seat 4 open.
TEST_P(RaiseAnswer, MendedToTheNearestLegalAmount)
{
    const AnswerCase &c = GetParam();
    RaiseHistory h;
    h.Begin(20, 0, false);
    h.Act(1, 100);
    h.Act(2, 150);
    h.Act(3, 150);
    EXPECT_EQ(h.Legalize(c.seat, c.bet, c.stack, c.put), c.legal);
    EXPECT_EQ(h.IsLegal(c.seat, c.bet, c.stack, c.put), c.legal == c.put);
}

INSTANTIATE_TEST_SUITE_P(CardRoom, RaiseAnswer,
                         ::testing::Values(AnswerCase{"Fold", 4, 0, 1000, 0, 0},
                                           AnswerCase{"Call", 4, 0, 1000, 150, 150},
                                           AnswerCase{"ShortCallAllIn", 4, 0, 90, 90, 90},
                                           AnswerCase{"RaiseBelowMinimum", 4, 0, 1000, 200, 250},
                                           AnswerCase{"MinimumRaise", 4, 0, 1000, 250, 250},
                                           AnswerCase{"BelowMinimumShortStack", 4, 0, 230, 200,
                                                      230},
                                           AnswerCase{"AllInBelowMinimum", 4, 0, 200, 200, 200},
                                           AnswerCase{"ClosedSeatRaiseCalls", 1, 100, 900, 300, 50},
                                           AnswerCase{"ClosedSeatAllInCalls", 1, 100, 900, 900, 50},
                                           AnswerCase{"ClosedSeatCalls", 1, 100, 900, 50, 50},
                                           AnswerCase{"ClosedSeatShortCall", 1, 100, 30, 30, 30}),
                         [](const auto &tc) { return tc.param.name; });

rules::SeatRing Ring(std::vector<int> seats, int seatCount)
{
    rules::SeatRing ring;
    ring.seatCount = seatCount;
    for (int s : seats)
        ring.inHand[s] = true;
    return ring;
}

struct BlindCase
{
    const char *name;
    std::vector<int> inHand;
    int seatCount;
    int button;
    int small, big, first;
};
void PrintTo(const BlindCase &c, std::ostream *os)
{
    *os << c.name;
}

class Blinds : public ::testing::TestWithParam<BlindCase>
{
};

TEST_P(Blinds, PostersAndFirstToAct)
{
    const BlindCase &c = GetParam();
    const rules::SeatRing ring = Ring(c.inHand, c.seatCount);
    const rules::BlindSeats blinds = rules::BlindsFor(ring, c.button);
    EXPECT_EQ(blinds.small, c.small);
    EXPECT_EQ(blinds.big, c.big);
    EXPECT_EQ(rules::FirstToActPreflop(ring, c.button), c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Blinds,
    ::testing::Values(BlindCase{"SixHanded", {0, 1, 2, 3, 4, 5}, 6, 4, 5, 0, 1},
                      BlindCase{"ThreeHanded", {0, 1, 2}, 3, 2, 0, 1, 2},
                      // Heads-up the button posts the small blind and acts first.
                      BlindCase{"HeadsUp", {0, 1}, 2, 1, 1, 0, 1},
                      BlindCase{"HeadsUpOfTen", {3, 8}, 10, 8, 8, 3, 8},
                      BlindCase{"GapsSkipped", {1, 4, 7}, 10, 7, 1, 4, 7}),
    [](const auto &tc) { return tc.param.name; });

struct ButtonCase
{
    const char *name;
    std::vector<int> inHand;
    int moved;        // the button after the usual move
    int lastBigBlind; // who posted the big blind in the hand before
    int button;
};
void PrintTo(const ButtonCase &c, std::ostream *os)
{
    *os << c.name;
}

class HeadsUpButton : public ::testing::TestWithParam<ButtonCase>
{
};

TEST_P(HeadsUpButton, NoBigBlindTwiceInARow)
{
    const ButtonCase &c = GetParam();
    EXPECT_EQ(rules::HeadsUpButton(Ring(c.inHand, 3), c.moved, c.lastBigBlind), c.button);
}

// Three-handed, button 0, small blind 1, big blind 2; one seat is gone for the next hand.
INSTANTIATE_TEST_SUITE_P(
    ThreeToTwo, HeadsUpButton,
    ::testing::Values(
        // The button went: seat 2 would post the big blind again, so it takes the button.
        ButtonCase{"ButtonGone", {1, 2}, 1, 2, 2}, ButtonCase{"SmallBlindGone", {0, 2}, 2, 2, 2},
        ButtonCase{"BigBlindGone", {0, 1}, 1, 2, 1}, ButtonCase{"AlreadyHeadsUp", {1, 2}, 2, 2, 2},
        ButtonCase{"StillThree", {0, 1, 2}, 1, 2, 1}),
    [](const auto &tc) { return tc.param.name; });

} // namespace
