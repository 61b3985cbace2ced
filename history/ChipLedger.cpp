#include "history/ChipLedger.h"

#include <algorithm>

namespace history::detail {

ChipLedger::ChipLedger(Hand &hand)
    : m_hand(hand)
    , m_stack(hand.seats.size())
    , m_bet(hand.seats.size(), 0)
{
    for (size_t s = 0; s < hand.seats.size(); ++s)
        m_stack[s] = hand.seats[s].startStack;
}

void ChipLedger::PostAntes()
{
    if (m_hand.ante <= 0)
        return;
    for (size_t s = 0; s < m_stack.size(); ++s) {
        if (m_hand.seats[s].inHand && m_stack[s] > 0)
            Put(static_cast<int>(s), ActionKind::Ante, std::min(m_hand.ante, m_stack[s]));
    }
}

void ChipLedger::NewStreet(Street street)
{
    m_street = street;
    std::fill(m_bet.begin(), m_bet.end(), 0);
    m_largestBet = 0;
}

int ChipLedger::ActiveCount() const
{
    int active = 0;
    for (const HandSeat &seat : m_hand.seats)
        active += seat.inHand && !seat.folded ? 1 : 0;
    return active;
}

void ChipLedger::Put(int seat, ActionKind kind, int amount)
{
    const size_t i = static_cast<size_t>(seat);
    Action action;
    action.street = m_street;
    action.seat = seat;
    action.kind = kind;
    action.amount = amount;
    action.potBefore = m_hand.pot;
    const bool forced =
        kind == ActionKind::Ante || kind == ActionKind::SmallBlind || kind == ActionKind::BigBlind;
    action.toCall = forced ? 0 : std::max(0, m_largestBet - m_bet[i]);
    action.stackBefore = m_stack[i];
    action.activeBefore = ActiveCount();
    // Antes are dead money: they are no bet on the street.
    if (kind != ActionKind::Ante)
        m_bet[i] += amount;
    action.streetTotal = m_bet[i];
    m_stack[i] -= amount;
    m_hand.seats[i].invested += amount;
    m_hand.pot += amount;
    action.allIn = amount > 0 && m_stack[i] <= 0;
    m_largestBet = std::max(m_largestBet, m_bet[i]);
    m_hand.actions.push_back(action);
}

} // namespace history::detail
