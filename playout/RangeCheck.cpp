#include "playout/RangeCheck.h"

#include "opponents/BotGame.h"
#include "opponents/Decisions.h"
#include "playout/Advice.h"
#include "playout/FastOdds.h"
#include "playout/Ranges.h"
#include "playout/SeatActs.h"
#include "pokerlib/CardCodes.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/Rng.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace playout {

namespace {

using brisquel::kBoardFirst;
constexpr int kStartingStack = 1500;

// Plays the personas as the table does (the poker library's odds) and keeps every decision
// with the table as it stood.
class RecordingDecider : public IDecider
{
public:
    struct Decision
    {
        CGameTable table;
        int seat = -1;
        int street = -1;
        int put = 0;
        bool fold = false;
    };
    std::vector<Decision> decisions;

    int DecidePreflop(const CGameTable &table, int seat, EasyRandom &random) override
    {
        return Keep(table, seat, -1, m_personas.DecidePreflop(table, seat, random));
    }
    int DecidePostflop(const CGameTable &table, int seat, int street, EasyRandom &random) override
    {
        return Keep(table, seat, street, m_personas.DecidePostflop(table, seat, street, random));
    }

private:
    int Keep(const CGameTable &table, int seat, int street, int amount)
    {
        const int put = MendedPut(table, seat, amount);
        decisions.push_back({table, seat, street, put, put == 0 && Owes(table, seat, street)});
        return amount;
    }

    CPersonaDecider m_personas;
};

// Heads-up equity of `hole` against a hand drawn by `weights` (empty: any hand), the board
// completed at random. NaN when no hand is left to draw.
double EquityAgainstWeights(std::uint64_t rng[4], const int hole[2], const int *board,
                            int boardCount, const std::vector<double> &weights, int trials)
{
    std::uint64_t dead = (1ull << hole[0]) | (1ull << hole[1]);
    for (int i = 0; i < boardCount; ++i)
        dead |= 1ull << board[i];
    std::vector<double> cumulative(kComboCount);
    double total = 0.0;
    for (int c = 0; c < kComboCount; ++c) {
        const auto [a, b] = ComboCards(c);
        const bool live = !(dead >> a & 1) && !(dead >> b & 1);
        if (live)
            total += weights.empty() ? 1.0 : std::max(weights[std::size_t(c)], 0.0);
        cumulative[std::size_t(c)] = total;
    }
    if (total <= 0.0)
        return std::nan("");
    const brisquel::EvalTables &t = brisquel::Tables();
    double sum = 0.0;
    int cards[7], villain[7];
    for (int trial = 0; trial < trials; ++trial) {
        const double u = double(brisquel::NextXoshiro(rng) >> 11) * 0x1.0p-53 * total;
        const auto it = std::upper_bound(cumulative.begin(), cumulative.end(), u);
        const int combo = int(std::min<std::ptrdiff_t>(it - cumulative.begin(), kComboCount - 1));
        const auto [va, vb] = ComboCards(combo);
        std::uint64_t used = dead | (1ull << va) | (1ull << vb);
        for (int i = 0; i < boardCount; ++i)
            cards[2 + i] = villain[2 + i] = board[i];
        for (int i = boardCount; i < 5; ++i) {
            int card;
            do
                card = int(brisquel::UniformBelow(rng, 52));
            while (used >> card & 1);
            used |= 1ull << card;
            cards[2 + i] = villain[2 + i] = card;
        }
        cards[0] = hole[0];
        cards[1] = hole[1];
        villain[0] = va;
        villain[1] = vb;
        const auto mine = brisquel::EvaluateCards7(t, cards);
        const auto theirs = brisquel::EvaluateCards7(t, villain);
        sum += mine > theirs ? 1.0 : (mine == theirs ? 0.5 : 0.0);
    }
    return sum / trials;
}

// Heads-up equity against one known hand: every run-out after the flop, a sample before it.
double EquityAgainstHand(std::uint64_t rng[4], const int hole[2], const int *board, int boardCount,
                         const int villain[2], int trials)
{
    if (boardCount == 0) {
        std::vector<double> one(kComboCount, 0.0);
        one[std::size_t(ComboIndex(villain[0], villain[1]))] = 1.0;
        return EquityAgainstWeights(rng, hole, board, 0, one, trials);
    }
    const brisquel::EvalTables &t = brisquel::Tables();
    std::uint64_t used =
        (1ull << hole[0]) | (1ull << hole[1]) | (1ull << villain[0]) | (1ull << villain[1]);
    for (int i = 0; i < boardCount; ++i)
        used |= 1ull << board[i];
    std::vector<int> rest;
    for (int c = 0; c < 52; ++c)
        if (!(used >> c & 1))
            rest.push_back(c);
    int mine[7] = {hole[0], hole[1]}, theirs[7] = {villain[0], villain[1]};
    for (int i = 0; i < boardCount; ++i)
        mine[2 + i] = theirs[2 + i] = board[i];
    double sum = 0.0;
    long long count = 0;
    const auto score = [&] {
        const auto a = brisquel::EvaluateCards7(t, mine);
        const auto b = brisquel::EvaluateCards7(t, theirs);
        sum += a > b ? 1.0 : (a == b ? 0.5 : 0.0);
        ++count;
    };
    const std::size_t n = rest.size();
    if (boardCount == 5) {
        score();
    } else if (boardCount == 4) {
        for (std::size_t i = 0; i < n; ++i) {
            mine[6] = theirs[6] = rest[i];
            score();
        }
    } else {
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j) {
                mine[5] = theirs[5] = rest[i];
                mine[6] = theirs[6] = rest[j];
                score();
            }
    }
    return count > 0 ? sum / double(count) : std::nan("");
}

RangeSituation SituationOf(const CGameTable &table, int seat, int street, const SeatAct &act)
{
    if (street < 0) {
        if (act.allIn && act.kind != ActKind::Check)
            return RangeSituation::AllIn;
        if (act.kind == ActKind::Raise)
            return table.CountRaisersAbove(seat, table.m_bigBlind) == 0 ? RangeSituation::Opened
                                                                        : RangeSituation::ReRaised;
        return RangeSituation::Called; // the big blind's check counts with the calls
    }
    if (act.kind == ActKind::Raise)
        return RangeSituation::PostflopBet;
    return act.kind == ActKind::Call ? RangeSituation::PostflopCall : RangeSituation::PostflopCheck;
}

struct HandMeasure
{
    RangeCheckResult &result;
    CFastOdds odds;
    std::uint64_t rng[4];
    int trials;

    HandMeasure(RangeCheckResult &r, std::uint64_t seed, int equityTrials)
        : result(r)
        , odds(seed)
        , trials(equityTrials)
    {
        brisquel::SeedXoshiro(rng, seed ^ 0xACC0'0000'0000'0000ull);
    }

    void Measure(RangeCheckCell &cell, const CGameTable &table, int seat,
                 const std::vector<double> &weights, const std::vector<double> &unknownWeights)
    {
        const int judge = table.NextActiveSeat(seat);
        if (judge == seat || judge < 0)
            return;
        const int hole[2] = {table.m_cards[2 * judge], table.m_cards[2 * judge + 1]};
        const int villain[2] = {table.m_cards[2 * seat], table.m_cards[2 * seat + 1]};
        const int *board = table.m_cards + kBoardFirst;
        const int n = table.m_boardCount;
        const double real = EquityAgainstHand(rng, hole, board, n, villain, trials);
        const double model = EquityAgainstWeights(rng, hole, board, n, weights, trials);
        const double uniform = EquityAgainstWeights(rng, hole, board, n, {}, trials);
        const double unknown = EquityAgainstWeights(rng, hole, board, n, unknownWeights, trials);
        if (std::isnan(real) || std::isnan(model) || std::isnan(uniform) || std::isnan(unknown))
            return;
        cell.model.Add(100.0 * (model - real));
        cell.uniform.Add(100.0 * (uniform - real));
        cell.unknown.Add(100.0 * (unknown - real));
    }

    void Hand(const std::vector<RecordingDecider::Decision> &decisions)
    {
        RangeTracker tracker(odds, {});
        RangeTracker unknownTracker(odds, {}); // every seat read as a player without a persona
        bool acted[brisquel::kMaxSeats] = {};
        for (const auto &d : decisions) {
            const CGameTable &t = d.table;
            const int persona = t.m_players[d.seat].m_persona;
            if (persona < kPersonaMaster || persona > kPersonaTim)
                continue;
            RangeCheckCell *cells = result.cells[persona - kPersonaMaster];
            if (!acted[d.seat]) {
                acted[d.seat] = true;
                Measure(cells[int(RangeSituation::NotActed)], t, d.seat,
                        tracker.Weights(d.seat).weights, unknownTracker.Weights(d.seat).weights);
            }
            tracker.Observe(t, d.seat, d.street, d.put, d.fold);
            CGameTable anonymous = t;
            anonymous.m_players[d.seat].m_persona = kPersonaHero;
            unknownTracker.Observe(anonymous, d.seat, d.street, d.put, d.fold);
            ++result.decisions;
            const SeatAct act = ClassifyAct(t, d.seat, d.street, d.put, d.fold);
            if (act.kind == ActKind::Fold)
                continue;
            Measure(cells[int(SituationOf(t, d.seat, d.street, act))], t, d.seat,
                    tracker.Weights(d.seat).weights, unknownTracker.Weights(d.seat).weights);
        }
        ++result.hands;
    }
};

} // namespace

const char *RangeSituationName(RangeSituation situation)
{
    switch (situation) {
    case RangeSituation::NotActed:
        return "not acted yet";
    case RangeSituation::Opened:
        return "opened";
    case RangeSituation::Called:
        return "called";
    case RangeSituation::ReRaised:
        return "re-raised";
    case RangeSituation::AllIn:
        return "all in";
    case RangeSituation::PostflopBet:
        return "post-flop bet";
    case RangeSituation::PostflopCall:
        return "post-flop call";
    case RangeSituation::PostflopCheck:
        return "post-flop check";
    }
    return "?";
}

void DiffStats::Add(double x)
{
    ++n;
    sum += x;
    sumSquares += x * x;
}

double DiffStats::Mean() const
{
    return n > 0 ? sum / n : 0.0;
}

double DiffStats::HalfWidth95() const
{
    if (n < 2)
        return 0.0;
    const double mean = Mean();
    const double variance = std::max(0.0, (sumSquares - n * mean * mean) / (n - 1));
    return 1.96 * std::sqrt(variance / n);
}

RangeCheckResult CheckRanges(const RangeCheckOptions &options)
{
    RangeCheckResult result;
    HandMeasure measure(result, options.seed, options.equityTrials);
    for (int g = 0; g < options.games; ++g) {
        RecordingDecider recorder;
        BotGameOptions game;
        game.names = DefaultBotNames(options.seats);
        game.stacks.assign(std::size_t(options.seats), kStartingStack);
        game.lastHand = options.lastHand;
        game.seed = options.seed + std::uint64_t(g);
        game.outputFolder = options.folder;
        game.decider = &recorder;
        game.onHandEnd = [&](const CDunmereGame &) {
            measure.Hand(recorder.decisions);
            recorder.decisions.clear();
        };
        RunBotGame(game);
    }
    return result;
}

std::string FormatRangeCheck(const RangeCheckResult &result)
{
    std::string out;
    char line[200];
    std::snprintf(line, sizeof line, "%d hands, %d decisions; equity points, 95 %% intervals\n",
                  result.hands, result.decisions);
    out += line;
    std::snprintf(line, sizeof line, "%-10s %-16s %6s %16s %16s %16s\n", "persona", "situation",
                  "n", "model", "uniform", "unknown-player");
    out += line;
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < kRangeSituations; ++s) {
            const RangeCheckCell &c = result.cells[p][s];
            if (c.model.n == 0)
                continue;
            std::snprintf(line, sizeof line,
                          "%-10s %-16s %6d %+7.2f ± %5.2f %+7.2f ± %5.2f %+7.2f ± %5.2f\n",
                          PersonaName(kPersonaMaster + p), RangeSituationName(RangeSituation(s)),
                          c.model.n, c.model.Mean(), c.model.HalfWidth95(), c.uniform.Mean(),
                          c.uniform.HalfWidth95(), c.unknown.Mean(), c.unknown.HalfWidth95());
            out += line;
        }
    return out;
}

} // namespace playout
