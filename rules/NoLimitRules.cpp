#include "rules/NoLimitRules.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace rules {

void RaiseHistory::Begin(int bigBlind, int highest, bool preflop)
{
    m_highest = highest;
    m_floor = preflop ? bigBlind : 0;
    m_fullRaise = bigBlind;
    std::fill(std::begin(m_levelWhenActed), std::end(m_levelWhenActed), -1);
}

void RaiseHistory::Act(int seat, int total)
{
    // A raise for less than a full one (an all-in) leaves the step as it was; a call or a
    // check adds nothing.
    m_fullRaise = std::max(m_fullRaise, total - Level());
    m_highest = std::max(m_highest, total);
    if (seat >= 0 && seat < kMaxSeats)
        m_levelWhenActed[seat] = Level();
}

int RaiseHistory::MinRaiseTotal() const
{
    return int(std::min<long long>(std::numeric_limits<int>::max(),
                                   static_cast<long long>(Level()) + m_fullRaise));
}

bool RaiseHistory::MayRaise(int seat) const
{
    if (seat < 0 || seat >= kMaxSeats || m_levelWhenActed[seat] < 0)
        return true;
    return Level() - m_levelWhenActed[seat] >= m_fullRaise;
}

bool RaiseHistory::IsLegal(int seat, int bet, int stack, int put) const
{
    const long long total = static_cast<long long>(bet) + put;
    if (total <= m_highest)
        return true;
    if (!MayRaise(seat))
        return false;
    return total >= MinRaiseTotal() || put == stack;
}

int RaiseHistory::Legalize(int seat, int bet, int stack, int put) const
{
    if (IsLegal(seat, bet, stack, put))
        return put;
    if (!MayRaise(seat))
        return std::clamp(m_highest - bet, 0, stack);
    return std::min(MinRaiseTotal() - bet, stack);
}

int SeatRing::Count() const
{
    return static_cast<int>(std::count(std::begin(inHand), std::end(inHand), true));
}

int SeatRing::Next(int s) const
{
    for (int i = 1; i <= seatCount; ++i) {
        const int t = (s + i) % seatCount;
        if (t >= 0 && t < kMaxSeats && inHand[t])
            return t;
    }
    return s;
}

BlindSeats BlindsFor(const SeatRing &ring, int button)
{
    BlindSeats blinds;
    blinds.small = ring.Count() == 2 ? button : ring.Next(button);
    blinds.big = ring.Next(blinds.small);
    return blinds;
}

int FirstToActPreflop(const SeatRing &ring, int button)
{
    return ring.Next(BlindsFor(ring, button).big);
}

int HeadsUpButton(const SeatRing &ring, int movedButton, int lastBigBlind)
{
    if (ring.Count() == 2 && ring.Next(movedButton) == lastBigBlind)
        return lastBigBlind;
    return movedButton;
}

} // namespace rules
