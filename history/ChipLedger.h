#pragma once
// The chips of one hand while its lines are read: each seat's stack behind and bet on the
// street, the largest bet and the pot. Each action is booked into the hand with the table as it
// was just before it (pot, amount owed, stack, seats still in).

#include "history/HistoryReader.h"

#include <vector>

namespace history::detail {

class ChipLedger
{
public:
    // Stacks from the seats' starting stacks; the seats must be complete.
    explicit ChipLedger(Hand &hand);

    // The hand's ante from every seat in the hand with chips (all it has when it has less).
    void PostAntes();
    // Bets go back to 0 on a new street.
    void NewStreet(Street street);
    // Appends the action to the hand and moves its chips from the stack to the pot.
    void Put(int seat, ActionKind kind, int amount);

    Street CurrentStreet() const { return m_street; }
    // Nobody has bet on this street yet (a first "raises" after the flop is a bet).
    bool NothingBet() const { return m_largestBet == 0; }

private:
    int ActiveCount() const;

    Hand &m_hand;
    std::vector<int> m_stack;
    std::vector<int> m_bet;
    Street m_street = Street::Preflop;
    int m_largestBet = 0;
};

} // namespace history::detail
