#include "pokerlib/EquityCalculator.h"
#include "pokerlib/Dealer.h"
#include "pokerlib/EquityTable.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/ExactEquity.h"
#include "pokerlib/JointHands.h"
#include "pokerlib/Rng.h"
#include "pokerlib/StoredTables.h"
#include "pokerlib/WorkPool.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace brisquel {

namespace {

using equity::Combo;
using equity::Fail;
using equity::Prepare;
using equity::Table;

// Shares counted in units of 1/2520, which every tie of up to ten players divides.
constexpr std::uint64_t kWhole = 2520;
// Ranged players' hands that clash often are listed once as joint deals when the list takes
// at most this many bytes (one or two per player and deal); each trial then draws one of them.
constexpr std::uint64_t kMaxJointBytes = 1u << 25;
// Otherwise hands are drawn player by player and redrawn on a clash, within this many redraws
// per trial of a block on average.
constexpr std::uint64_t kRedrawsPerTrial = 64;

// Counts of one thread; summed in any order they give the same totals.
struct alignas(64) Tally
{
    std::uint64_t deals = 0;
    std::uint64_t redraws = 0;
    std::array<std::uint64_t, kMaxEquityPlayers> wins{};
    std::array<std::uint64_t, kMaxEquityPlayers> ties{};
    std::array<std::uint64_t, kMaxEquityPlayers> shares{};        // in 1/kWhole
    std::array<std::uint64_t, kMaxEquityPlayers> squaredShares{}; // in 1/kWhole^2

    void Add(const Tally &o)
    {
        deals += o.deals;
        redraws += o.redraws;
        for (int p = 0; p < kMaxEquityPlayers; ++p) {
            wins[p] += o.wins[p];
            ties[p] += o.ties[p];
            shares[p] += o.shares[p];
            squaredShares[p] += o.squaredShares[p];
        }
    }
};

std::uint64_t Choose(std::uint64_t n, int k)
{
    std::uint64_t r = 1;
    for (int i = 1; i <= k; ++i)
        r = r * (n - k + i) / i;
    return r;
}

// A win alone, or a share of a k-way tie (count k).
inline void Record(int player, int count, Tally &tally)
{
    static constexpr std::uint64_t kShare[kMaxEquityPlayers] = {
        kWhole,     kWhole / 2, kWhole / 3, kWhole / 4, kWhole / 5,
        kWhole / 6, kWhole / 7, kWhole / 8, kWhole / 9, kWhole / 10};
    const std::uint64_t share = kShare[count - 1];
    (count == 1 ? tally.wins : tally.ties)[player] += 1;
    tally.shares[player] += share;
    tally.squaredShares[player] += share * share;
}

// Best value wins; a k-way tie gives each 1/k.
inline void Score(const std::uint16_t *values, int players, Tally &tally)
{
    if (players == 2) {
        // Without branches on the outcome, which is a coin flip to the predictor.
        const std::uint64_t first = values[0] > values[1], second = values[1] > values[0];
        const std::uint64_t tie = values[0] == values[1];
        constexpr std::uint64_t kHalf = kWhole / 2;
        tally.wins[0] += first;
        tally.wins[1] += second;
        tally.ties[0] += tie;
        tally.ties[1] += tie;
        tally.shares[0] += first * kWhole + tie * kHalf;
        tally.shares[1] += second * kWhole + tie * kHalf;
        tally.squaredShares[0] += first * kWhole * kWhole + tie * kHalf * kHalf;
        tally.squaredShares[1] += second * kWhole * kWhole + tie * kHalf * kHalf;
        ++tally.deals;
        return;
    }
    std::uint16_t best = 0;
    int count = 0;
    for (int p = 0; p < players; ++p) {
        if (values[p] > best) {
            best = values[p];
            count = 1;
        } else if (values[p] == best) {
            ++count;
        }
    }
    for (int p = 0; p < players; ++p)
        if (values[p] == best)
            Record(p, count, tally);
    ++tally.deals;
}

// One worker's view of a deal in progress.
struct Deal
{
    std::array<Hand, kMaxEquityPlayers> hands{};
    std::uint16_t values[kMaxEquityPlayers] = {};
};

inline void ScoreBoard(const Hand &board, int players, Deal &d, Tally &tally)
{
    for (int p = 0; p < players; ++p)
        d.values[p] = EvaluateStored(board + d.hands[p]);
    Score(d.values, players, tally);
}

std::uint64_t BlockSeed(std::uint64_t seed, std::uint64_t block)
{
    std::uint64_t x = seed ^ (block * 0xD1B54A32D192ED03ull);
    return SplitMix64(x);
}

// The table's counts and seat lists as plain local values: the dealer's stores into its own
// int array would otherwise make the compiler reload them from the table after every card.
struct Seats
{
    int missing = 0;
    int players = 0;
    int randomCount = 0, holdingCount = 0;
    int random[kMaxEquityPlayers] = {};
    int holding[kMaxEquityPlayers] = {};

    explicit Seats(const Table &t)
        : missing(t.missing)
        , players(t.players)
    {
        for (const int p : t.random)
            random[randomCount++] = p;
        for (const int p : t.holding)
            holding[holdingCount++] = p;
    }
};

// Only the first player's figures: the deal ends as soon as someone beats that player, and
// random hands are dealt one at a time until then (which leaves the deal uniform).
template <typename NextCard>
inline void ScoreFirst(const Seats &s, const EvalTables &e, const Hand &board, NextCard next,
                       const Deal &d, Tally &tally)
{
    ++tally.deals;
    const auto dealHand = [&]() {
        const int c1 = next();
        const int c2 = next();
        return e.cards[c1] + e.cards[c2];
    };
    const bool firstRandom = s.randomCount > 0 && s.random[0] == 0;
    const std::uint16_t first = EvaluateStored(board + (firstRandom ? dealHand() : d.hands[0]));
    if (s.players == 2) {
        // Heads-up without branches on the outcome, which is a coin flip to the predictor.
        const Hand other = s.holdingCount == 1 ? d.hands[s.holding[0]] : dealHand();
        const std::uint16_t v = EvaluateStored(board + other);
        const std::uint64_t win = first > v, tie = first == v;
        tally.wins[0] += win;
        tally.ties[0] += tie;
        tally.shares[0] += win * kWhole + tie * (kWhole / 2);
        tally.squaredShares[0] += win * kWhole * kWhole + tie * (kWhole / 2) * (kWhole / 2);
        return;
    }
    int count = 1;
    for (int i = 0; i < s.holdingCount; ++i) {
        const std::uint16_t v = EvaluateStored(board + d.hands[s.holding[i]]);
        if (v > first)
            return;
        count += v == first;
    }
    for (int i = firstRandom ? 1 : 0; i < s.randomCount; ++i) {
        const std::uint16_t v = EvaluateStored(board + dealHand());
        if (v > first)
            return;
        count += v == first;
    }
    Record(0, count, tally);
}

// How a trial picks the ranged players' hands: one draw among the joint picks listed, or,
// when the list would be too long, a hand per player redrawn on a clash.
struct JointPicks
{
    std::vector<std::uint8_t> bytes; // per pick, one index per ranged player (two bytes if wide)
    bool wide = false;
    std::uint32_t count = 0; // 0: not listed

    static constexpr int kProbes = 4096;

    // The share of independent draws, one hand per player, that do not clash: a probe of
    // fixed seed, so that the choice below is the same on every run.
    static int FitsOfProbes(const HandMasks &players)
    {
        std::uint64_t rng[4];
        SeedXoshiro(rng, 0x5EED);
        int fits = 0;
        for (int i = 0; i < kProbes; ++i) {
            std::uint64_t used = 0;
            bool fit = true;
            for (const auto &list : players) {
                const std::uint64_t hand = list[UniformBelow(rng, list.size())];
                fit = fit && !(hand & used);
                used |= hand;
            }
            fits += fit;
        }
        return fits;
    }

    // Lists the joint deals when the ranges clash often and the list is not too long: hands
    // that rarely clash cost fewer redraws than a list would take to make.
    bool List(const HandMasks &players)
    {
        const std::size_t ranged = players.size();
        for (const auto &list : players)
            wide = wide || list.size() > 256;
        const std::uint64_t perPick = ranged * (wide ? 2 : 1);
        const int fits = FitsOfProbes(players);
        double draws = 1; // every pick, clashing or not
        for (const auto &list : players)
            draws *= double(list.size());
        const double expected = draws * fits / kProbes;
        if (2 * fits >= kProbes || expected > 2.0 * double(kMaxJointBytes / perPick))
            return false;
        const bool complete =
            ForEachJointHand(players, kMaxJointBytes / perPick, [&](const int *p) {
                for (std::size_t r = 0; r < ranged; ++r) {
                    bytes.push_back(std::uint8_t(p[r]));
                    if (wide)
                        bytes.push_back(std::uint8_t(p[r] >> 8));
                }
            });
        if (!complete) {
            bytes = {};
            return false;
        }
        count = std::uint32_t(bytes.size() / perPick);
        return true;
    }

    std::size_t Index(std::uint32_t pick, std::size_t r, std::size_t ranged) const
    {
        if (!wide)
            return bytes[std::size_t(pick) * ranged + r];
        const std::size_t at = 2 * (std::size_t(pick) * ranged + r);
        return std::size_t(bytes[at]) | std::size_t(bytes[at + 1]) << 8;
    }
};

// Sampling: trials of one block, seeded by the block alone. False when the ranged players'
// hands clash too often. Without ranged players no card is ever excluded (kRanged false).
template <bool kFirstOnly, bool kRanged>
bool SampleBlock(const Table &t, const EvalTables &e, const JointPicks &joint, std::uint64_t seed,
                 std::uint64_t block, std::uint64_t trials, Deal &d, Tally &blockTally)
{
    // Counted apart and added at the end, for the same reason as Seats.
    Tally tally;
    const Seats s(t);
    std::uint64_t rng[4];
    SeedXoshiro(rng, BlockSeed(seed, block));
    Dealer dealer(rng, t.known);
    std::uint64_t redraws = kRedrawsPerTrial * trials + kTrialsPerBlock;
    const std::size_t ranged = t.ranged.size();
    for (std::uint64_t trial = 0; trial < trials; ++trial) {
        std::uint64_t used = 0;
        if (kRanged && joint.count) {
            const std::uint32_t pick = dealer.Below(joint.count);
            for (std::size_t r = 0; r < ranged; ++r) {
                const Combo &c = t.combos[r][joint.Index(pick, r, ranged)];
                used |= c.mask;
                d.hands[t.ranged[r]] = c.hand;
            }
        }
        while (kRanged && !joint.count) {
            used = 0;
            std::size_t r = 0;
            for (; r < ranged; ++r) {
                const auto &list = t.combos[r];
                const Combo &c =
                    list.size() == 1 ? list[0] : list[dealer.Below(std::uint32_t(list.size()))];
                if (c.mask & used)
                    break;
                used |= c.mask;
                d.hands[t.ranged[r]] = c.hand;
            }
            if (r == ranged)
                break;
            ++tally.redraws;
            if (--redraws == 0) [[unlikely]]
                return false;
        }
        const auto next = [&dealer, used]() {
            return kRanged ? dealer.DealExcept(used) : dealer.Deal();
        };
        dealer.Restart();
        Hand board = t.board;
        for (int i = 0; i < s.missing; ++i)
            board += e.cards[next()];
        if constexpr (kFirstOnly) {
            ScoreFirst(s, e, board, next, d, tally);
            continue;
        }
        for (int i = 0; i < s.randomCount; ++i) {
            const int c1 = next();
            const int c2 = next();
            d.hands[s.random[i]] = e.cards[c1] + e.cards[c2];
        }
        ScoreBoard(board, s.players, d, tally);
    }
    blockTally.Add(tally);
    return true;
}

void Summarize(const Tally &tally, int players, EquityResult &r)
{
    const double n = double(tally.deals);
    r.deals = tally.deals;
    r.redraws = tally.redraws;
    r.players.assign(std::size_t(players), PlayerEquity{});
    for (int p = 0; p < players; ++p) {
        PlayerEquity &out = r.players[std::size_t(p)];
        out.win = double(tally.wins[p]) / n;
        out.tie = double(tally.ties[p]) / n;
        out.equity = double(tally.shares[p]) / double(kWhole) / n;
        if (tally.deals > 1) {
            const double meanSquare = double(tally.squaredShares[p]) / double(kWhole * kWhole) / n;
            const double variance = std::max(0.0, meanSquare - out.equity * out.equity);
            out.stdError = std::sqrt(variance / (n - 1));
        }
    }
}

HandMasks RangedMasks(const Table &t)
{
    HandMasks masks;
    for (const auto &list : t.combos) {
        masks.emplace_back();
        for (const Combo &c : list)
            masks.back().push_back(c.mask);
    }
    return masks;
}

ExactJob MakeExactJob(const Table &t)
{
    ExactJob job;
    job.players = t.players;
    job.board = t.boardCards;
    job.boardCards = 5 - t.missing;
    job.dead = t.deadCards;
    job.hands = t.fixedMasks;
    job.rangedSeats = t.ranged;
    job.ranged = RangedMasks(t);
    return job;
}

void SummarizeExact(const ExactCount &count, int players, EquityResult &r)
{
    static constexpr std::uint64_t kShare[kMaxEquityPlayers + 1] = {
        0,          kWhole,     kWhole / 2, kWhole / 3, kWhole / 4, kWhole / 5,
        kWhole / 6, kWhole / 7, kWhole / 8, kWhole / 9, kWhole / 10};
    std::array<std::uint64_t, kMaxEquityPlayers> wins{}, ties{}, shares{};
    for (unsigned winners = 1; winners < count.byWinners.size(); ++winners) {
        const std::uint64_t deals = count.byWinners[winners];
        const int k = std::popcount(winners);
        for (int p = 0; p < players; ++p) {
            if (!(winners >> p & 1))
                continue;
            (k == 1 ? wins : ties)[std::size_t(p)] += deals;
            shares[std::size_t(p)] += deals * kShare[k];
        }
    }
    const double n = double(count.deals);
    r.deals = count.deals;
    r.showdowns = count.showdowns;
    r.players.assign(std::size_t(players), PlayerEquity{});
    for (std::size_t p = 0; p < std::size_t(players); ++p) {
        r.players[p].win = double(wins[p]) / n;
        r.players[p].tie = double(ties[p]) / n;
        r.players[p].equity = double(shares[p]) / double(kWhole) / n;
    }
}

const char kCannotDeal[] = "the players' hands cannot all be dealt at once";

bool CountExact(const EquitySetup &setup, const Table &t, Fit fit, EquityResult &r)
{
    ExactCounter counter(MakeExactJob(t));
    const std::uint64_t work =
        counter.Plan(kMaxExactShowdowns, setup.progress, ExactCounter::PlanFor::kCount);
    if (counter.Stopped())
        return Fail(r, "the calculation was stopped");
    if (work > kMaxExactShowdowns)
        return Fail(r, "exact counting would evaluate more than " +
                           std::to_string(kMaxExactShowdowns) + " showdowns");
    if (work == 0) // the search for a first deal gave up where the fit search had too
        return Fail(r, fit == Fit::kUnknown ? "the players' ranges are too tangled to count "
                                              "exactly"
                                            : kCannotDeal);
    ExactCount count;
    const RunEnd end = counter.Run(setup.threads, setup.progress, count);
    if (end != RunEnd::kDone)
        return Fail(r, "the calculation was stopped");
    r.threads = count.threads;
    SummarizeExact(count, t.players, r);
    return true;
}

} // namespace

std::uint64_t CountExactDeals(const EquitySetup &setup, std::uint64_t limit)
{
    Table t;
    EquityResult unused;
    if (!Prepare(setup, true, t, unused))
        return 0;
    const std::uint64_t rest = t.deck.size() - 2 * t.ranged.size();
    const std::uint64_t boards = Choose(rest, t.missing);
    std::uint64_t hands = 0;
    if (!ForEachJointHand(RangedMasks(t), limit / boards, [&hands](const int *) { ++hands; }))
        return limit + 1;
    return hands * boards;
}

std::uint64_t CountExactShowdowns(const EquitySetup &setup, std::uint64_t limit)
{
    Table t;
    EquityResult unused;
    if (!Prepare(setup, true, t, unused))
        return 0;
    ExactCounter counter(MakeExactJob(t));
    return counter.Plan(limit, setup.progress);
}

EquityResult CalculateEquity(const EquitySetup &setup)
{
    EquityResult r;
    Table t;
    if (!Prepare(setup, setup.exact, t, r))
        return r;
    const Fit fit = t.ranged.empty() ? Fit::kFits : CanDealTogether(RangedMasks(t));
    if (fit == Fit::kCannot) {
        Fail(r, kCannotDeal);
        return r;
    }
    if (setup.exact) {
        if (CountExact(setup, t, fit, r)) {
            r.ok = true;
            r.exact = true;
        }
        return r;
    }
    if (setup.trials == 0) {
        Fail(r, "sampling needs at least one trial");
        return r;
    }
    JointPicks joint;
    if (!t.ranged.empty())
        joint.List(RangedMasks(t));
    const EvalTables &e = Tables();
    Deal start;
    start.hands = t.fixedHands;
    const std::uint64_t blocks = (setup.trials + kTrialsPerBlock - 1) / kTrialsPerBlock;
    r.threads = ThreadCount(setup.threads, blocks);
    std::vector<std::pair<Deal, Tally>> states(std::size_t(r.threads), {start, Tally{}});
    const RunEnd end = RunUnits(
        blocks, states, setup.progress, [&](std::uint64_t block, std::pair<Deal, Tally> &state) {
            const std::uint64_t trials =
                std::min(kTrialsPerBlock, setup.trials - block * kTrialsPerBlock);
            const auto sample =
                t.ranged.empty()
                    ? (setup.firstPlayerOnly ? SampleBlock<true, false> : SampleBlock<false, false>)
                    : (setup.firstPlayerOnly ? SampleBlock<true, true> : SampleBlock<false, true>);
            return sample(t, e, joint, setup.seed, block, trials, state.first, state.second);
        });
    if (end != RunEnd::kDone) {
        Fail(r, end == RunEnd::kStopped ? "the calculation was stopped"
                                        : "the players' ranges almost never fit together");
        return r;
    }
    Tally total;
    for (const auto &state : states)
        total.Add(state.second);
    r.ok = true;
    Summarize(total, setup.firstPlayerOnly ? 1 : t.players, r);
    return r;
}

} // namespace brisquel
