#include "engine/BettingSteps.h"

#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <iterator>

namespace betting {

void PostAntesAndBlinds(CGameTable &t, int &small, int &big)
{
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.m_inGame[s] || t.m_ante <= 0 || t.m_stack[s] <= 0)
            continue;
        if (t.m_stack[s] > t.m_ante) {
            t.m_stack[s] -= t.m_ante;
            t.m_pot += t.m_ante;
            t.m_invested[s] = t.m_ante;
        } else {
            t.m_pot += t.m_stack[s];
            t.m_invested[s] = t.m_stack[s];
            t.m_stack[s] = 0;
        }
    }
    const auto post = [&t](int seat, int blind) {
        const int amount = std::min(blind, t.m_stack[seat]);
        t.m_invested[seat] += amount;
        t.m_bet[seat] = amount;
        t.m_stack[seat] -= amount;
        return amount;
    };
    const rules::BlindSeats blinds = t.BlindSeats();
    small = post(blinds.small, t.m_smallBlind);
    big = post(blinds.big, t.m_bigBlind);
}

int BeginPreflop(CGameTable &t, RoundState &round)
{
    round = RoundState{};
    round.preflop = true;
    const rules::BlindSeats blinds = t.BlindSeats();
    // Antes are dead money: the amount to call is the larger blind, not the blind plus ante.
    t.m_amountToCall = std::max(t.m_bet[blinds.small], t.m_bet[blinds.big]);
    t.m_lastRaiser = -1;
    t.m_humanAmount = 0;
    t.m_raises.Begin(t.m_bigBlind, t.m_amountToCall, true);
    for (int s = 0; s < t.m_seatCount; ++s)
        t.m_lastAction[s] = kLastActionNone;
    if (t.IsActive(blinds.big))
        AssignPositionClasses(
            t.m_seatCount, blinds.big, [&t](int s) { return t.IsActive(s); },
            [&t](int s, int positionClass) { t.m_positionClass[s] = positionClass; });
    round.bigBlindSeat = blinds.big;
    return blinds.big;
}

void BeginPostflop(CGameTable &t, RoundState &round, int street)
{
    round = RoundState{};
    round.preflop = false;
    round.street = street;
    t.m_humanAmount = 0;
    t.m_amountToCall = -1;
    t.m_raises.Begin(t.m_bigBlind, 0, false);
    std::fill(std::begin(t.m_lastAction), std::end(t.m_lastAction), kLastActionNone);
}

void EndRound(CGameTable &t)
{
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.IsActive(s))
            continue;
        t.m_pot += t.m_bet[s];
        t.m_bet[s] = 0;
    }
}

bool StillToAct(const CGameTable &t, const RoundState &round, int o)
{
    // An all-in seat has nothing left to decide: it is passed over and never ends a round.
    return t.IsActive(o) && t.m_stack[o] > 0 && (!round.acted[o] || t.m_bet[o] < t.m_amountToCall);
}

bool RoundSettled(const CGameTable &t, const RoundState &round)
{
    int withChips = 0;
    bool someoneOwes = false;
    bool someoneToAct = false;
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.IsActive(s) || t.m_stack[s] <= 0)
            continue;
        ++withChips;
        someoneOwes |= t.m_bet[s] < t.m_amountToCall;
        someoneToAct |= StillToAct(t, round, s);
    }
    // A lone seat with chips and nothing to call has nobody left to bet against.
    return !someoneToAct || (withChips == 1 && !someoneOwes);
}

int MendAnswer(const CGameTable &t, int o, int b)
{
    // Out-of-range answers would make a negative stack or chips from nowhere.
    b = std::clamp(b, 0, std::max(t.m_stack[o], 0));
    // Chips put out short of the amount owed complete the call, as card rooms rule: nobody
    // stays in for less unless all in.
    const int owed = std::max(t.m_amountToCall - t.m_bet[o], 0);
    if (b > 0 && b < owed)
        b = std::min(owed, t.m_stack[o]);
    // With every other player still in all in, nobody could answer a raise: it is a call.
    if (!t.AnotherCanAct(o))
        return std::min(b, owed);
    // A raise below the minimum, or one that the betting was not reopened for, is mended here
    // rather than in every decider's sizing.
    return t.m_raises.Legalize(o, t.m_bet[o], t.m_stack[o], b);
}

bool Owes(const CGameTable &t, int o, bool preflop)
{
    return preflop ? t.m_bet[o] < t.m_amountToCall : t.m_amountToCall > 0;
}

Booking BookDecision(CGameTable &t, RoundState &round, int o, int b, bool foldPressed)
{
    round.acted[o] = true;
    const bool owes = Owes(t, o, round.preflop);
    if (b > 0 && !foldPressed) {
        const bool allIn = b == t.m_stack[o];
        // An all-in for less than the amount owed is a call, not a raise.
        const bool call =
            b + t.m_bet[o] == t.m_amountToCall || (allIn && b + t.m_bet[o] < t.m_amountToCall);
        t.m_lastAction[o] = call ? kLastActionCall : kLastActionRaise;
        return call ? Booking::Call : Booking::Raise;
    }
    if (b == 0 && !owes && !foldPressed) {
        t.m_lastAction[o] = kLastActionCall;
        return Booking::Check;
    }
    // A fold, also when FOLD was pressed with nothing owed: the round bet goes to the pot.
    t.m_folded[o] = true;
    t.m_pot += t.m_bet[o];
    t.m_bet[o] = 0;
    t.m_lastAction[o] = kLastActionFold;
    return Booking::Fold;
}

void BetUpdate(CGameTable &t, RoundState &round, int o, int b)
{
    t.m_bet[o] += b;
    t.m_raises.Act(o, t.m_bet[o]);
    if (t.m_bet[o] > t.m_amountToCall) {
        t.m_amountToCall = t.m_bet[o];
        t.m_lastAction[o] = kLastActionRaise;
        // A bet or raise reopens the round: everyone else decides again.
        std::fill(std::begin(round.acted), std::end(round.acted), false);
        round.acted[o] = true;
        if (round.preflop)
            t.m_lastRaiser = o;
    }
    t.m_invested[o] += b;
    t.m_stack[o] -= b;
}

} // namespace betting
