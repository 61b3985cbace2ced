// A hand up to one seat's decision, copied from the live game or read from a hand history.
#include "engine/Game.h"
#include "history/HistoryReader.h"
#include "playout/Advisor.h"
#include "playout/HandSim.h"
#include "pokerlib/CardCodes.h"
#include "vocabulary/GameVocabulary.h"

namespace playout {

std::shared_ptr<const HandSoFar> CaptureLive(const CDunmereGame &game, int seat)
{
    const CGameTable &t = game.m_table;
    auto hand = std::make_shared<HandSoFar>();
    hand->seatCount = t.m_seatCount;
    hand->button = t.m_button;
    hand->smallBlind = t.m_smallBlind;
    hand->bigBlind = t.m_bigBlind;
    hand->ante = t.m_ante;
    hand->seat = seat;
    for (int s = 0; s < t.m_seatCount && s < 10; ++s) {
        SeatSoFar &out = hand->seats[s];
        out.inHand = t.m_inGame[s] != 0;
        // Every chip a seat put in this hand is in m_invested until the payout.
        out.startStack = t.m_stack[s] + t.m_invested[s];
        out.persona = t.m_players[s].m_persona;
        out.name = t.m_players[s].m_name;
        out.stat = t.m_players[s].m_stat;
    }
    if (seat >= 0 && seat < 10) {
        hand->seats[seat].cards[0] = t.m_cards[2 * seat];
        hand->seats[seat].cards[1] = t.m_cards[2 * seat + 1];
    }
    for (int i = 0; i < t.m_boardCount && i < 5; ++i)
        hand->board.push_back(t.m_cards[brisquel::kBoardFirst + i]);
    int street = -1;
    for (const CAction &a : game.m_actions) {
        if (a.m_kind == actionkind::kPreflopBegins) {
            street = -1;
            continue;
        }
        for (int k = 0; k < 3; ++k)
            if (a.m_kind == actionkind::StreetBegins(k))
                street = k;
        PastDecision d;
        d.seat = a.m_seat;
        d.street = street;
        if (a.m_kind == actionkind::kCall || a.m_kind == actionkind::kRaise)
            d.put = a.m_amount;
        else if (a.m_kind == actionkind::kFold)
            d.fold = true;
        else if (a.m_kind != actionkind::kCheck)
            continue;
        hand->decisions.push_back(d);
    }
    return hand;
}

std::vector<ReadDecision> DecisionsInHand(const history::Game &game, const history::Hand &hand,
                                          int seat, const std::vector<CPokerStat> &statsBefore)
{
    std::vector<ReadDecision> out;
    const int seats = static_cast<int>(hand.seats.size());
    if (seat < 0 || seat >= seats || seats > 10)
        return out;
    HandSoFar base;
    base.seatCount = seats;
    base.button = hand.button;
    base.smallBlind = hand.smallBlindInForce();
    base.bigBlind = hand.bigBlindInForce();
    base.ante = hand.ante;
    base.seat = seat;
    for (const history::HandSeat &hs : hand.seats) {
        if (hs.seat < 0 || hs.seat >= 10)
            return out;
        SeatSoFar &s = base.seats[hs.seat];
        s.inHand = hs.inHand;
        s.startStack = hs.startStack;
        s.name = hs.name;
        if (static_cast<size_t>(hs.seat) < statsBefore.size())
            s.stat = statsBefore[static_cast<size_t>(hs.seat)];
        // The persona of the player sitting there this hand.
        for (const history::GameSeat &gs : game.seats)
            if (game.seatInHand(hand, gs.seat) == hs.seat)
                s.persona = gs.persona;
    }
    const history::HandSeat &mine = hand.seats[static_cast<size_t>(seat)];
    if (mine.cards[0] < 0 || mine.cards[1] < 0)
        return out;
    base.seats[seat].cards[0] = mine.cards[0];
    base.seats[seat].cards[1] = mine.cards[1];
    for (const history::Action &a : hand.actions) {
        if (a.kind == history::ActionKind::Ante || a.kind == history::ActionKind::SmallBlind ||
            a.kind == history::ActionKind::BigBlind)
            continue;
        PastDecision d;
        d.seat = a.seat;
        d.street = static_cast<int>(a.street) - 1;
        d.fold = a.kind == history::ActionKind::Fold;
        d.put = d.fold ? 0 : a.amount;
        if (a.seat == seat) {
            auto at = std::make_shared<HandSoFar>(base);
            const int boardCount = hand.boardCountAt(a.street);
            at->board.assign(hand.board.begin(),
                             hand.board.begin() +
                                 std::min<int>(boardCount, static_cast<int>(hand.board.size())));
            ReadDecision read;
            read.hand = at;
            read.put = d.put;
            read.fold = d.fold;
            out.push_back(read);
        }
        base.decisions.push_back(d);
    }
    return out;
}

} // namespace playout
