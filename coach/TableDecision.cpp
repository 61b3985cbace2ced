#include "coach/TableDecision.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>

namespace coach {

void ApplyStatistics(Opponent &opponent, const CPokerStat &stat)
{
    opponent.hands = stat.m_N;
    opponent.vpip = stat.m_vpipOpportunities > 0
                        ? static_cast<double>(stat.m_VPIP) / stat.m_vpipOpportunities
                        : 0.0;
    opponent.pfr = stat.m_N > 0 ? static_cast<double>(stat.m_PFR) / stat.m_N : 0.0;
}

DecisionPoint TableDecision(const CGameTable &table, const std::vector<CAction> &actions, int seat)
{
    DecisionPoint point;
    point.hole = {table.m_cards[2 * seat], table.m_cards[2 * seat + 1]};
    for (int i = 0; i < table.m_boardCount && i < 5; ++i)
        point.board.push_back(table.m_cards[brisquel::kBoardFirst + i]);
    point.pot = table.m_pot;
    for (int s = 0; s < table.m_seatCount; ++s)
        point.pot += table.m_bet[s];
    point.toCall =
        std::clamp(table.m_amountToCall - table.m_bet[seat], 0, std::max(0, table.m_stack[seat]));
    point.committed = table.m_invested[seat];
    for (int s = 0; s < table.m_seatCount; ++s) {
        if (s == seat)
            continue;
        if (!table.IsActive(s)) {
            if (table.m_invested[s] > 0)
                point.dead.push_back(table.m_invested[s]);
            continue;
        }
        Opponent opponent;
        opponent.seat = s;
        opponent.positionClass = table.m_positionClass[s];
        opponent.stack = table.m_stack[s];
        opponent.committed = table.m_invested[s];
        ApplyStatistics(opponent, table.m_players[s].m_stat);
        point.opponents.push_back(opponent);
    }
    for (const CAction &action : actions) {
        if (action.m_kind == actionkind::kPreflopFinished)
            break;
        if (action.m_kind != actionkind::kCall && action.m_kind != actionkind::kRaise)
            continue;
        for (Opponent &opponent : point.opponents) {
            if (opponent.seat != action.m_seat)
                continue;
            if (action.m_kind == actionkind::kRaise)
                opponent.preflop = PreflopMove::Raised;
            else if (opponent.preflop == PreflopMove::None)
                opponent.preflop = PreflopMove::Called;
        }
    }
    return point;
}

Move MoveOf(const DecisionPoint &point, int amount, bool fold, int stack)
{
    if (fold || (amount <= 0 && point.toCall > 0))
        return Move::Fold;
    if (amount <= 0)
        return Move::Check;
    // An all-in for less than the price is a call too.
    if (amount == point.toCall || (amount == stack && amount < point.toCall))
        return Move::Call;
    return point.toCall == 0 && !point.board.empty() ? Move::Bet : Move::Raise;
}

std::string StreetOfBoard(int boardCount)
{
    return boardCount >= 5   ? "river"
           : boardCount == 4 ? "turn"
           : boardCount >= 3 ? "flop"
                             : "preflop";
}

} // namespace coach
