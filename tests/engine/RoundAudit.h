#pragma once
// An independent check of every betting round, replayed from each hand's event list and the
// stacks the hand started with: no seat with chips behind loses its turn or leaves a bet
// unanswered, nobody folds with nothing to call or checks while owing, and a street's round
// is played exactly when two seats in the hand still have chips. Seats act in table order from
// the seat after the big blind (after the button from the flop on), heads-up the button posts
// the small blind, and every bet or raise is at least the minimum (or all in) and made only
// where the betting was open to the seat.
//
// Call AfterHand from the game's hand-end hook (game thread, state lock held) after every hand.

#include "engine/Game.h"
#include "rules/NoLimitRules.h"

#include <algorithm>
#include <string>
#include <vector>

namespace enginetest {

using namespace actionkind;

class RoundAudit
{
public:
    void AfterHand(const CDunmereGame &game)
    {
        const CGameTable &t = game.m_table;
        m_n = t.m_seatCount;
        if (m_stacks.empty()) {
            m_stacks.assign(t.m_startStack, t.m_startStack + m_n);
            m_inGame.assign(static_cast<size_t>(m_n), 1);
        }
        m_hand = game.m_handNumber;
        Replay(t, game.m_actions);
        m_stacks.assign(t.m_stack, t.m_stack + m_n);
        m_inGame.assign(t.m_inGame, t.m_inGame + m_n);
        ++m_hands;
    }

    std::vector<std::string> m_faults;
    int m_hands = 0;
    int m_roundsWithAllInSeat = 0; // rounds that end with an all-in seat in the hand
    int m_bigBlindChecks = 0;      // at an ante level, the big blind checking behind calls

private:
    struct Seat
    {
        bool in = false;
        bool folded = false;
        bool acted = false;
        int stack = 0;
        int bet = 0;
        int ante = 0;
    };

    void Fault(const std::string &what)
    {
        m_faults.push_back("hand " + std::to_string(m_hand) + ": " + what);
    }

    int Live() const
    {
        int count = 0;
        for (int s = 0; s < m_n; ++s)
            count += m_seats[s].in && !m_seats[s].folded ? 1 : 0;
        return count;
    }

    int LiveWithChips() const
    {
        int count = 0;
        for (int s = 0; s < m_n; ++s)
            count += m_seats[s].in && !m_seats[s].folded && m_seats[s].stack > 0 ? 1 : 0;
        return count;
    }

    void Replay(const CGameTable &t, const std::vector<CAction> &actions)
    {
        for (int s = 0; s < m_n; ++s) {
            Seat &seat = m_seats[s];
            seat = Seat{};
            seat.in = m_inGame[s] != 0;
            seat.stack = m_stacks[s];
            if (seat.in && t.m_ante > 0 && seat.stack > 0) {
                seat.ante = std::min(t.m_ante, seat.stack);
                seat.stack -= seat.ante;
            }
        }
        m_highest = 0;
        m_roundOpen = false;
        m_roundToCome = 0;
        m_bigBlind = -1;
        m_nominalBigBlind = t.m_bigBlind;
        m_button = -1;
        m_ring = rules::SeatRing{};
        m_ring.seatCount = m_n;
        for (int s = 0; s < m_n; ++s)
            m_ring.inHand[s] = m_seats[s].in;
        for (const CAction &a : actions) {
            switch (a.m_kind) {
            case kButton:
                m_button = a.m_seat;
                break;
            case kSmallBlind:
            case kBigBlind: {
                CheckBlindSeat(a);
                Seat &seat = m_seats[a.m_seat];
                seat.bet = a.m_amount - seat.ante;
                seat.stack -= seat.bet;
                m_highest = std::max(m_highest, seat.bet); // the blinds follow event 3
                if (a.m_kind == kBigBlind)
                    m_bigBlind = a.m_seat;
                break;
            }
            case kPreflopBegins:
            case kFlop:
            case kTurn:
            case kRiver:
                StartRound(a.m_kind);
                break;
            case kFold:
            case kCall:
            case kCheck:
            case kRaise:
                Act(a, t.m_ante > 0);
                break;
            case kPreflopFinished:
            case kFlop + 1:
            case kTurn + 1:
            case kRiver + 1:
                EndRound(a.m_kind);
                break;
            case kHandFinished:
                if (m_roundToCome != 0)
                    Fault("no betting round " + std::to_string(m_roundToCome) +
                          " with two seats holding chips");
                break;
            default:
                break;
            }
        }
    }

    // The blinds follow the button, which the first hand of a game does not record.
    void CheckBlindSeat(const CAction &a)
    {
        if (m_button < 0)
            return;
        const rules::BlindSeats blinds = rules::BlindsFor(m_ring, m_button);
        const int expected = a.m_kind == kSmallBlind ? blinds.small : blinds.big;
        if (a.m_seat != expected)
            Fault("seat " + std::to_string(a.m_seat) + " posts the " +
                  (a.m_kind == kSmallBlind ? "small" : "big") + " blind instead of seat " +
                  std::to_string(expected));
    }

    void StartRound(int kind)
    {
        if (kind != kPreflopBegins && kind != m_roundToCome)
            Fault("round " + std::to_string(kind) + " played with one seat holding chips");
        m_roundToCome = 0;
        m_roundOpen = true;
        m_preflop = kind == kPreflopBegins;
        m_highest = 0;
        m_lastActor = -1;
        for (int s = 0; s < m_n; ++s) {
            Seat &seat = m_seats[s];
            seat.acted = false;
            if (kind != kPreflopBegins)
                seat.bet = 0;
        }
        // Preflop the blinds come after this event; the raising history starts at the first
        // decision.
        m_raisesBegun = false;
    }

    // The seat whose turn it is: the first one from `from` on that is in the hand with chips
    // and has not acted since the last bet, or owes chips.
    int Due(int from) const
    {
        for (int i = 0; i < m_n; ++i) {
            const int s = (from + i) % m_n;
            const Seat &seat = m_seats[s];
            if (seat.in && !seat.folded && seat.stack > 0 && (!seat.acted || seat.bet < m_highest))
                return s;
        }
        return -1;
    }

    int FirstSeatOfRound() const
    {
        if (m_preflop)
            return m_ring.Next(m_bigBlind);
        // After the flop: the first seat after the button (heads-up, the big blind).
        const int button = m_button >= 0 ? m_button : ButtonFromBlinds();
        return (button + 1) % m_n;
    }

    int ButtonFromBlinds() const
    {
        if (m_ring.Count() == 2)
            return m_ring.Next(m_bigBlind);
        for (int s = 0; s < m_n; ++s) {
            if (m_ring.inHand[s] && m_ring.Next(m_ring.Next(s)) == m_bigBlind)
                return s;
        }
        return -1;
    }

    void CheckTurnAndRaise(const CAction &a, const std::string &who)
    {
        if (!m_raisesBegun) {
            m_raises.Begin(m_nominalBigBlind, m_highest, m_preflop);
            m_raisesBegun = true;
        }
        const int due = Due(m_lastActor < 0 ? FirstSeatOfRound() : (m_lastActor + 1) % m_n);
        if (due != a.m_seat)
            Fault(who + " acts out of turn (seat " + std::to_string(due) + " was to act)");
        m_lastActor = a.m_seat;
        const Seat &seat = m_seats[a.m_seat];
        if (a.m_kind == kRaise && seat.bet + a.m_amount > m_highest &&
            !m_raises.IsLegal(a.m_seat, seat.bet, seat.stack, a.m_amount)) {
            Fault(who + (m_raises.MayRaise(a.m_seat)
                             ? " raises to " + std::to_string(seat.bet + a.m_amount) +
                                   " below the minimum " +
                                   std::to_string(m_raises.MinRaiseTotal())
                             : " raises where the betting was not reopened"));
        }
        if (a.m_kind != kFold)
            m_raises.Act(a.m_seat, seat.bet + a.m_amount);
    }

    void Act(const CAction &a, bool anteLevel)
    {
        const std::string who = "seat " + std::to_string(a.m_seat);
        Seat &seat = m_seats[a.m_seat];
        if (!m_roundOpen || !seat.in || seat.folded || seat.stack <= 0) {
            Fault(who + " acts without a turn");
            return;
        }
        CheckTurnAndRaise(a, who);
        const int owed = m_highest - seat.bet;
        switch (a.m_kind) {
        case kFold:
            if (owed <= 0)
                Fault(who + " folds with nothing to call");
            seat.folded = true;
            break;
        case kCheck:
            if (owed > 0)
                Fault(who + " checks owing " + std::to_string(owed));
            if (anteLevel && a.m_seat == m_bigBlind && m_highest > 0)
                ++m_bigBlindChecks;
            break;
        default:
            seat.stack -= a.m_amount;
            seat.bet += a.m_amount;
            if (seat.stack < 0)
                Fault(who + " bets more than it has");
            if (seat.bet > m_highest) {
                m_highest = seat.bet;
                for (int s = 0; s < m_n; ++s)
                    m_seats[s].acted = false;
            }
            break;
        }
        seat.acted = true;
    }

    void EndRound(int kind)
    {
        m_roundOpen = false;
        if (Live() <= 1)
            return; // won by folds
        const int withChips = LiveWithChips();
        if (withChips < Live())
            ++m_roundsWithAllInSeat;
        for (int s = 0; s < m_n; ++s) {
            const Seat &seat = m_seats[s];
            if (!seat.in || seat.folded || seat.stack <= 0)
                continue;
            const bool settled = seat.acted && seat.bet >= m_highest;
            // One seat with chips and nothing to call has nobody to bet against.
            const bool alone = withChips == 1 && seat.bet >= m_highest;
            if (!settled && !alone)
                Fault("round " + std::to_string(kind) + " ends before seat " + std::to_string(s) +
                      (seat.acted ? " answers a bet" : " has acted"));
        }
        if (kind != kRiver + 1 && withChips >= 2)
            m_roundToCome = kind == kPreflopFinished ? kFlop : kind + 1;
    }

    int m_n = 0;
    int m_hand = 0;
    std::vector<int> m_stacks;
    std::vector<int> m_inGame;
    Seat m_seats[10];
    int m_highest = 0;
    bool m_roundOpen = false;
    int m_roundToCome = 0;
    int m_bigBlind = -1;
    int m_nominalBigBlind = 0;
    int m_button = -1;
    int m_lastActor = -1;
    bool m_preflop = true;
    bool m_raisesBegun = false;
    rules::SeatRing m_ring;
    rules::RaiseHistory m_raises;
};

} // namespace enginetest
