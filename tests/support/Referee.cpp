#include "tests/support/Referee.h"

#include <algorithm>
#include <set>
#include <utility>

namespace referee {

void Hand::Begin(const std::string &name, long long bigBlind, bool roundsOnlyWithBetting)
{
    ++hands;
    m_name = name;
    m_seats.clear();
    m_toMatch = m_lastFull = m_dealt = 0;
    m_button = m_small = m_big = m_next = m_street = -1;
    m_open = m_blindsChecked = m_roundOwed = m_antes = false;
    m_bigBlind = bigBlind;
    m_roundsOnlyWithBetting = roundsOnlyWithBetting;
}

void Hand::Deal(int seat, long long chips, bool inHand)
{
    Seat &s = At(seat);
    s.dealt = inHand;
    s.chips = chips;
}

void Hand::Button(int seat)
{
    m_button = seat;
}

void Hand::Ante(int seat, long long chips)
{
    Seat &s = At(seat);
    if (chips > s.chips)
        Fault(Who(seat) + " antes more than it has");
    s.chips -= chips;
    s.total += chips;
    m_antes = m_antes || chips > 0;
}

void Hand::Blind(int seat, long long chips, bool big)
{
    Seat &s = At(seat);
    if (chips > s.chips)
        Fault(Who(seat) + " posts more than it has");
    s.chips -= chips;
    s.street += chips;
    s.total += chips;
    m_toMatch = std::max(m_toMatch, s.street);
    (big ? m_big : m_small) = seat;
}

void Hand::Street(int street)
{
    if (street > 0)
        EndStreet();
    if (m_roundsOnlyWithBetting && street > 0 && Count(true) < 2)
        Fault("round " + std::to_string(street) + " played with one seat holding chips");
    m_roundOwed = false;
    m_street = street;
    m_open = true;
    m_lastFull = m_bigBlind;
    if (street == 0)
        return; // the blinds may still come; the seat after the big blind opens
    m_toMatch = 0;
    for (Seat &s : m_seats) {
        s.street = 0;
        s.acted = false;
    }
    // After the flop the first seat after the button opens (heads-up the big blind); a button
    // not recorded is the seat before the small blind.
    m_next = m_button >= 0 ? NextDealt(m_button) : (m_dealt == 2 ? m_big : m_small);
}

void Hand::Act(int seat, Move move, long long put)
{
    ++actions;
    if (m_street == 0 && !m_blindsChecked)
        CheckBlinds();
    if (!m_open || seat < 0 || seat >= static_cast<int>(m_seats.size()) || !CanAct(seat))
        return Fault(Who(seat) + " acts without a turn");
    const int due = ToAct(m_next >= 0 ? m_next : (m_big >= 0 ? NextDealt(m_big) : 0));
    if (due != seat)
        Fault(Who(seat) + " acts out of turn (" + (due < 0 ? "nobody" : Who(due)) + " was to act)");
    Seat &s = m_seats[static_cast<size_t>(seat)];
    const long long owed = m_toMatch - s.street;
    const bool mayRaise = !s.acted || m_toMatch - s.facedWhenActed >= m_lastFull;
    closedTurns += !mayRaise && owed > 0 ? 1 : 0;
    const bool answerable = Count(true) - 1 > 0;
    nobodyToAnswer += !answerable && owed > 0 ? 1 : 0;
    if (put > s.chips)
        Fault(Who(seat) + " puts in more than it has");
    switch (move) {
    case Move::Fold:
        if (owed <= 0)
            Fault(Who(seat) + " folds with nothing to call");
        s.folded = true;
        break;
    case Move::Check:
        if (owed > 0 || put != 0)
            Fault(Who(seat) + " checks owing " + std::to_string(owed));
        bigBlindChecks += m_antes && m_street == 0 && seat == m_big && m_toMatch > 0 ? 1 : 0;
        break;
    case Move::Call:
        if (put != std::min(owed, s.chips) || put <= 0)
            Fault(Who(seat) + " calls " + std::to_string(put) + " owing " + std::to_string(owed));
        break;
    case Move::Raise: {
        const long long total = s.street + put;
        const bool allIn = put == s.chips;
        // Before the flop the big blind is the opening bet, even when posted short.
        const long long base = m_street == 0 ? std::max(m_toMatch, m_bigBlind) : m_toMatch;
        if (total <= m_toMatch && !allIn && !shortPutsAllowed)
            Fault(Who(seat) + " raises to " + std::to_string(total) + ", not above the bet of " +
                  std::to_string(m_toMatch));
        else if (total > m_toMatch && !answerable)
            Fault(Who(seat) + " raises with nobody left to answer");
        else if (total > m_toMatch && !mayRaise)
            Fault(Who(seat) + " raises where the betting was not reopened");
        else if (total > m_toMatch && total - base < m_lastFull && !allIn)
            Fault(Who(seat) + " raises to " + std::to_string(total) + " below the minimum " +
                  std::to_string(base + m_lastFull));
        if (total > m_toMatch) {
            if (total - base >= m_lastFull)
                m_lastFull = total - base;
            else
                ++shortAllIns;
            m_toMatch = total;
        }
        break;
    }
    }
    if (move != Move::Fold) {
        s.chips -= put;
        s.street += put;
        s.total += put;
        s.acted = true;
        s.facedWhenActed = m_toMatch;
    }
    m_next = (seat + 1) % static_cast<int>(m_seats.size());
}

void Hand::EndStreet()
{
    if (m_street == 0 && !m_blindsChecked)
        CheckBlinds();
    if (!m_open)
        return;
    m_open = false;
    if (Count(false) <= 1)
        return; // won by folds
    roundsWithAllIn += Count(true) < Count(false) ? 1 : 0;
    const int due = ToAct(m_next >= 0 ? m_next : (m_big >= 0 ? NextDealt(m_big) : 0));
    if (due >= 0)
        Fault("round " + std::to_string(m_street) + " ends before " + Who(due) +
              (m_seats[static_cast<size_t>(due)].acted ? " answers a bet" : " has acted"));
    m_roundOwed = m_street < 3 && Count(true) >= 2;
}

void Hand::Finish()
{
    EndStreet();
    if (m_roundsOnlyWithBetting && m_roundOwed && Count(false) >= 2)
        Fault("no betting round after round " + std::to_string(m_street) +
              " with two seats holding chips");
}

long long Hand::Uncalled(int *seat) const
{
    std::vector<long long> put(1, 0);
    for (const Seat &s : m_seats)
        put.push_back(s.total);
    const auto top = std::max_element(put.begin(), put.end());
    *seat = *top > 0 ? static_cast<int>(top - put.begin()) - 1 : -1;
    const long long first = std::exchange(*top, 0);
    return first - *std::max_element(put.begin(), put.end());
}

std::vector<long long> Hand::Pots() const
{
    std::vector<long long> put;
    std::set<long long> levels;
    for (const Seat &s : m_seats) {
        put.push_back(s.total);
        if (s.dealt && !s.folded && s.total > 0)
            levels.insert(s.total);
    }
    int top = -1;
    const long long uncalled = Uncalled(&top);
    if (top >= 0) { // and a folded seat's chips beyond every level still in go to the last pot
        put[static_cast<size_t>(top)] -= uncalled;
        levels.insert(put[static_cast<size_t>(top)]);
    }
    std::vector<long long> pots;
    long long below = 0;
    for (const long long level : levels) {
        long long pot = 0;
        for (const long long chips : put)
            pot += std::min(chips, level) - std::min(chips, below);
        if (pot > 0)
            pots.push_back(pot);
        below = level;
    }
    return pots;
}

bool Hand::Dealt(int seat) const
{
    return seat >= 0 && seat < static_cast<int>(m_seats.size()) &&
           m_seats[static_cast<size_t>(seat)].dealt;
}

long long Hand::Chips(int seat) const
{
    return m_seats[static_cast<size_t>(seat)].chips;
}

void Hand::Fault(const std::string &what)
{
    faults.push_back("hand " + m_name + ": " + what);
}

std::string Hand::Who(int seat) const
{
    return "seat " + std::to_string(seat);
}

Hand::Seat &Hand::At(int seat)
{
    if (seat >= static_cast<int>(m_seats.size()))
        m_seats.resize(static_cast<size_t>(seat) + 1);
    return m_seats[static_cast<size_t>(seat)];
}

int Hand::NextDealt(int seat) const
{
    const int n = static_cast<int>(m_seats.size());
    for (int i = 1; i <= n; ++i) {
        if (m_seats[static_cast<size_t>((seat + i) % n)].dealt)
            return (seat + i) % n;
    }
    return seat;
}

bool Hand::CanAct(int seat) const
{
    const Seat &s = m_seats[static_cast<size_t>(seat)];
    return s.dealt && !s.folded && s.chips > 0;
}

int Hand::Count(bool withChips) const
{
    int count = 0;
    for (const Seat &s : m_seats)
        count += s.dealt && !s.folded && (!withChips || s.chips > 0) ? 1 : 0;
    return count;
}

// Whose turn it is, searching from seat `from`; -1 when the round is complete.
int Hand::ToAct(int from) const
{
    const int n = static_cast<int>(m_seats.size());
    const bool alone = Count(true) <= 1;
    for (int i = 0; i < n; ++i) {
        const int seat = (from + i) % n;
        if (!CanAct(seat))
            continue;
        const Seat &s = m_seats[static_cast<size_t>(seat)];
        // A lone player with chips only answers a bet: nobody is left to bet against.
        if (s.street < m_toMatch || (!s.acted && !alone))
            return seat;
    }
    return -1;
}

void Hand::CheckBlinds()
{
    m_blindsChecked = true;
    const int dealt = m_dealt = Count(false);
    headsUpHands += dealt == 2 ? 1 : 0;
    if (m_button < 0)
        return; // not recorded: the blinds say where it was
    if (!Dealt(m_button))
        return Fault("no button among the players dealt in");
    const int small = dealt == 2 ? m_button : NextDealt(m_button);
    // A seat the antes left with nothing posts no blind, and keeps its place.
    if (m_small < 0 && Chips(small) == 0)
        m_small = small;
    if (m_big < 0 && Chips(NextDealt(small)) == 0)
        m_big = NextDealt(small);
    if (m_small != small)
        Fault("the small blind is posted by seat " + std::to_string(m_small) + " instead of seat " +
              std::to_string(small));
    if (m_big != NextDealt(small))
        Fault("the big blind is posted by seat " + std::to_string(m_big));
}

} // namespace referee
