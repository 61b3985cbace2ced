#include "coach/Review.h"

#include "coach/TableDecision.h"
#include "playout/Advisor.h"
#include "playout/HandSim.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <tuple>

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

Position PositionOf(const history::Hand &hand, int seat)
{
    if (seat == hand.smallBlindSeat || seat == hand.bigBlindSeat)
        return Position::Blinds;
    const int positionClass = hand.seats[static_cast<size_t>(seat)].positionClass;
    return positionClass >= 2   ? Position::Late
           : positionClass == 1 ? Position::Middle
                                : Position::Early;
}

// One decision to value: the hand up to it, what the seat did, and the row it belongs to.
struct AdviceJob
{
    size_t row = 0;
    playout::ReadDecision decision;
    std::uint64_t seed = 0;
    // The opponents' ranges at the decision, read once for the equity line and the play-outs.
    std::shared_ptr<const std::vector<playout::HandWeights>> ranges;
};

playout::Advice Value(const AdviceJob &job, int samples, const std::atomic<bool> &stop)
{
    playout::AdviseSettings settings;
    // No time limit: the same play-outs whatever the machine; `stop` is looked at between them.
    settings.maxMillis = 0;
    settings.firstAnswerMillis = 50;
    // A quarter of the play-outs at the least, and on until the grade is sure, up to 54 times
    // as many: a grade near a threshold needs about that many to come out the same from most
    // seeds.
    settings.samplesPerOption = std::max(1, samples / 4);
    settings.maxSamplesPerOption = 54 * samples;
    settings.takenPut = job.decision.fold ? 0 : job.decision.put;
    settings.takenFold = job.decision.fold;
    settings.seed = job.seed;
    if (job.ranges)
        settings.ranges = [&job](const playout::HandSoFar &) { return *job.ranges; };
    playout::Advice advice;
    try {
        advice = playout::Advise(*job.decision.hand, settings,
                                 [&stop](const playout::Advice &) { return !stop.load(); });
    } catch (const std::exception &) {
        return {}; // out of memory: the decision goes without advice
    }
    if (!advice.valid || stop.load())
        return {};
    // The standard answer beside the one against the computer opponents' own code.
    settings.samplesPerOption = std::max(1, samples / 4);
    try {
        playout::AddStandard(*job.decision.hand, settings, advice);
    } catch (const std::exception &) {
        // out of memory: the decision keeps its advice without the standard answer
    }
    // A fold where a check was free is graded too: against an option of its own, worth 0.
    return playout::WithMove(std::move(advice), job.decision.put, job.decision.fold);
}

// Values every job into its row on a few threads; false when `wanted` said stop.
bool ValueAll(const std::vector<AdviceJob> &jobs, std::vector<ReviewRow> &rows, int samples,
              int threads, const std::function<bool()> &wanted)
{
    if (jobs.empty())
        return true;
    if (threads <= 0)
        threads = static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, static_cast<int>(jobs.size()));
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    int running = threads;
    const auto work = [&] {
        for (size_t j = next++; j < jobs.size() && !stop.load(); j = next++)
            rows[jobs[j].row].advice = Value(jobs[j], samples, stop);
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        finished.notify_all();
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (running > 0) {
            finished.wait_for(lock, std::chrono::milliseconds(50));
            if (running > 0 && wanted && !stop.load()) {
                lock.unlock();
                if (!wanted())
                    stop.store(true);
                lock.lock();
            }
        }
    }
    for (std::thread &thread : pool)
        thread.join();
    return !stop.load();
}

std::uint64_t DecisionSeed(std::uint64_t seed, int hand, size_t index)
{
    std::uint64_t state = seed ^ (0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(hand + 1));
    playout::NextRandom(state);
    state ^= 0xBF58476D1CE4E5B9ULL * static_cast<std::uint64_t>(index + 1);
    return playout::NextRandom(state);
}

} // namespace

const char *PositionName(Position position)
{
    static const char *const kNames[] = {"early", "middle", "late", "blinds"};
    return kNames[static_cast<int>(position)];
}

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
    // A player's figures are his by name: in an imported file another player may take a seat
    // someone left, and a player may change seats.
    std::map<std::string, CPokerStat> byName;
    const auto statOf = [&byName](const std::string &name) -> CPokerStat & {
        const auto [found, added] = byName.try_emplace(name);
        if (added)
            ClearStat(found->second);
        return found->second;
    };
    std::vector<std::vector<CPokerStat>> before;
    const auto bySeat = [&](const history::Hand *hand) {
        std::vector<CPokerStat> seats(std::max(game.seats.size(), hand ? hand->seats.size() : 0));
        for (size_t s = 0; s < seats.size(); ++s) {
            ClearStat(seats[s]);
            if (hand && s < hand->seats.size())
                seats[s] = statOf(hand->seats[s].name);
        }
        before.push_back(std::move(seats));
    };
    for (size_t h = 0; h < game.hands.size(); ++h) {
        const history::Hand &hand = game.hands[h];
        bySeat(&hand);
        if (hand.seats.empty())
            continue;
        AnalyzeHand(HandEvents(hand, h == 0), [&](int s) -> CPokerStat & {
            const size_t seat = static_cast<size_t>(std::clamp(s, 0, int(hand.seats.size()) - 1));
            return statOf(hand.seats[seat].name);
        });
    }
    bySeat(game.hands.empty() ? nullptr : &game.hands.back());
    return before;
}

namespace {

// Every seat's chips, money in and preflop move so far in a hand, as its actions go by.
struct SeatsSoFar
{
    std::vector<bool> folded;
    std::vector<int> stack;
    std::vector<int> committed;
    std::vector<PreflopMove> preflop;

    explicit SeatsSoFar(const history::Hand &hand)
        : folded(hand.seats.size(), false)
        , stack(hand.seats.size())
        , committed(hand.seats.size(), 0)
        , preflop(hand.seats.size(), PreflopMove::None)
    {
        for (size_t s = 0; s < hand.seats.size(); ++s)
            stack[s] = hand.seats[s].startStack;
    }

    void Apply(const history::Action &action)
    {
        const size_t actor = static_cast<size_t>(action.seat);
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
};

// The row of `seat`'s decision `action`, with the table as it stood before it.
ReviewRow DecisionRow(const history::Hand &hand, int seat, const history::Action &action,
                      const SeatsSoFar &table, const std::vector<CPokerStat> &statistics)
{
    ReviewRow row;
    row.hand = hand.number;
    row.street = action.street;
    row.move = MoveOfKind(action.kind);
    row.amount = action.amount;
    row.position = PositionOf(hand, seat);
    row.bigBlind = hand.bigBlindInForce();
    DecisionPoint &point = row.point;
    point.hole = hand.seats[static_cast<size_t>(seat)].cards;
    point.board.assign(hand.board.begin(), hand.board.begin() + hand.boardCountAt(action.street));
    point.pot = action.potBefore;
    point.toCall = std::min(action.toCall, action.stackBefore);
    point.committed = table.committed[static_cast<size_t>(seat)];
    for (size_t s = 0; s < hand.seats.size(); ++s) {
        if (static_cast<int>(s) == seat || !hand.seats[s].inHand)
            continue;
        if (table.folded[s]) {
            point.dead.push_back(table.committed[s]);
            continue;
        }
        Opponent opponent;
        opponent.seat = static_cast<int>(s);
        opponent.positionClass = hand.seats[s].positionClass;
        opponent.stack = table.stack[s];
        opponent.committed = table.committed[s];
        opponent.preflop = table.preflop[s];
        ApplyStatistics(opponent, statistics[s]);
        point.opponents.push_back(opponent);
    }
    return row;
}

bool Stopped(const std::function<bool()> &wanted, std::string &error)
{
    if (!wanted || wanted())
        return false;
    error = "stopped";
    return true;
}

// Adds a row for each decision of `seat` in `hand`; false with a message when the review stops
// or the seat's cards are not known.
bool ReadHandDecisions(const history::Game &game, const history::Hand &hand, int seat,
                       const std::vector<CPokerStat> &statistics, std::vector<ReviewRow> &rows,
                       std::string &error, const std::function<bool()> &wanted)
{
    const history::HandSeat &me = hand.seats[static_cast<size_t>(seat)];
    SeatsSoFar table(hand);
    for (const history::Action &action : hand.actions) {
        if (action.seat == seat && IsDecision(action.kind)) {
            if (Stopped(wanted, error))
                return false;
            if (me.cards[0] < 0 || me.cards[1] < 0) {
                // An imported file has no game log: what it does not show is not known.
                error = "the cards of " + me.name + " in hand #" + std::to_string(hand.number) +
                        " are not known: " +
                        (game.importedFrom.empty()
                             ? "the game log beside the hand history does not hold this game"
                             : "the " + game.importedFrom + " file does not show them");
                return false;
            }
            rows.push_back(DecisionRow(hand, seat, action, table, statistics));
        }
        table.Apply(action);
    }
    return true;
}

// One hand's rows from `handRows` on, read by the estimator and counted in `summary`; the
// decisions that replay become jobs for the play-outs.
struct HandToJudge
{
    const history::Game &game;
    const history::Hand &hand;
    int seat;
    const std::vector<CPokerStat> &statistics;
    size_t handRows;
};

void JudgeHandRows(const HandToJudge &judged, Estimator &estimator, std::uint64_t seed,
                   const ReviewOptions &options, std::vector<ReviewRow> &rows,
                   ReviewSummary &summary, std::vector<AdviceJob> &jobs)
{
    const history::Hand &hand = judged.hand;
    const size_t handRows = judged.handRows;
    std::vector<playout::ReadDecision> decisions;
    if (options.samplesPerOption > 0 && rows.size() > handRows) {
        decisions = playout::DecisionsInHand(judged.game, hand, judged.seat, judged.statistics);
        if (decisions.size() != rows.size() - handRows) {
            summary.warnings.push_back("hand #" + std::to_string(hand.number) +
                                       ": the decisions of " +
                                       hand.seats[static_cast<size_t>(judged.seat)].name +
                                       " do not replay; they have no advice");
            decisions.clear();
        }
    }
    std::vector<std::shared_ptr<const std::vector<playout::HandWeights>>> ranges;
    for (size_t k = 0; k < rows.size() - handRows; ++k) {
        ReviewRow &row = rows[handRows + k];
        // Where the play-outs grade the decision, the equity line reads their ranges.
        if (!decisions.empty()) {
            ranges.push_back(std::make_shared<const std::vector<playout::HandWeights>>(
                playout::SeatRanges(*decisions[k].hand)));
            TakeRanges(row.point, *ranges.back(),
                       [&hand](int s) { return hand.seats[static_cast<size_t>(s)].seat; });
        }
        row.estimate = estimator.Evaluate(row.point);
        row.verdict = Judge(row.move, row.estimate);
        row.chipsLost = ChipsLost(row.move, row.estimate);
        ++summary.decisions;
        summary.tooTight += row.verdict == Verdict::TooTight ? 1 : 0;
        summary.tooLoose += row.verdict == Verdict::TooLoose ? 1 : 0;
        summary.chipsLost += row.chipsLost;
    }
    for (size_t k = 0; k < decisions.size(); ++k)
        jobs.push_back({handRows + k, decisions[k], DecisionSeed(seed, hand.number, k), ranges[k]});
}

// Counts the graded rows from `firstRow` on, and warns once a hand for a valued decision left
// without advice.
void CountAdvice(const std::string &player, const std::vector<ReviewRow> &rows, size_t firstRow,
                 const std::vector<AdviceJob> &jobs, const ReviewOptions &options,
                 ReviewSummary &summary)
{
    int lastWarned = -1;
    for (size_t r = firstRow; r < rows.size(); ++r) {
        const ReviewRow &row = rows[r];
        if (row.advice.grade != playout::Grade::NotGraded) {
            ++summary.graded;
            ++summary.byGrade[static_cast<size_t>(row.advice.grade)];
            summary.evLossBb += row.advice.lossBb;
        } else if (!row.advice.valid && options.samplesPerOption > 0 && row.hand != lastWarned &&
                   std::any_of(jobs.begin(), jobs.end(),
                               [r](const AdviceJob &j) { return j.row == r; })) {
            lastWarned = row.hand;
            summary.warnings.push_back("hand #" + std::to_string(row.hand) + ": a decision of " +
                                       player + " does not replay; it has no advice");
        }
    }
}

} // namespace

bool ReviewGame(const history::Game &game, int gameSeat, Estimator &estimator,
                std::vector<ReviewRow> &rows, ReviewSummary &summary, std::string &error,
                const std::function<bool()> &wanted, const ReviewOptions &options)
{
    if (gameSeat < 0 || static_cast<size_t>(gameSeat) >= game.seats.size()) {
        error = "there is no seat " + std::to_string(gameSeat) + " in " + game.historyPath;
        return false;
    }
    const auto statistics = StatisticsBeforeHands(game);
    const std::uint64_t seed = options.seed ? *options.seed : std::random_device{}();
    const size_t firstRow = rows.size();
    std::vector<AdviceJob> jobs;
    for (size_t h = 0; h < game.hands.size(); ++h) {
        if (Stopped(wanted, error))
            return false;
        const history::Hand &hand = game.hands[h];
        const int seat = game.seatInHand(hand, gameSeat);
        if (seat < 0 || !hand.seats[static_cast<size_t>(seat)].inHand)
            continue;
        ++summary.hands;
        const size_t handRows = rows.size();
        if (!ReadHandDecisions(game, hand, seat, statistics[h], rows, error, wanted))
            return false;
        JudgeHandRows({game, hand, seat, statistics[h], handRows}, estimator, seed, options, rows,
                      summary, jobs);
    }
    if (!ValueAll(jobs, rows, options.samplesPerOption, options.threads, wanted)) {
        error = "stopped";
        return false;
    }
    CountAdvice(game.seats[static_cast<size_t>(gameSeat)].name, rows, firstRow, jobs, options,
                summary);
    return true;
}

std::string ReviewHeader()
{
    return "hand\tstreet\taction\tamount\tpot\tto_call\tneeded\tequity_random\tequity_range\t"
           "verdict\tev\tbest\tev_best_bb\tev_loss_bb\tgame\tgrade\tvs_typical";
}

// The best option against typical players where it is not the best against the computer
// opponents' own code, else "-".
std::string VsTypical(const playout::Advice &advice)
{
    if (playout::ExploitLine(advice).empty())
        return "-";
    return playout::OptionLabel(advice.standard[static_cast<size_t>(advice.standardBest)]);
}

bool ExploitOnly(const playout::Advice &advice)
{
    return advice.grade != playout::Grade::Ok && advice.grade != playout::Grade::NotGraded &&
           advice.chosen >= 0 && advice.chosen == advice.standardBest &&
           !playout::ExploitLine(advice).empty();
}

std::string ReviewLine(const ReviewRow &row, const std::string &game)
{
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "%.3f\t%.3f\t%.3f", row.estimate.price.needed,
                  row.estimate.random.value, row.estimate.range.value);
    char ev[32];
    std::snprintf(ev, sizeof ev, "%.1f", row.estimate.evCall);
    const playout::Advice &advice = row.advice;
    const bool graded = advice.grade != playout::Grade::NotGraded;
    const std::string verdict = VerdictText(row.verdict, advice);
    std::string best = "-", evBest = "-", evLoss = "-";
    if (advice.valid && advice.best >= 0) {
        const playout::Option &option = advice.options[static_cast<size_t>(advice.best)];
        best = playout::OptionLabel(option);
        char number[32];
        std::snprintf(number, sizeof number, "%.2f", option.evBb);
        evBest = number;
        if (graded) {
            std::snprintf(number, sizeof number, "%.2f", advice.lossBb);
            evLoss = number;
        }
    }
    return std::to_string(row.hand) + "\t" + history::StreetName(row.street) + "\t" +
           MoveName(row.move) + "\t" + std::to_string(row.amount) + "\t" +
           std::to_string(row.point.pot) + "\t" + std::to_string(row.point.toCall) + "\t" +
           numbers + "\t" + verdict + "\t" + ev + "\t" + best + "\t" + evBest + "\t" + evLoss +
           "\t" + (game.empty() ? "-" : game) + "\t" + playout::GradeName(advice.grade) + "\t" +
           VsTypical(advice);
}

std::vector<LeakCell> LeakTable(const std::vector<ReviewRow> &rows)
{
    std::map<std::tuple<int, int, int>, LeakCell> cells;
    for (const ReviewRow &row : rows) {
        LeakCell &cell = cells[{static_cast<int>(row.street), static_cast<int>(row.position),
                                static_cast<int>(row.move)}];
        cell.street = row.street;
        cell.position = row.position;
        cell.move = row.move;
        ++cell.decisions;
        if (row.advice.grade == playout::Grade::NotGraded)
            continue;
        cell.mistakes += row.advice.grade != playout::Grade::Ok ? 1 : 0;
        cell.exploitOnly += ExploitOnly(row.advice) ? 1 : 0;
        cell.lostBb += row.advice.lossBb;
    }
    std::vector<LeakCell> table;
    for (const auto &[key, cell] : cells)
        table.push_back(cell);
    return table;
}

} // namespace coach
