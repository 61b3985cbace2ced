// Results adjusted to all-in equity, checked against the tests' all-in judge; on played games,
// the payouts the table wrote are the reference for a complete board.
#include "coach/AllInAdjusted.h"

#include "tests/support/AllInJudge.h"
#include "tests/support/Cards.h"
#include "tests/support/SeededBotGame.h"

#include <gtest/gtest.h>

namespace {

using testsupport::Cards;
using testsupport::ExpectedFromBoards;

struct SeatSetup
{
    const char *cards; // "" for unknown
    int invested;
    bool folded;
};

// A hand whose betting ended on `lastStreet`, with its full board as dealt.
history::Hand MakeHand(const std::vector<SeatSetup> &seats, const char *board,
                       history::Street lastStreet)
{
    history::Hand hand;
    hand.number = 7;
    for (size_t s = 0; s < seats.size(); ++s) {
        history::HandSeat seat;
        seat.seat = static_cast<int>(s);
        seat.name = "P" + std::to_string(s);
        seat.inHand = true;
        seat.invested = seats[s].invested;
        seat.folded = seats[s].folded;
        if (*seats[s].cards) {
            const std::vector<int> cards = Cards(seats[s].cards);
            seat.cards = {cards[0], cards[1]};
        }
        hand.seats.push_back(seat);
    }
    hand.board = Cards(board);
    history::Action last;
    last.street = lastStreet;
    last.kind = history::ActionKind::Call;
    hand.actions.push_back(last);
    return hand;
}

struct AllInCase
{
    const char *name;
    std::vector<SeatSetup> seats;
    const char *board;
    history::Street last;
};
void PrintTo(const AllInCase &c, std::ostream *os)
{
    *os << c.name;
}

class AllInEquity : public testing::TestWithParam<AllInCase>
{
};

TEST_P(AllInEquity, EverySeatStillInExpectsWhatTheJudgeFinds)
{
    const AllInCase &c = GetParam();
    const history::Hand hand = MakeHand(c.seats, c.board, c.last);
    double expectedSum = 0.0;
    const std::vector<double> judge = ExpectedFromBoards(hand, hand.boardCountAt(c.last));
    int pot = 0;
    for (const SeatSetup &s : c.seats)
        pot += s.invested;
    for (int seat = 0; seat < static_cast<int>(c.seats.size()); ++seat) {
        SCOPED_TRACE("seat " + std::to_string(seat));
        const coach::AllInHandResult result = coach::AllInAdjustedHand(hand, seat);
        EXPECT_EQ(result.actualChips, -c.seats[static_cast<size_t>(seat)].invested);
        if (c.seats[static_cast<size_t>(seat)].folded) {
            EXPECT_FALSE(result.allIn);
            EXPECT_EQ(coach::ExpectedFromPot(hand, seat, result.boardAtAllIn), -1.0);
            continue;
        }
        ASSERT_TRUE(result.adjusted);
        EXPECT_EQ(result.boardAtAllIn, hand.boardCountAt(c.last));
        EXPECT_NEAR(result.adjustedChips + c.seats[static_cast<size_t>(seat)].invested,
                    judge[static_cast<size_t>(seat)], 1e-6);
        expectedSum += judge[static_cast<size_t>(seat)];
    }
    // Every chip of the pot is expected by somebody still in.
    EXPECT_NEAR(expectedSum, pot, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Hands, AllInEquity,
    testing::Values(
        // A short stack all in on the flop against two covering stacks that both put it all
        // in, with a folded seat's chips in the main pot.
        AllInCase{"ThreeWayFlopWithSidePot",
                  {{"Ah Ad", 300, false},
                   {"Kc Ks", 600, false},
                   {"Qh Jh", 600, false},
                   {"9c 9d", 40, true}},
                  "Th 9h 2c 5s 3d",
                  history::Street::Flop},
        // The covering stack's chips beyond the short stack's come back to it whatever falls.
        AllInCase{"TurnWithUncalledExcess",
                  {{"8s 7s", 1000, false}, {"Ac Kd", 400, false}},
                  "6s 5d Kh 2c 2d",
                  history::Street::Turn},
        // Two short stacks of different sizes and a big one: three pots.
        AllInCase{"ThreeStacksThreePotsOnTheTurn",
                  {{"Jc Jd", 150, false}, {"Ah Kh", 450, false}, {"7c 6c", 900, false}},
                  "8c 5c 2h Kd 3s",
                  history::Street::Turn},
        // Before the flop: the whole board to come, a split most of the time.
        AllInCase{"PreflopSameHands",
                  {{"Ac Kd", 500, false}, {"Ah Ks", 500, false}, {"", 20, true}},
                  "2c 3d 9h Ts Qc",
                  history::Street::Preflop},
        AllInCase{"FlopOverpairWithShortStack",
                  {{"Qs Qh", 250, false}, {"As 5s", 800, false}, {"Td 9d", 800, false}},
                  "2s 8s 9h Ts Qc",
                  history::Street::Flop}),
    [](const testing::TestParamInfo<AllInCase> &param) { return param.param.name; });

TEST(AllInAdjusted, AcesAgainstKingsBeforeTheFlopExpectTheirKnownShare)
{
    // All in for 1000 each: aces against kings of other suits win about 82 % (ties about
    // 0.5 %), a figure the odds tables print.
    const history::Hand hand = MakeHand({{"Ah Ad", 1000, false}, {"Kc Ks", 1000, false}},
                                        "Kd 2c 7h 9s 3d", history::Street::Preflop);
    const double aces = coach::ExpectedFromPot(hand, 0, 0);
    EXPECT_NEAR(aces / 2000.0, 0.82, 0.01);
    const coach::AllInHandResult kings = coach::AllInAdjustedHand(hand, 1);
    EXPECT_TRUE(kings.adjusted);
    EXPECT_NEAR(kings.adjustedChips, 2000.0 - aces - 1000.0, 1e-6);
}

TEST(AllInAdjusted, HandsThatAreNotAllInsKeepTheirActualResult)
{
    // Betting reached the river: no adjustment, whatever the cards.
    history::Hand river = MakeHand({{"Ah Ad", 1000, false}, {"Kc Ks", 1000, false}},
                                   "Kd 2c 7h 9s 3d", history::Street::River);
    river.seats[1].won = 2000;
    const coach::AllInHandResult result = coach::AllInAdjustedHand(river, 1);
    EXPECT_FALSE(result.allIn);
    EXPECT_EQ(result.actualChips, 1000);
    EXPECT_EQ(result.adjustedChips, 1000.0);

    // An opponent's cards unknown: an all-in, but no equity to credit.
    history::Hand unknown = MakeHand({{"Ah Ad", 1000, false}, {"", 1000, false}}, "Kd 2c 7h 9s 3d",
                                     history::Street::Flop);
    unknown.seats[0].won = 2000;
    const coach::AllInHandResult blind = coach::AllInAdjustedHand(unknown, 0);
    EXPECT_TRUE(blind.allIn);
    EXPECT_FALSE(blind.adjusted);
    EXPECT_EQ(blind.adjustedChips, 1000.0);
    EXPECT_EQ(coach::ExpectedFromPot(unknown, 0, 3), -1.0);
    // A board shorter than asked for, a card that is no card or is held twice, and seats that
    // are not there.
    EXPECT_EQ(coach::ExpectedFromPot(river, 0, 6), -1.0);
    history::Hand bad = river;
    bad.board[1] = -1;
    EXPECT_EQ(coach::ExpectedFromPot(bad, 0, 3), -1.0);
    bad.board[1] = bad.seats[1].cards[0];
    EXPECT_EQ(coach::ExpectedFromPot(bad, 0, 3), -1.0);
    EXPECT_EQ(coach::AllInAdjustedHand(river, 5).dealt, false);
}

TEST(AllInAdjusted, PlayedGamesPayWhatTheTableWroteAndAllInsWhatTheJudgeFinds)
{
    const testsupport::SeededBotGame played(6, 60, 41);
    ASSERT_TRUE(played.ok()) << played.error();
    const history::Game &game = played.game();
    int showdowns = 0, allIns = 0;
    for (const history::Hand &hand : game.hands) {
        int stillIn = 0;
        for (const history::HandSeat &h : hand.seats)
            stillIn += h.inHand && !h.folded ? 1 : 0;
        if (stillIn < 2 || hand.board.size() != 5)
            continue;
        ++showdowns;
        // With the whole board known, the expectation is the payout (an odd chip aside).
        for (const history::HandSeat &h : hand.seats) {
            if (h.inHand && !h.folded) {
                EXPECT_NEAR(coach::ExpectedFromPot(hand, h.seat, 5), h.won, 1.0)
                    << "hand " << hand.number << " seat " << h.seat;
            }
        }
    }
    EXPECT_GT(showdowns, 0);

    for (int seat = 0; seat < 6; ++seat) {
        const coach::AllInAdjustedResult result = coach::AllInAdjusted(game, seat);
        ASSERT_EQ(result.hands.size(), game.hands.size());
        long long actual = 0;
        double adjusted = 0.0;
        for (size_t h = 0; h < game.hands.size(); ++h) {
            const history::Hand &hand = game.hands[h];
            const history::HandSeat &me = hand.seats[static_cast<size_t>(seat)];
            const coach::AllInHandResult &one = result.hands[h];
            EXPECT_EQ(one.hand, hand.number);
            EXPECT_EQ(one.dealt, me.inHand);
            if (me.inHand) {
                EXPECT_EQ(one.actualChips, me.endStack - me.startStack - me.chipsAdded);
            }
            actual += one.actualChips;
            adjusted += one.adjustedChips;
            if (!one.allIn) {
                EXPECT_EQ(one.adjustedChips, one.actualChips);
                continue;
            }
            ++allIns;
            ASSERT_TRUE(one.adjusted) << "the game log knows every card";
            EXPECT_LT(one.boardAtAllIn, 5);
            EXPECT_NEAR(one.adjustedChips + me.invested,
                        ExpectedFromBoards(hand, one.boardAtAllIn)[static_cast<size_t>(seat)], 1e-6)
                << "hand " << hand.number;
        }
        EXPECT_EQ(result.actualChips, actual);
        EXPECT_NEAR(result.adjustedChips, adjusted, 1e-6);
    }
    EXPECT_GT(allIns, 0);
}

} // namespace
