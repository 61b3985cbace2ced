// A hand's chips booked action by action: antes as dead money, the amount owed, all-ins, and
// bets starting afresh on each street.
#include "history/ChipLedger.h"

#include <gtest/gtest.h>

namespace {

using history::ActionKind;
using history::Street;

history::Hand ThreeSeats(int ante)
{
    history::Hand hand;
    hand.ante = ante;
    for (int s = 0; s < 3; ++s) {
        history::HandSeat seat;
        seat.seat = s;
        seat.startStack = s == 2 ? 30 : 1000;
        seat.inHand = true;
        hand.seats.push_back(seat);
    }
    return hand;
}

TEST(ChipLedger, BooksEachActionWithTheTableBeforeIt)
{
    history::Hand hand = ThreeSeats(25);
    history::detail::ChipLedger ledger(hand);
    ledger.PostAntes();
    ledger.Put(0, ActionKind::SmallBlind, 10);
    ledger.Put(1, ActionKind::BigBlind, 20);
    ledger.Put(2, ActionKind::Call, 5); // the short stack: all it has left after the ante
    ledger.Put(0, ActionKind::Raise, 50);
    ledger.Put(1, ActionKind::Fold, 0); // the reader marks the seat folded after booking it
    hand.seats[1].folded = true;
    ledger.NewStreet(Street::Flop);
    EXPECT_TRUE(ledger.NothingBet());
    ledger.Put(0, ActionKind::Bet, 100);

    struct Row
    {
        int seat, amount, streetTotal, potBefore, toCall, stackBefore, activeBefore;
        bool allIn;
        Street street;
    };
    const Row expected[] = {
        {0, 25, 0, 0, 0, 1000, 3, false, Street::Preflop},
        {1, 25, 0, 25, 0, 1000, 3, false, Street::Preflop},
        {2, 25, 0, 50, 0, 30, 3, false, Street::Preflop},
        {0, 10, 10, 75, 0, 975, 3, false, Street::Preflop},
        {1, 20, 20, 85, 0, 975, 3, false, Street::Preflop},
        {2, 5, 5, 105, 20, 5, 3, true, Street::Preflop},
        {0, 50, 60, 110, 10, 965, 3, false, Street::Preflop},
        {1, 0, 20, 160, 40, 955, 3, false, Street::Preflop},
        {0, 100, 100, 160, 0, 915, 2, false, Street::Flop},
    };
    ASSERT_EQ(hand.actions.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const history::Action &a = hand.actions[i];
        const Row &e = expected[i];
        SCOPED_TRACE("action " + std::to_string(i));
        EXPECT_EQ(a.seat, e.seat);
        EXPECT_EQ(a.amount, e.amount);
        EXPECT_EQ(a.streetTotal, e.streetTotal);
        EXPECT_EQ(a.potBefore, e.potBefore);
        EXPECT_EQ(a.toCall, e.toCall);
        EXPECT_EQ(a.stackBefore, e.stackBefore);
        EXPECT_EQ(a.activeBefore, e.activeBefore);
        EXPECT_EQ(a.allIn, e.allIn);
        EXPECT_EQ(a.street, e.street);
    }
    EXPECT_EQ(hand.pot, 260);
    EXPECT_EQ(hand.seats[0].invested, 185);
    EXPECT_EQ(hand.seats[1].invested, 45);
    EXPECT_EQ(hand.seats[2].invested, 30);
}

} // namespace
