#include "coach/Review.h"

#include "coach/TableDecision.h"

#include <algorithm>
#include <cstdio>

namespace coach {

namespace {

using history::ActionKind;
using history::Street;

using namespace actionkind;

bool IsDecision(ActionKind kind)
{
    return kind != ActionKind::Ante && kind != ActionKind::SmallBlind &&
           kind != ActionKind::BigBlind;
}

Move MoveOfKind(ActionKind kind)
{
    switch (kind) {
    case ActionKind::Fold:
        return Move::Fold;
    case ActionKind::Check:
        return Move::Check;
    case ActionKind::Call:
        return Move::Call;
    case ActionKind::Bet:
        return Move::Bet;
    default:
        return Move::Raise;
    }
}

// The events that close one street and open the next: 4 / 15 / 17 / 19 and 14 / 16 / 18.
int StreetEnd(Street street)
{
    return street == Street::Preflop ? kPreflopFinished : kFlop + 2 * static_cast<int>(street) - 1;
}

} // namespace

int ReviewSeat(const history::Game &game, const std::string &player, std::string &error)
{
    if (player.empty())
        return std::max(game.humanSeat(), 0);
    const int seat = game.seatOf(player);
    if (seat < 0) {
        std::string names;
        for (const history::GameSeat &s : game.seats)
            names += (names.empty() ? "" : ", ") + s.name;
        error = "\"" + player + "\" is not at the table of " + game.historyPath +
                " (players: " + names + ")";
    }
    return seat;
}

std::vector<CAction> HandEvents(const history::Hand &hand, bool firstHandOfGame)
{
    std::vector<CAction> events;
    events.emplace_back(kHandStart, -1, 0);
    for (const history::HandSeat &seat : hand.seats)
        events.emplace_back(kDealtIn, seat.seat, 0, seat.name);
    const auto nameOf = [&](int s) {
        return s >= 0 && static_cast<size_t>(s) < hand.seats.size()
                   ? hand.seats[static_cast<size_t>(s)].name
                   : std::string();
    };
    if (!firstHandOfGame)
        events.emplace_back(kButton, hand.button, 0, nameOf(hand.button));
    events.emplace_back(kPreflopBegins, -1, 0);
    std::vector<int> antes(hand.seats.size(), 0);
    Street street = Street::Preflop;
    for (const history::Action &action : hand.actions) {
        const std::string name = nameOf(action.seat);
        if (action.kind == ActionKind::Ante) {
            antes[static_cast<size_t>(action.seat)] += action.amount;
            continue;
        }
        if (action.kind == ActionKind::SmallBlind || action.kind == ActionKind::BigBlind) {
            // The engine records the blind with the ante already in it.
            events.emplace_back(action.kind == ActionKind::SmallBlind ? kSmallBlind : kBigBlind,
                                action.seat,
                                action.amount + antes[static_cast<size_t>(action.seat)], name);
            continue;
        }
        while (street < action.street) {
            events.emplace_back(StreetEnd(street), -1, 0);
            street = static_cast<Street>(static_cast<int>(street) + 1);
            events.emplace_back(kFlop + 2 * (static_cast<int>(street) - 1), -1, 0);
        }
        static const int kKinds[] = {0, 0, 0, kFold, kCheck, kCall, kRaise, kRaise};
        events.emplace_back(kKinds[static_cast<int>(action.kind)], action.seat, action.amount,
                            name);
    }
    events.emplace_back(StreetEnd(street), -1, 0);
    events.emplace_back(kHandFinished, -1, 0);
    return events;
}

std::vector<std::vector<CPokerStat>> StatisticsBeforeHands(const history::Game &game)
{
    std::vector<CPokerStat> current(game.seats.size());
    for (CPokerStat &stat : current)
        ClearStat(stat);
    std::vector<std::vector<CPokerStat>> before;
    for (size_t h = 0; h < game.hands.size(); ++h) {
        before.push_back(current);
        AnalyzeHand(HandEvents(game.hands[h], h == 0), [&](int s) -> CPokerStat & {
            return current[static_cast<size_t>(std::clamp(s, 0, int(current.size()) - 1))];
        });
    }
    before.push_back(current);
    return before;
}

bool ReviewGame(const history::Game &game, int seat, Estimator &estimator,
                std::vector<ReviewRow> &rows, ReviewSummary &summary, std::string &error,
                const std::function<bool()> &wanted)
{
    const auto stopped = [&wanted, &error] {
        if (!wanted || wanted())
            return false;
        error = "stopped";
        return true;
    };
    if (seat < 0 || static_cast<size_t>(seat) >= game.seats.size()) {
        error = "there is no seat " + std::to_string(seat) + " in " + game.historyPath;
        return false;
    }
    const auto statistics = StatisticsBeforeHands(game);
    for (size_t h = 0; h < game.hands.size(); ++h) {
        if (stopped())
            return false;
        const history::Hand &hand = game.hands[h];
        const history::HandSeat &me = hand.seats[static_cast<size_t>(seat)];
        if (!me.inHand)
            continue;
        ++summary.hands;
        const size_t seats = hand.seats.size();
        std::vector<bool> folded(seats, false);
        std::vector<int> stack(seats);
        std::vector<int> committed(seats, 0);
        std::vector<PreflopMove> preflop(seats, PreflopMove::None);
        for (size_t s = 0; s < seats; ++s)
            stack[s] = hand.seats[s].startStack;
        for (const history::Action &action : hand.actions) {
            const size_t actor = static_cast<size_t>(action.seat);
            if (action.seat == seat && IsDecision(action.kind)) {
                if (stopped())
                    return false;
                if (me.cards[0] < 0 || me.cards[1] < 0) {
                    error = "the cards of " + me.name + " in hand #" + std::to_string(hand.number) +
                            " are not known: the game log beside the hand history does not "
                            "hold this game";
                    return false;
                }
                ReviewRow row;
                row.hand = hand.number;
                row.street = action.street;
                row.move = MoveOfKind(action.kind);
                row.amount = action.amount;
                DecisionPoint &point = row.point;
                point.hole = me.cards;
                point.board.assign(hand.board.begin(),
                                   hand.board.begin() + hand.boardCountAt(action.street));
                point.pot = action.potBefore;
                point.toCall = std::min(action.toCall, action.stackBefore);
                point.committed = committed[static_cast<size_t>(seat)];
                for (size_t s = 0; s < seats; ++s) {
                    if (static_cast<int>(s) == seat || !hand.seats[s].inHand)
                        continue;
                    if (folded[s]) {
                        point.dead.push_back(committed[s]);
                        continue;
                    }
                    Opponent opponent;
                    opponent.seat = static_cast<int>(s);
                    opponent.positionClass = hand.seats[s].positionClass;
                    opponent.stack = stack[s];
                    opponent.committed = committed[s];
                    opponent.preflop = preflop[s];
                    ApplyStatistics(opponent, statistics[h][s]);
                    point.opponents.push_back(opponent);
                }
                row.estimate = estimator.Evaluate(point);
                row.verdict = Judge(row.move, row.estimate);
                row.chipsLost = ChipsLost(row.move, row.estimate);
                ++summary.decisions;
                summary.tooTight += row.verdict == Verdict::TooTight ? 1 : 0;
                summary.tooLoose += row.verdict == Verdict::TooLoose ? 1 : 0;
                summary.chipsLost += row.chipsLost;
                rows.push_back(std::move(row));
            }
            stack[actor] -= action.amount;
            committed[actor] += action.amount;
            if (action.kind == ActionKind::Fold)
                folded[actor] = true;
            if (action.street == Street::Preflop) {
                if (action.kind == ActionKind::Raise)
                    preflop[actor] = PreflopMove::Raised;
                else if (action.kind == ActionKind::Call && preflop[actor] == PreflopMove::None)
                    preflop[actor] = PreflopMove::Called;
            }
        }
    }
    return true;
}

std::string ReviewHeader()
{
    return "hand\tstreet\taction\tamount\tpot\tto_call\tneeded\tequity_random\tequity_range\t"
           "verdict\tev";
}

std::string ReviewLine(const ReviewRow &row)
{
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "%.3f\t%.3f\t%.3f", row.estimate.price.needed,
                  row.estimate.random.value, row.estimate.range.value);
    char ev[32];
    std::snprintf(ev, sizeof ev, "%.1f", row.estimate.evCall);
    return std::to_string(row.hand) + "\t" + history::StreetName(row.street) + "\t" +
           MoveName(row.move) + "\t" + std::to_string(row.amount) + "\t" +
           std::to_string(row.point.pot) + "\t" + std::to_string(row.point.toCall) + "\t" +
           numbers + "\t" + VerdictName(row.verdict) + "\t" + ev;
}

} // namespace coach
