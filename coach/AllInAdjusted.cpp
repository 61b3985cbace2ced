#include "coach/AllInAdjusted.h"

#include "pokerlib/CardCodes.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/PotSplit.h"

#include <algorithm>
#include <cstdint>

namespace coach {

namespace {

using brisquel::kMaxSeats;

struct Layer
{
    long long chips = 0;
    unsigned eligible = 0; // bit per live index (seats still in that reached the layer)
};

// Calls visit(board) for every way of completing `board` to five cards from the cards not in
// `used`.
template <typename Visit>
void ForEachBoard(int (&board)[5], int known, std::uint64_t used, int first, Visit &visit)
{
    if (known == 5) {
        visit(board);
        return;
    }
    for (int card = first; card < 52; ++card) {
        if (used & (1ULL << card))
            continue;
        board[known] = card;
        ForEachBoard(board, known + 1, used, card + 1, visit);
    }
}

} // namespace

double ExpectedFromPot(const history::Hand &hand, int seat, int boardCards)
{
    const int seats = static_cast<int>(hand.seats.size());
    if (seat < 0 || seat >= seats || seats > kMaxSeats || boardCards < 0 || boardCards > 5 ||
        static_cast<int>(hand.board.size()) < boardCards)
        return -1.0;
    const history::HandSeat &me = hand.seats[static_cast<size_t>(seat)];
    if (!me.inHand || me.folded)
        return -1.0;

    std::uint64_t used = 0;
    for (int i = 0; i < boardCards; ++i) {
        const int card = hand.board[static_cast<size_t>(i)];
        if (card < 0 || card > 51 || (used & (1ULL << card)))
            return -1.0;
        used |= 1ULL << card;
    }
    std::vector<int> live; // seats still in
    int mine = -1;
    for (int s = 0; s < seats; ++s) {
        const history::HandSeat &h = hand.seats[static_cast<size_t>(s)];
        if (!h.inHand || h.folded)
            continue;
        for (int card : h.cards) {
            if (card < 0 || card > 51 || (used & (1ULL << card)))
                return -1.0;
            used |= 1ULL << card;
        }
        if (s == seat)
            mine = static_cast<int>(live.size());
        live.push_back(s);
    }

    // The pots as the table cuts them; only those this seat may win can pay it.
    std::vector<long long> put, reach;
    for (const history::HandSeat &h : hand.seats) {
        put.push_back(h.invested);
        reach.push_back(h.inHand && !h.folded ? h.invested : 0);
    }
    std::vector<Layer> layers;
    for (const brisquel::Pot &pot : brisquel::CutPots(put, reach)) {
        Layer layer{pot.chips, 0};
        for (size_t i = 0; i < live.size(); ++i)
            if (std::binary_search(pot.eligible.begin(), pot.eligible.end(), live[i]))
                layer.eligible |= 1u << i;
        if (layer.eligible & (1u << mine))
            layers.push_back(layer);
    }
    if (layers.empty())
        return 0.0;
    if (live.size() == 1) {
        double all = 0.0;
        for (const Layer &layer : layers)
            all += static_cast<double>(layer.chips);
        return all;
    }

    const brisquel::EvalTables &tables = brisquel::Tables();
    int board[5];
    for (int i = 0; i < boardCards; ++i)
        board[i] = hand.board[static_cast<size_t>(i)];
    double total = 0.0;
    long long boards = 0;
    std::uint16_t scores[kMaxSeats];
    auto visit = [&](const int(&full)[5]) {
        ++boards;
        for (size_t i = 0; i < live.size(); ++i) {
            const history::HandSeat &h = hand.seats[static_cast<size_t>(live[i])];
            const int cards[7] = {h.cards[0], h.cards[1], full[0], full[1],
                                  full[2],    full[3],    full[4]};
            scores[i] = brisquel::EvaluateCards7(tables, cards);
        }
        for (const Layer &layer : layers) {
            std::uint16_t best = 0;
            int ties = 0;
            for (size_t i = 0; i < live.size(); ++i) {
                if (!(layer.eligible & (1u << i)))
                    continue;
                if (scores[i] > best) {
                    best = scores[i];
                    ties = 1;
                } else if (scores[i] == best) {
                    ++ties;
                }
            }
            if (scores[mine] == best)
                total += static_cast<double>(layer.chips) / ties;
        }
    };
    ForEachBoard(board, boardCards, used, 0, visit);
    return boards > 0 ? total / static_cast<double>(boards) : -1.0;
}

AllInHandResult AllInAdjustedHand(const history::Hand &hand, int seat)
{
    AllInHandResult result;
    result.hand = hand.number;
    if (seat < 0 || static_cast<size_t>(seat) >= hand.seats.size())
        return result;
    const history::HandSeat &me = hand.seats[static_cast<size_t>(seat)];
    result.dealt = me.inHand;
    if (!me.inHand)
        return result;
    result.actualChips = me.won - me.invested;
    result.adjustedChips = result.actualChips;
    int stillIn = 0;
    for (const history::HandSeat &h : hand.seats)
        stillIn += h.inHand && !h.folded ? 1 : 0;
    if (me.folded || stillIn < 2 || hand.actions.empty())
        return result;
    // The betting ended on the street of the last action; with the river not reached yet, the
    // rest of the board came without a decision.
    const history::Street last = hand.actions.back().street;
    if (last == history::Street::River)
        return result;
    result.allIn = true;
    result.boardAtAllIn = hand.boardCountAt(last);
    const double expected = ExpectedFromPot(hand, seat, result.boardAtAllIn);
    if (expected < 0.0)
        return result;
    result.adjusted = true;
    result.adjustedChips = expected - me.invested;
    return result;
}

AllInAdjustedResult AllInAdjusted(const history::Game &game, int seat)
{
    AllInAdjustedResult result;
    for (const history::Hand &hand : game.hands) {
        // Only the hands the player sat in are his.
        const int here = game.seatInHand(hand, seat);
        AllInHandResult one;
        one.hand = hand.number;
        if (here >= 0)
            one = AllInAdjustedHand(hand, here);
        result.allIns += one.adjusted ? 1 : 0;
        result.actualChips += one.actualChips;
        result.adjustedChips += one.adjustedChips;
        result.hands.push_back(one);
    }
    return result;
}

} // namespace coach
