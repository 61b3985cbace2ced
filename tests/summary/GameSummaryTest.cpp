// The game summary's figures against hands whose outcome is known independently: all-in pots
// shared by equity (side pots included), big blinds per 100 hands, the biggest pots.

#include "summary/GameSummary.h"

#include <gtest/gtest.h>

namespace {

using history::Hand;
using history::HandSeat;
using history::Street;

// A seat of a hand: its known cards ("" for unknown), chips put in and paid.
HandSeat Seat(int seat, const char *first, const char *second, int invested, int won,
              bool folded = false)
{
    HandSeat s;
    s.seat = seat;
    s.inHand = true;
    s.invested = invested;
    s.won = won;
    s.folded = folded;
    if (*first)
        s.cards = {history::CardFromText(first), history::CardFromText(second)};
    return s;
}

// A showdown hand whose last action was on `street`, with the board as dealt.
Hand AllInHand(Street street, std::initializer_list<const char *> board,
               std::vector<HandSeat> seats)
{
    Hand hand;
    hand.number = 1;
    hand.bigBlind = 20;
    hand.showdown = true;
    for (const char *card : board)
        hand.board.push_back(history::CardFromText(card));
    hand.seats = std::move(seats);
    history::Action last;
    last.street = street;
    hand.actions.push_back(last);
    for (const HandSeat &s : hand.seats)
        hand.pot += s.invested;
    return hand;
}

TEST(AllInEquity, AcesAgainstKingsBeforeTheFlopAreWorthTheirPublishedShare)
{
    // Aces against kings of other suits win about 82 % (the tables of every odds calculator).
    const Hand hand = AllInHand(Street::Preflop, {"Kd", "2c", "7h", "9s", "3d"},
                                {Seat(0, "Ah", "As", 1000, 0), Seat(1, "Kc", "Kh", 1000, 2000)});
    bool adjusted = false;
    const double net = summary::AllInAdjustedNet(hand, 0, adjusted);
    EXPECT_TRUE(adjusted);
    EXPECT_NEAR(net, 2000 * 0.82 - 1000, 20); // lost 1000 at the table
    EXPECT_NEAR(summary::AllInAdjustedNet(hand, 1, adjusted), 2000 * 0.18 - 1000, 20);
}

TEST(AllInEquity, SidePotsGoToThoseWhoCoveredThem)
{
    // On the turn: the short stack holds quad aces (no river can beat it) and wins the main
    // pot; aces full of kings beats aces full of queens on every river, so takes the side pot.
    const Hand hand = AllInHand(Street::Turn, {"Ah", "Ad", "Ac", "2s", "5c"},
                                {Seat(0, "Kh", "Kd", 1000, 1800), Seat(1, "Qh", "Qd", 1000, 0),
                                 Seat(2, "As", "3h", 100, 350), Seat(3, "9c", "9d", 50, 0, true)});
    struct Case
    {
        int seat;
        double net;
    };
    // Main pot 3 x 100 and the folded seat's 50; side pot 2 x 900. The nets add up to 0.
    for (const Case &c : {Case{0, 1800 - 1000}, Case{1, -1000}, Case{2, 350 - 100}, Case{3, -50}}) {
        bool adjusted = false;
        EXPECT_NEAR(summary::AllInAdjustedNet(hand, c.seat, adjusted), c.net, 1e-6) << c.seat;
        EXPECT_EQ(adjusted, c.seat != 3) << c.seat;
    }
}

TEST(AllInEquity, HandsWithoutLuckToTakeOutKeepTheirResult)
{
    struct Case
    {
        Street street;
        bool showdown;
        const char *villainCard; // "" for cards not known
    };
    for (const Case &c : {Case{Street::River, true, "Kc"}, Case{Street::Flop, false, "Kc"},
                          Case{Street::Flop, true, ""}}) {
        Hand hand =
            AllInHand(c.street, {"Kd", "2c", "7h", "9s", "3d"},
                      {Seat(0, "Ah", "As", 500, 0), Seat(1, c.villainCard, "Kh", 500, 1000)});
        hand.showdown = c.showdown;
        bool adjusted = true;
        EXPECT_EQ(summary::AllInAdjustedNet(hand, 0, adjusted), -500);
        EXPECT_FALSE(adjusted);
    }
}

TEST(Summary, NetBigBlindsPer100AndTheBiggestPots)
{
    history::Game game;
    const int nets[] = {300, -100, 40, -600, 0};
    for (int i = 0; i < 5; ++i) {
        Hand hand = AllInHand(
            Street::River, {"Kd", "2c", "7h", "9s", "3d"},
            {Seat(0, "Ah", "As", 600, 600 + nets[i]), Seat(1, "Kc", "Kh", 600, 600 - nets[i])});
        hand.number = i + 1;
        hand.bigBlind = i < 2 ? 20 : 40;
        game.hands.push_back(hand);
    }
    const summary::GameSummary s = summary::Summarize(game, 0);
    EXPECT_EQ(s.hands, 5);
    EXPECT_EQ(s.net, -360);
    EXPECT_NEAR(s.bbPer100, (15 - 5 + 1 - 15 + 0) * 100.0 / 5, 1e-9);
    EXPECT_EQ(s.allInHands, 0);
    EXPECT_EQ(s.allInNet, -360);
    ASSERT_EQ(s.biggestWon.size(), 2u);
    EXPECT_EQ(s.biggestWon[0].hand, 1);
    EXPECT_EQ(s.biggestWon[1].hand, 3);
    ASSERT_EQ(s.biggestLost.size(), 2u);
    EXPECT_EQ(s.biggestLost[0].hand, 4);
    EXPECT_EQ(s.biggestLost[0].net, -600);
}

// A bet nobody called goes back to its owner: neither won nor part of the pot. Each pot says
// how the hand ended for the seat.
TEST(Summary, PotsLeaveTheReturnedBetOutAndSayHowEachHandEnded)
{
    // Seat 1 raises to 60 and seat 0 folds its small blind of 10: 50 of the 60 come back.
    Hand folded;
    folded.seats = {Seat(0, "", "", 10, 0, true), Seat(1, "", "", 60, 70)};
    folded.pot = 70;
    history::Action fold;
    fold.seat = 0;
    fold.kind = history::ActionKind::Fold;
    folded.actions = {fold};
    // Seat 0 has put in 1500 against seat 1's 280, all in, who wins: 1220 come back.
    const Hand shown = AllInHand(Street::River, {"Kd", "2c", "7h", "9s", "3d"},
                                 {Seat(0, "Ah", "Qs", 1500, 1220), Seat(1, "Kc", "Kh", 280, 560)});
    const Hand allIn = AllInHand(Street::Flop, {"Kd", "2c", "7h", "9s", "3d"},
                                 {Seat(0, "Ah", "As", 500, 1000), Seat(1, "Kc", "Qh", 500, 0)});
    struct Case
    {
        const Hand *hand;
        int seat;
        int pot;
        int net;
        const char *ending;
    };
    for (const Case &c : {Case{&folded, 0, 20, -10, "folded preflop"},
                          Case{&folded, 1, 20, 10, "the others folded"},
                          Case{&shown, 0, 560, -280, "at the showdown"},
                          Case{&allIn, 1, 1000, -500, "all in before the river"}}) {
        history::Game game;
        game.hands = {*c.hand};
        const summary::GameSummary s = summary::Summarize(game, c.seat);
        const std::vector<summary::PotResult> &pots = c.net > 0 ? s.biggestWon : s.biggestLost;
        ASSERT_EQ(pots.size(), 1u) << c.ending;
        EXPECT_EQ(pots[0].pot, c.pot) << c.ending;
        EXPECT_EQ(pots[0].net, c.net) << c.ending;
        EXPECT_EQ(pots[0].ending, c.ending);
    }
}

} // namespace
