#include "replay/HandReplay.h"

#include "outcome/HandOutcome.h"

#include "lineformat/GameLines.h"

#include <algorithm>

namespace replay {

namespace {

std::string Verb(const history::Action &action)
{
    const std::string amount = std::to_string(action.amount);
    switch (action.kind) {
    case history::ActionKind::Ante:
        return "posts ante " + amount;
    case history::ActionKind::SmallBlind:
        return "posts small blind " + amount;
    case history::ActionKind::BigBlind:
        return "posts big blind " + amount;
    case history::ActionKind::Fold:
        return "folds";
    case history::ActionKind::Check:
        return "checks";
    case history::ActionKind::Call:
        return "calls " + amount;
    case history::ActionKind::Bet:
        return "bets " + amount;
    case history::ActionKind::Raise:
        return "raises " + amount;
    }
    return {};
}

std::string CardsText(const std::vector<int> &board, size_t from, size_t to)
{
    std::string text;
    for (size_t k = from; k < to && k < board.size(); ++k)
        text += (text.empty() ? "" : " ") + history::CardText(board[k]);
    return text;
}

std::string SeatName(const history::Hand &hand, int seat)
{
    return seat >= 0 && static_cast<size_t>(seat) < hand.seats.size()
               ? hand.seats[static_cast<size_t>(seat)].name
               : "Seat " + std::to_string(seat);
}

// The table as dealt, with the antes in the pot: they go in before anyone acts. `next` is the
// first action after them.
TableState StartState(const history::Hand &hand, int playerSeat, size_t &next)
{
    TableState state;
    state.kind = StepKind::Start;
    for (const history::HandSeat &s : hand.seats) {
        SeatState seat;
        seat.inHand = s.inHand;
        seat.stack = s.startStack;
        seat.cards = s.cards;
        seat.faceUp = s.seat == playerSeat && s.cards[0] >= 0;
        state.seats.push_back(seat);
    }
    state.caption = "Hand #" + std::to_string(hand.number) + ": blinds " +
                    std::to_string(hand.smallBlind) + "/" + std::to_string(hand.bigBlind);
    if (hand.ante > 0)
        state.caption += ", ante " + std::to_string(hand.ante);
    next = 0;
    for (; next < hand.actions.size() && hand.actions[next].kind == history::ActionKind::Ante;
         ++next) {
        const history::Action &ante = hand.actions[next];
        if (ante.seat < 0 || static_cast<size_t>(ante.seat) >= state.seats.size())
            continue;
        state.seats[static_cast<size_t>(ante.seat)].stack -= ante.amount;
        state.pot += ante.amount;
    }
    return state;
}

// The chips in front join the pot, the winners are paid, and the caption says who won what.
void SettleResult(TableState &state, const history::Hand &hand)
{
    state.kind = StepKind::Result;
    state.actor = -1;
    state.actionIndex = -1;
    for (SeatState &seat : state.seats) {
        state.pot += seat.bet;
        seat.bet = 0;
    }
    // A bet nobody called goes back to its owner: it is not won, and not part of the pot.
    const outcome::HandOutcome result = outcome::OutcomeOf(hand);
    std::string caption;
    if (result.returnedSeat >= 0 && static_cast<size_t>(result.returnedSeat) < state.seats.size())
        caption = "Uncalled bet (" + std::to_string(result.returned) + ") returned to " +
                  SeatName(hand, result.returnedSeat);
    for (const history::Winner &winner : hand.winners) {
        if (winner.seat < 0 || static_cast<size_t>(winner.seat) >= state.seats.size())
            continue;
        SeatState &seat = state.seats[static_cast<size_t>(winner.seat)];
        const int won = result.Won(winner.seat, winner.amount);
        seat.won = won;
        seat.stack += winner.amount;
        state.pot -= winner.amount;
        if (won <= 0)
            continue;
        if (!caption.empty())
            caption += "; ";
        if (hand.showdown) {
            caption += SeatName(hand, winner.seat) + " wins " + std::to_string(won);
            if (!winner.combination.empty())
                caption += " with " + winner.combination;
        } else {
            caption +=
                SeatName(hand, winner.seat) + " collected " + std::to_string(won) + " from pot";
        }
    }
    if (!caption.empty() && result.ending == outcome::Ending::AllIn)
        caption += " (all in before the river)";
    if (hand.showdown) {
        for (size_t s = 0; s < state.seats.size() && s < hand.seats.size(); ++s)
            state.seats[s].faceUp = state.seats[s].faceUp || hand.seats[s].cardsShown;
    }
    state.pot = std::max(state.pot, 0);
    state.caption = caption.empty() ? "Nobody was paid" : caption;
}

} // namespace

int TableState::chipsIn() const
{
    int total = pot;
    for (const SeatState &seat : seats)
        total += seat.bet;
    return total;
}

HandReplay::HandReplay(const history::Hand &hand, int playerSeat)
{
    size_t next = 0;
    TableState state = StartState(hand, playerSeat, next);
    m_steps.push_back(state);

    for (; next < hand.actions.size(); ++next) {
        const history::Action &action = hand.actions[next];
        if (action.seat < 0 || static_cast<size_t>(action.seat) >= state.seats.size())
            continue;
        while (action.street > state.street)
            AddStreet(state, hand, static_cast<history::Street>(int(state.street) + 1));
        SeatState &seat = state.seats[static_cast<size_t>(action.seat)];
        state.kind = StepKind::Action;
        state.actor = action.seat;
        state.actionIndex = static_cast<int>(next);
        if (action.kind == history::ActionKind::Fold) {
            // A folded seat's chips in front join the pot, as at the table.
            seat.folded = true;
            state.pot += seat.bet;
            seat.bet = 0;
        } else {
            seat.bet += action.amount;
            seat.stack -= action.amount;
        }
        state.caption = SeatName(hand, action.seat) + ": " + Verb(action);
        if (action.allIn)
            state.caption += " and is all-in";
        m_steps.push_back(state);
    }

    // Cards still to come once every chip is in (an all-in run-out).
    while (state.street < history::Street::River) {
        const auto street = static_cast<history::Street>(int(state.street) + 1);
        if (hand.boardCountAt(street) <= state.boardCount)
            break;
        AddStreet(state, hand, street);
    }

    SettleResult(state, hand);
    m_steps.push_back(state);
}

void HandReplay::AddStreet(TableState &state, const history::Hand &hand, history::Street street)
{
    for (SeatState &seat : state.seats) {
        state.pot += seat.bet;
        seat.bet = 0;
    }
    const int before = state.boardCount;
    state.kind = StepKind::Street;
    state.street = street;
    state.boardCount = hand.boardCountAt(street);
    state.actor = -1;
    state.actionIndex = -1;
    // The street's line of the hand history.
    static std::string (*const kLines[])(const std::string &) = {nullptr, gamelines::Flop,
                                                                 gamelines::Turn, gamelines::River};
    state.caption = kLines[int(street)](
        CardsText(hand.board, static_cast<size_t>(before), static_cast<size_t>(state.boardCount)));
    m_steps.push_back(state);
}

int HandReplay::firstStepOf(history::Street street) const
{
    if (street == history::Street::Preflop)
        return 0;
    for (int i = 0; i < count(); ++i) {
        if (m_steps[static_cast<size_t>(i)].kind == StepKind::Street &&
            m_steps[static_cast<size_t>(i)].street == street)
            return i;
    }
    return -1;
}

int PlayerSeat(const history::Game &game)
{
    const int human = game.humanSeat();
    return human >= 0 ? human : 0;
}

std::vector<ChipsPoint> ChipsPerHand(const history::Game &game, int seat)
{
    std::vector<ChipsPoint> points;
    for (const history::Hand &hand : game.hands) {
        const int here = game.seatInHand(hand, seat);
        if (here < 0 || static_cast<size_t>(here) >= hand.seats.size())
            continue;
        const history::HandSeat &s = hand.seats[static_cast<size_t>(here)];
        if (s.inHand)
            points.push_back({hand.number, s.endStack, hand.showdown});
    }
    return points;
}

} // namespace replay
