#include "summary/GameSummary.h"

#include "outcome/HandOutcome.h"

#include "pokerlib/EquityCalculator.h"

#include <algorithm>
#include <map>

namespace summary {

namespace {

constexpr int kPotsShown = 3;

int NetOf(const history::HandSeat &seat)
{
    return seat.won - seat.invested;
}

// The equity of `seat` among `players` (the seats' known hands) on `board`, exactly.
double EquityAmong(const history::Hand &hand, const std::vector<int> &players, int seat,
                   const std::vector<int> &board)
{
    if (players.size() == 1)
        return players[0] == seat ? 1.0 : 0.0;
    brisquel::EquitySetup setup;
    setup.board = board;
    setup.exact = true;
    setup.threads = 1;
    int index = -1;
    for (int p : players) {
        if (p == seat)
            index = static_cast<int>(setup.players.size());
        const auto &cards = hand.seats[static_cast<size_t>(p)].cards;
        setup.players.push_back({{{cards[0], cards[1]}}});
    }
    const brisquel::EquityResult result = brisquel::CalculateEquity(setup);
    if (!result.ok || index < 0)
        return 0.0;
    return result.players[static_cast<size_t>(index)].equity;
}

} // namespace

double AllInAdjustedNet(const history::Hand &hand, int seat, bool &adjusted)
{
    adjusted = false;
    if (seat < 0 || seat >= static_cast<int>(hand.seats.size()))
        return 0.0;
    const history::HandSeat &me = hand.seats[static_cast<size_t>(seat)];
    const int actual = NetOf(me);
    if (!hand.showdown || me.folded || !me.inHand || hand.actions.empty())
        return actual;
    // The cards still to come after the last action: none on the river.
    const history::Street last = hand.actions.back().street;
    const int boardKnown = hand.boardCountAt(last);
    if (boardKnown >= 5)
        return actual;
    std::vector<int> contenders;
    for (const history::HandSeat &s : hand.seats) {
        if (!s.inHand || s.folded)
            continue;
        if (s.cards[0] < 0 || s.cards[1] < 0)
            return actual; // a hand not known: the luck cannot be measured
        contenders.push_back(s.seat);
    }
    if (contenders.size() < 2)
        return actual;
    const std::vector<int> board(
        hand.board.begin(), hand.board.begin() + std::min<size_t>(boardKnown, hand.board.size()));

    // The pot in layers by what the contenders put in: each layer is shared by those who
    // covered it, dead money of folded seats included.
    std::vector<int> levels;
    for (int p : contenders)
        levels.push_back(hand.seats[static_cast<size_t>(p)].invested);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    double share = 0.0;
    int previous = 0;
    for (int level : levels) {
        int layer = 0;
        for (const history::HandSeat &s : hand.seats)
            layer += std::clamp(s.invested, previous, level) - previous;
        std::vector<int> eligible;
        for (int p : contenders) {
            if (hand.seats[static_cast<size_t>(p)].invested >= level)
                eligible.push_back(p);
        }
        if (std::find(eligible.begin(), eligible.end(), seat) != eligible.end())
            share += layer * EquityAmong(hand, eligible, seat, board);
        previous = level;
    }
    adjusted = true;
    return share - me.invested;
}

GameSummary Summarize(const history::Game &game, int seat)
{
    GameSummary summary;
    summary.seat = seat;
    std::vector<PotResult> pots;
    for (const history::Hand &hand : game.hands) {
        // The player, wherever he sits this hand (an imported file's seats change hands).
        const int here = game.seatInHand(hand, seat);
        if (here < 0 || here >= static_cast<int>(hand.seats.size()))
            continue;
        const history::HandSeat &me = hand.seats[static_cast<size_t>(here)];
        if (!me.inHand)
            continue;
        ++summary.hands;
        const int net = NetOf(me);
        summary.net += net;
        if (const int bigBlind = hand.bigBlindInForce(); bigBlind > 0)
            summary.bbPer100 += static_cast<double>(net) / bigBlind;
        bool adjusted = false;
        summary.allInNet += AllInAdjustedNet(hand, here, adjusted);
        summary.allInHands += adjusted ? 1 : 0;
        if (net != 0)
            pots.push_back(
                {hand.number, outcome::OutcomeOf(hand).pot, net, outcome::HowItEnded(hand, here)});
    }
    if (summary.hands > 0)
        summary.bbPer100 *= 100.0 / summary.hands;

    for (const PotResult &pot : pots)
        (pot.net > 0 ? summary.biggestWon : summary.biggestLost).push_back(pot);
    std::stable_sort(summary.biggestWon.begin(), summary.biggestWon.end(),
                     [](const PotResult &a, const PotResult &b) { return a.net > b.net; });
    std::stable_sort(summary.biggestLost.begin(), summary.biggestLost.end(),
                     [](const PotResult &a, const PotResult &b) { return a.net < b.net; });
    if (summary.biggestWon.size() > kPotsShown)
        summary.biggestWon.resize(kPotsShown);
    if (summary.biggestLost.size() > kPotsShown)
        summary.biggestLost.resize(kPotsShown);
    return summary;
}

double DecisionCostBb(const coach::ReviewRow &row)
{
    switch (row.advice.grade) {
    case playout::Grade::NotGraded:
        return row.chipsLost / std::max(1, row.bigBlind);
    case playout::Grade::Ok:
        return 0.0;
    default:
        return row.advice.lossBb;
    }
}

std::vector<coach::ReviewRow> CostliestDecisions(const std::vector<coach::ReviewRow> &rows,
                                                 int count)
{
    std::vector<coach::ReviewRow> costly;
    for (const coach::ReviewRow &row : rows) {
        if (DecisionCostBb(row) > 0)
            costly.push_back(row);
    }
    std::stable_sort(costly.begin(), costly.end(),
                     [](const coach::ReviewRow &a, const coach::ReviewRow &b) {
                         return DecisionCostBb(a) > DecisionCostBb(b);
                     });
    if (static_cast<int>(costly.size()) > count)
        costly.resize(static_cast<size_t>(count));
    return costly;
}

} // namespace summary
