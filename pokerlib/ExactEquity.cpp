#include "pokerlib/ExactEquity.h"
#include "pokerlib/StoredTables.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

namespace brisquel {

namespace {

constexpr int kSuits = 4;
constexpr int kRanks = 13;
constexpr std::uint64_t kRankBits = (1u << kRanks) - 1;
// Joint picks of the ranged players' hands looked at while planning, at most.
constexpr std::uint64_t kMaxPicks = 4'000'000;
// Rank patterns of one unit of work at most; a hand against a hand before the flop has 6,175.
constexpr std::size_t kSetsPerUnit = 128;
// Units of work per thread at least, so that the threads finish close together.
constexpr std::uint64_t kUnitsPerThread = 16;
// Jobs of up to this many layouts count the costliest layouts first.
constexpr std::size_t kOrderedLayouts = 4096;

// n choose m for n, m <= 4 (the cards of one rank).
constexpr std::uint64_t kChoose[5][5] = {
    {1, 0, 0, 0, 0}, {1, 1, 0, 0, 0}, {1, 2, 1, 0, 0}, {1, 3, 3, 1, 0}, {1, 4, 6, 4, 1}};

// Bits set in a five-bit mask, without the library call that std::popcount becomes on CPUs
// that the build does not assume to count bits.
constexpr std::uint8_t kBitsOf5[32] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                       1, 2, 2, 3, 2, 3, 3, 4, 2, 3, 3, 4, 3, 4, 4, 5};

// A multiset of ranks for the board cards to come.
struct RankSet
{
    std::uint32_t key = 0; // sum of the ranks' keys
    int distinct = 0;
    std::uint8_t ranks[5] = {};
    std::uint8_t counts[5] = {};
};

void CollectSets(int from, int left, RankSet &set, std::vector<RankSet> &out)
{
    if (left == 0) {
        out.push_back(set);
        return;
    }
    for (int r = from; r < kRanks; ++r) {
        const int i = set.distinct;
        set.ranks[i] = std::uint8_t(r);
        ++set.distinct;
        for (int c = 1; c <= std::min(4, left); ++c) {
            set.counts[i] = std::uint8_t(c);
            set.key += EvalTables::kRankKeys[r];
            CollectSets(r + 1, left - c, set, out);
        }
        set.key -= std::uint32_t(std::min(4, left)) * EvalTables::kRankKeys[r];
        set.counts[i] = 0;
        --set.distinct;
    }
}

const std::vector<RankSet> &RankSets(int cards)
{
    static const std::array<std::vector<RankSet>, 6> sets = [] {
        std::array<std::vector<RankSet>, 6> all;
        for (int k = 0; k <= 5; ++k) {
            RankSet set;
            CollectSets(0, k, set, all[std::size_t(k)]);
        }
        return all;
    }();
    return sets[std::size_t(cards)];
}

// The flush showdowns of one suit that needs `need` of the new cards, summed over the first i
// rank patterns (as if every rank of a pattern could come in that suit): [need][i].
using FlushPrefix = std::array<std::vector<std::uint32_t>, 6>;

const FlushPrefix &FlushShowdowns(int cards)
{
    static const std::array<FlushPrefix, 6> prefixes = [] {
        // Subsets of d distinct ranks with at least `need` of them.
        std::uint32_t atLeast[6][6] = {};
        for (int d = 0; d <= 5; ++d)
            for (int sub = 0; sub < 1 << d; ++sub)
                for (int need = 0; need <= std::popcount(unsigned(sub)); ++need)
                    ++atLeast[d][need];
        std::array<FlushPrefix, 6> all;
        for (int k = 0; k <= 5; ++k) {
            const auto &sets = RankSets(k);
            for (int need = 0; need <= 5; ++need) {
                auto &prefix = all[std::size_t(k)][std::size_t(need)];
                prefix.assign(sets.size() + 1, 0);
                for (std::size_t i = 0; i < sets.size(); ++i)
                    prefix[i + 1] = prefix[i] + atLeast[sets[i].distinct][need];
            }
        }
        return all;
    }();
    return prefixes[std::size_t(cards)];
}

// A layout turned into what the board count needs.
struct Prepared
{
    int players = 0;
    int missing = 0;
    std::uint32_t keys[kMaxEquityPlayers] = {};              // ranks of hole and board cards
    std::uint16_t suitRanks[kMaxEquityPlayers][kSuits] = {}; // the same, per suit
    std::uint8_t suitCounts[kMaxEquityPlayers][kSuits] = {};
    std::uint8_t avail[kRanks] = {};      // free cards per rank
    std::uint8_t availSuits[kRanks] = {}; // their suits
    int need[kSuits] = {};                // new cards of a suit that may flush
    int flushSuits[kSuits] = {};
    int flushSuitCount = 0;
};

std::uint16_t SuitRanks(std::uint64_t cards, int suit)
{
    return std::uint16_t((cards >> (kRanks * suit)) & kRankBits);
}

std::uint32_t RankKeys(std::uint64_t cards)
{
    std::uint32_t key = 0;
    for (; cards; cards &= cards - 1)
        key += EvalTables::kRankKeys[std::countr_zero(cards) % kRanks];
    return key;
}

Prepared Prepare(const ExactJob &job, const std::array<std::uint64_t, kMaxEquityPlayers> &hands)
{
    Prepared p;
    p.players = job.players;
    p.missing = 5 - job.boardCards;
    std::uint64_t known = job.board | job.dead;
    for (int i = 0; i < job.players; ++i)
        known |= hands[std::size_t(i)];
    for (int r = 0; r < kRanks; ++r)
        for (int s = 0; s < kSuits; ++s)
            if (!(known >> (kRanks * s + r) & 1)) {
                ++p.avail[r];
                p.availSuits[r] |= std::uint8_t(1 << s);
            }
    int mostHeld[kSuits] = {};
    for (int i = 0; i < job.players; ++i) {
        const std::uint64_t hand = hands[std::size_t(i)];
        p.keys[i] = RankKeys(hand | job.board);
        for (int s = 0; s < kSuits; ++s) {
            mostHeld[s] = std::max(mostHeld[s], std::popcount(SuitRanks(hand, s)));
            p.suitRanks[i][s] = SuitRanks(hand | job.board, s);
            p.suitCounts[i][s] = std::uint8_t(std::popcount(p.suitRanks[i][s]));
        }
    }
    for (int s = 0; s < kSuits; ++s) {
        // A flush takes five cards of the suit, at least three of them on the board.
        const int onBoard = std::popcount(SuitRanks(job.board, s));
        p.need[s] = std::max({5 - onBoard - mostHeld[s], 3 - onBoard, 0});
        if (p.need[s] <= p.missing)
            p.flushSuits[p.flushSuitCount++] = s;
    }
    return p;
}

// About the showdowns of a layout over the first i rank patterns.
std::uint64_t CostBefore(const Prepared &p, const FlushPrefix &flush, std::size_t i)
{
    std::uint64_t cost = i;
    for (int f = 0; f < p.flushSuitCount; ++f)
        cost += flush[std::size_t(p.need[p.flushSuits[f]])][i];
    return cost;
}

// Where `chunks` runs of the rank patterns, of about equal cost and one pattern at least,
// begin; then the end. chunks is at most sets.
std::vector<std::size_t> SplitSets(const Prepared &p, const FlushPrefix &flush, std::size_t sets,
                                   std::size_t chunks)
{
    std::vector<std::size_t> bounds{0};
    const std::uint64_t total = CostBefore(p, flush, sets);
    for (std::size_t k = 1; k < chunks; ++k) {
        const std::uint64_t target = total * k / chunks;
        std::size_t lo = bounds.back() + 1, hi = sets - (chunks - k);
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (CostBefore(p, flush, mid) < target)
                lo = mid + 1;
            else
                hi = mid;
        }
        bounds.push_back(lo);
    }
    bounds.push_back(sets);
    return bounds;
}

// One thread's counts, a cache line apart from the next thread's: they change every showdown.
struct alignas(64) Counts
{
    std::array<std::uint64_t, std::size_t(1) << kMaxEquityPlayers> byWinners{};
    std::uint64_t deals = 0, showdowns = 0;
};

inline void Record(const std::uint16_t *values, int players, std::uint64_t weight, Counts &c)
{
    std::uint16_t best = 0;
    unsigned winners = 0;
    for (int i = 0; i < players; ++i) {
        if (values[i] > best) {
            best = values[i];
            winners = 1u << i;
        } else if (values[i] == best) {
            winners |= 1u << i;
        }
    }
    c.byWinners[winners] += weight;
    c.deals += weight;
    ++c.showdowns;
}

// Every board of the given rank patterns for one layout, each deal weighted by `members`.
template <bool kCountOnly>
void CountSets(const Prepared &p, const RankSet *begin, const RankSet *end, std::uint64_t members,
               Counts &c)
{
    std::uint16_t plain[kMaxEquityPlayers], values[kMaxEquityPlayers];
    for (const RankSet *set = begin; set != end; ++set) {
        std::uint64_t total = 1;
        for (int i = 0; i < set->distinct; ++i)
            total *= kChoose[p.avail[set->ranks[i]]][set->counts[i]];
        if (total == 0)
            continue;
        if constexpr (!kCountOnly)
            for (int i = 0; i < p.players; ++i)
                plain[i] = StoredRankValue(p.keys[i] + set->key);
        std::uint64_t flushing = 0;
        for (int f = 0; f < p.flushSuitCount; ++f) {
            const int s = p.flushSuits[f];
            unsigned open = 0; // the pattern's ranks that may come in suit s
            for (int i = 0; i < set->distinct; ++i)
                open |= unsigned(p.availSuits[set->ranks[i]] >> s & 1) << i;
            if (kBitsOf5[open] < p.need[s])
                continue;
            // Each subset of them is one way for suit s to hold `n` of the new cards.
            for (unsigned sub = open;; sub = (sub - 1) & open) {
                const int n = kBitsOf5[sub];
                if (n >= p.need[s]) {
                    std::uint64_t weight = 1;
                    std::uint16_t ranks = 0;
                    for (int i = 0; i < set->distinct; ++i) {
                        const int r = set->ranks[i];
                        if (sub >> i & 1) {
                            weight *= kChoose[p.avail[r] - 1][set->counts[i] - 1];
                            ranks |= std::uint16_t(1u << r);
                        } else {
                            weight *=
                                kChoose[p.avail[r] - (p.availSuits[r] >> s & 1)][set->counts[i]];
                        }
                    }
                    if (weight) {
                        flushing += weight;
                        if constexpr (kCountOnly) {
                            ++c.showdowns;
                        } else {
                            for (int i = 0; i < p.players; ++i)
                                values[i] = p.suitCounts[i][s] + n >= 5
                                                ? stored::kFlushValues[p.suitRanks[i][s] | ranks]
                                                : plain[i];
                            Record(values, p.players, weight * members, c);
                        }
                    }
                }
                if (sub == 0)
                    break;
            }
        }
        if (total > flushing) {
            if constexpr (kCountOnly)
                ++c.showdowns;
            else
                Record(plain, p.players, (total - flushing) * members, c);
        }
    }
}

using Perm = std::array<int, kSuits>;

std::uint64_t Permute(std::uint64_t cards, const Perm &to)
{
    std::uint64_t out = 0;
    for (int s = 0; s < kSuits; ++s)
        out |= ((cards >> (kRanks * s)) & kRankBits) << (kRanks * to[std::size_t(s)]);
    return out;
}

// The relabellings of suits that leave the board, the dead cards and the known hands alone.
std::vector<Perm> Symmetries(const ExactJob &job)
{
    std::vector<Perm> out;
    Perm to = {0, 1, 2, 3};
    do {
        bool keeps = Permute(job.board, to) == job.board && Permute(job.dead, to) == job.dead;
        for (int i = 0; i < job.players && keeps; ++i)
            keeps = Permute(job.hands[std::size_t(i)], to) == job.hands[std::size_t(i)];
        if (keeps)
            out.push_back(to);
    } while (std::next_permutation(to.begin(), to.end()));
    return out;
}

using LayoutKey = std::array<std::uint64_t, kMaxEquityPlayers>;

struct KeyHash
{
    std::size_t operator()(const LayoutKey &k) const
    {
        std::uint64_t h = 0;
        for (const std::uint64_t v : k)
            h = (h ^ v) * 0x9E3779B97F4A7C15ull;
        return std::size_t(h ^ (h >> 29));
    }
};

} // namespace

ExactCounter::ExactCounter(ExactJob job)
    : m_job(std::move(job))
{}

std::uint64_t ExactCounter::Plan(std::uint64_t limit, const std::function<bool(double)> &progress,
                                 PlanFor purpose)
{
    m_layouts.clear();
    m_stopped = false;
    const std::size_t ranged = m_job.rangedSeats.size();
    const auto handsOf = [&](const int *picks) {
        Layout layout;
        layout.hands = m_job.hands;
        for (std::size_t r = 0; r < ranged; ++r)
            layout.hands[std::size_t(m_job.rangedSeats[r])] =
                m_job.ranged[r][std::size_t(picks[r])];
        return layout;
    };
    const auto &sets = RankSets(5 - m_job.boardCards);
    if (ranged == 0) { // one layout, always within any sensible limit: no dry run
        m_layouts.push_back({m_job.hands, 1});
        return sets.size();
    }
    // One layout's showdowns stand for every layout's: they differ little.
    Layout first;
    bool any = false;
    ForEachJointHand(m_job.ranged, 1, [&](const int *picks) {
        first = handsOf(picks);
        any = true;
    });
    if (!any)
        return 0;
    const Prepared prepared = Prepare(m_job, first.hands);
    const auto dryRun = [&] {
        Counts dry;
        CountSets<true>(prepared, sets.data(), sets.data() + sets.size(), 1, dry);
        return std::max<std::uint64_t>(dry.showdowns, 1);
    };
    // Counting only needs to know that the work is within the limit. The dry run that gives
    // the figure takes as long as counting a layout, and on one thread, so the costs of the
    // rank patterns, never below the showdowns, are tried first.
    if (purpose == PlanFor::kCount) {
        const std::uint64_t bound = std::max<std::uint64_t>(
            CostBefore(prepared, FlushShowdowns(5 - m_job.boardCards), sets.size()), 1);
        const std::uint64_t work = FindLayouts(limit, bound, progress);
        if (work <= limit || m_stopped)
            return work;
    }
    return FindLayouts(limit, dryRun(), progress);
}

std::uint64_t ExactCounter::FindLayouts(std::uint64_t limit, std::uint64_t perLayout,
                                        const std::function<bool(double)> &progress)
{
    m_layouts.clear();
    const std::size_t ranged = m_job.rangedSeats.size();
    const std::uint64_t maxLayouts = limit / perLayout;
    if (maxLayouts == 0)
        return limit + 1;

    const std::vector<Perm> symmetries = Symmetries(m_job);
    const std::uint64_t maxPicks =
        std::min<std::uint64_t>(kMaxPicks, maxLayouts * symmetries.size());
    std::unordered_map<LayoutKey, std::size_t, KeyHash> index;
    bool tooMany = false;
    std::uint64_t seen = 0;
    constexpr std::uint64_t kPicksPerQuestion = 1 << 16;
    const bool complete = ForEachJointHand(m_job.ranged, maxPicks, [&](const int *picks) {
        if (tooMany)
            return;
        if (++seen % kPicksPerQuestion == 0 && progress && !progress(0)) {
            m_stopped = tooMany = true;
            return;
        }
        // The smallest image under the symmetries names the class.
        LayoutKey best{};
        best.fill(~0ull);
        for (const Perm &to : symmetries) {
            LayoutKey key{};
            for (std::size_t r = 0; r < ranged; ++r)
                key[r] = Permute(m_job.ranged[r][std::size_t(picks[r])], to);
            best = std::min(best, key);
        }
        const auto [it, added] = index.try_emplace(best, m_layouts.size());
        if (added) {
            Layout layout;
            layout.hands = m_job.hands;
            for (std::size_t r = 0; r < ranged; ++r)
                layout.hands[std::size_t(m_job.rangedSeats[r])] = best[r];
            m_layouts.push_back(layout);
            tooMany = m_layouts.size() > maxLayouts;
        }
        ++m_layouts[it->second].members;
    });
    if (!complete || tooMany) {
        m_layouts.clear();
        return limit + 1;
    }
    return m_layouts.size() * perLayout;
}

RunEnd ExactCounter::Run(int threads, const std::function<bool(double)> &progress, ExactCount &out)
{
    const int missing = 5 - m_job.boardCards;
    const auto &sets = RankSets(missing);
    const FlushPrefix &flush = FlushShowdowns(missing);
    const std::size_t layouts = m_layouts.size();
    // Units of about equal cost, enough of them for every thread to get many: the split
    // changes with the thread count, the integer counts summed do not.
    const std::uint64_t wanted = std::uint64_t(ThreadCount(threads, layouts * sets.size()));
    std::size_t chunks = 1;
    std::vector<std::size_t> bounds{0, sets.size()};
    std::vector<std::uint32_t> order; // the layouts, costliest first, when there are few
    if (layouts > 0) {
        chunks = std::size_t(
            std::max<std::uint64_t>((sets.size() + kSetsPerUnit - 1) / kSetsPerUnit,
                                    (kUnitsPerThread * wanted + layouts - 1) / layouts));
        chunks = std::min(chunks, sets.size());
        bounds = SplitSets(Prepare(m_job, m_layouts[0].hands), flush, sets.size(), chunks);
    }
    if (layouts > 1 && layouts <= kOrderedLayouts) {
        std::vector<std::pair<std::uint64_t, std::uint32_t>> costs(layouts);
        for (std::size_t i = 0; i < layouts; ++i)
            costs[i] = {~CostBefore(Prepare(m_job, m_layouts[i].hands), flush, sets.size()),
                        std::uint32_t(i)};
        std::sort(costs.begin(), costs.end());
        for (const auto &cost : costs)
            order.push_back(cost.second);
    }
    const std::uint64_t units = layouts * chunks;
    std::vector<Counts> states(std::size_t(ThreadCount(threads, units)));
    const RunEnd end = RunUnits(units, states, progress, [&](std::uint64_t unit, Counts &c) {
        const std::size_t index = std::size_t(unit / chunks);
        const Layout &layout = m_layouts[order.empty() ? index : order[index]];
        const std::size_t chunk = std::size_t(unit % chunks);
        CountSets<false>(Prepare(m_job, layout.hands), sets.data() + bounds[chunk],
                         sets.data() + bounds[chunk + 1], layout.members, c);
        return true;
    });
    out.byWinners.assign(std::size_t(1) << m_job.players, 0);
    out.threads = int(states.size());
    for (const Counts &c : states) {
        for (std::size_t w = 0; w < out.byWinners.size(); ++w)
            out.byWinners[w] += c.byWinners[w];
        out.deals += c.deals;
        out.showdowns += c.showdowns;
    }
    return end;
}

} // namespace brisquel
