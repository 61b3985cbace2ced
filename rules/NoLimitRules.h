#pragma once
// The No-Limit rules every card room plays by, in one place for the engine, the computer
// players, the action panel and everything that reads hands back: the smallest legal bet or
// raise, who may still raise after all-ins for less than a full raise, and who posts the blinds.
// Plain values only: no game state, no threads.

#include "pokerlib/CardCodes.h"

namespace rules {

using brisquel::kMaxSeats;

// The raising history of one betting round, fed with each seat's round bet after it acts.
// A raise is full when it adds at least the largest full bet or raise of the round (the big
// blind at the least); an all-in that adds less does not reopen the betting for seats that
// have acted, unless several of them together add up to a full raise.
class RaiseHistory
{
public:
    // A new round. Preflop, highest is the larger blind posted and the big blind is the
    // opening bet, so that the smallest raise is to two big blinds; after the flop highest is 0.
    void Begin(int bigBlind, int highest, bool preflop);
    // Seat s has checked, called, bet or raised; total is its round bet now (not the chips
    // put in by the action).
    void Act(int seat, int total);

    int Highest() const { return m_highest; }
    // The size of the smallest full raise: the largest full bet or raise of the round so far.
    int FullRaise() const { return m_fullRaise; }
    // The smallest legal total of a bet or raise (an all-in for less is allowed besides).
    // Bounded by the largest int: past it no stack could make the raise anyway.
    int MinRaiseTotal() const;
    // Whether seat s may bet or raise: it has not acted yet, or it faces at least a full raise
    // since it last acted.
    bool MayRaise(int seat) const;

    // Whether putting in `put` more chips is legal for a seat whose round bet is `bet` and
    // whose chips behind are `stack` (calls, checks and folds always are).
    bool IsLegal(int seat, int bet, int stack, int put) const;
    // The nearest legal amount to `put`: a raise the seat may not make becomes a call, a raise
    // short of the minimum becomes the minimum, or all in when the stack is smaller.
    int Legalize(int seat, int bet, int stack, int put) const;

private:
    // Raises are measured from here: the highest bet, preflop at least the big blind.
    int Level() const { return m_highest > m_floor ? m_highest : m_floor; }

    int m_highest = 0;
    int m_floor = 0;
    int m_fullRaise = 0;
    int m_levelWhenActed[kMaxSeats] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

// The seats of a hand: which seats are in it, in table order.
struct SeatRing
{
    int seatCount = 0;
    bool inHand[kMaxSeats] = {}; // seats from seatCount on are never in the hand

    int Count() const;
    // The next seat in the hand after s (s itself when there is none).
    int Next(int s) const;
};

struct BlindSeats
{
    int small = -1;
    int big = -1;
};

// With two players the button posts the small blind; otherwise the seat after it does.
BlindSeats BlindsFor(const SeatRing &ring, int button);
// The first seat to decide before the flop: after the big blind (heads-up, the button).
int FirstToActPreflop(const SeatRing &ring, int button);
// A game that has just become heads-up: the button has moved on as usual, but the seat that
// would get the big blind posted it in the last hand as well. The button then goes to that
// seat, so that nobody pays the big blind twice in a row and nobody skips it.
int HeadsUpButton(const SeatRing &ring, int movedButton, int lastBigBlind);

} // namespace rules
