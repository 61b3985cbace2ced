#include "tests/support/AllInJudge.h"

#include "pokerlib/Evaluator.h"

#include <algorithm>
#include <functional>

namespace testsupport {

std::vector<double> ExpectedFromBoards(const history::Hand &hand, int known)
{
    std::vector<const history::HandSeat *> live;
    std::vector<bool> used(52, false);
    for (int i = 0; i < known; ++i)
        used[size_t(hand.board[size_t(i)])] = true;
    std::vector<int> levels;
    for (const history::HandSeat &h : hand.seats) {
        if (h.invested > 0)
            levels.push_back(h.invested);
        if (h.inHand && !h.folded) {
            live.push_back(&h);
            used[size_t(h.cards[0])] = used[size_t(h.cards[1])] = true;
        }
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    std::vector<int> layerPot;
    for (size_t l = 0; l < levels.size(); ++l) {
        const int below = l ? levels[l - 1] : 0;
        int pot = 0;
        for (const history::HandSeat &h : hand.seats)
            pot += std::max(0, std::min(h.invested, levels[l]) - below);
        layerPot.push_back(pot);
    }
    std::vector<int> deck;
    for (int c = 0; c < 52; ++c)
        if (!used[size_t(c)])
            deck.push_back(c);
    const brisquel::EvalTables &tables = brisquel::Tables();
    std::vector<int> board(hand.board.begin(), hand.board.begin() + known);
    std::vector<double> total(hand.seats.size(), 0.0);
    long long boards = 0;
    std::vector<int> score(live.size());
    std::vector<size_t> sharers;
    const std::function<void(size_t)> deal = [&](size_t from) {
        if (board.size() == 5) {
            for (size_t i = 0; i < live.size(); ++i) {
                const int seven[7] = {live[i]->cards[0], live[i]->cards[1], board[0], board[1],
                                      board[2],          board[3],          board[4]};
                score[i] = brisquel::EvaluateCards7(tables, seven);
            }
            for (size_t l = 0; l < levels.size(); ++l) {
                int best = -1;
                sharers.clear();
                for (size_t i = 0; i < live.size(); ++i) {
                    if (live[i]->invested < levels[l])
                        continue;
                    if (score[i] > best) {
                        best = score[i];
                        sharers.clear();
                    }
                    if (score[i] == best)
                        sharers.push_back(size_t(live[i]->seat));
                }
                for (size_t seat : sharers)
                    total[seat] += double(layerPot[l]) / double(sharers.size());
            }
            ++boards;
            return;
        }
        for (size_t c = from; c < deck.size(); ++c) {
            board.push_back(deck[c]);
            deal(c + 1);
            board.pop_back();
        }
    };
    deal(0);
    for (double &t : total)
        t /= double(boards);
    return total;
}

} // namespace testsupport
