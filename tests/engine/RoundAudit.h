#pragma once
// Every hand the engine plays, replayed from its event list and the stacks it started with
// through the card-room referee: no seat loses its turn or leaves a bet unanswered, every bet
// and raise is one a card room allows, and a street's round is played exactly when two seats
// in the hand still hold chips.
//
// Call AfterHand from the game's hand-end hook (game thread, state lock held) after every hand.

#include "engine/Game.h"
#include "tests/support/Referee.h"

#include <algorithm>
#include <string>
#include <vector>

namespace enginetest {

class RoundAudit : public referee::Hand
{
public:
    RoundAudit() { shortPutsAllowed = true; }
    void AfterHand(const CDunmereGame &game)
    {
        using namespace actionkind;
        const CGameTable &t = game.m_table;
        const int n = t.m_seatCount;
        if (m_stacks.empty()) {
            m_stacks.assign(t.m_startStack, t.m_startStack + n);
            m_inGame.assign(static_cast<size_t>(n), 1);
        }
        Begin(std::to_string(game.m_handNumber), t.m_bigBlind, true);
        std::vector<int> ante(static_cast<size_t>(n), 0);
        for (int s = 0; s < n; ++s) {
            const size_t i = static_cast<size_t>(s);
            Deal(s, m_stacks[i], m_inGame[i] != 0); // in the game: in the order, chips or not
            if (m_inGame[i] != 0 && t.m_ante > 0 && m_stacks[i] > 0)
                Ante(s, ante[i] = std::min(t.m_ante, m_stacks[i]));
        }
        for (const CAction &a : game.m_actions) {
            const int k = a.m_kind;
            if (k == kButton)
                Button(a.m_seat);
            else if (k == kSmallBlind || k == kBigBlind) // the blind's event holds the ante
                Blind(a.m_seat, a.m_amount - ante[static_cast<size_t>(a.m_seat)], k == kBigBlind);
            else if (k == kPreflopBegins || k == kFlop || k == kTurn || k == kRiver)
                Street(k == kPreflopBegins ? 0 : (k - kFlop) / 2 + 1);
            else if (k == kPreflopFinished || k == kFlop + 1 || k == kTurn + 1 || k == kRiver + 1)
                EndStreet();
            else if (k >= kFold && k <= kRaise) // fold, bet, call, check, raise
                Act(a.m_seat, kMoves[k - kFold], a.m_amount);
        }
        Finish();
        m_stacks.assign(t.m_stack, t.m_stack + n);
        m_inGame.assign(t.m_inGame, t.m_inGame + n);
    }

private:
    static constexpr referee::Move kMoves[] = {referee::Move::Fold, referee::Move::Raise,
                                               referee::Move::Call, referee::Move::Check,
                                               referee::Move::Raise};
    std::vector<int> m_stacks;
    std::vector<int> m_inGame;
};

} // namespace enginetest
