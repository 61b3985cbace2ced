#include "pokerlib/EquityCalculator.h"
#include "pokerlib/Dealer.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/Rng.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

namespace brisquel {

namespace {

// Shares counted in units of 1/2520, which every tie of up to ten players divides.
constexpr std::uint64_t kWhole = 2520;
// Draws of the ranges' hands that may collide in a row before sampling gives up.
constexpr int kMaxRedraws = 1'000'000;

struct Combo
{
    std::uint64_t mask; // its two cards
    Hand hand;
};

// Counts of one thread; summed in any order they give the same totals.
struct alignas(64) Tally
{
    std::uint64_t deals = 0;
    std::array<std::uint64_t, kMaxEquityPlayers> wins{};
    std::array<std::uint64_t, kMaxEquityPlayers> ties{};
    std::array<std::uint64_t, kMaxEquityPlayers> shares{};        // in 1/kWhole
    std::array<std::uint64_t, kMaxEquityPlayers> squaredShares{}; // in 1/kWhole^2

    void Add(const Tally &o)
    {
        deals += o.deals;
        for (int p = 0; p < kMaxEquityPlayers; ++p) {
            wins[p] += o.wins[p];
            ties[p] += o.ties[p];
            shares[p] += o.shares[p];
            squaredShares[p] += o.squaredShares[p];
        }
    }
};

// The setup checked and turned into card sums. Players with one possible hand are fixed,
// players with several are ranged, the others random (ranged over every hand when exact).
struct Table
{
    int players = 0;
    std::uint64_t known = 0; // board and fixed hands
    Hand board;
    int missing = 0;       // board cards to come
    std::vector<int> deck; // cards not known, ascending
    std::array<Hand, kMaxEquityPlayers> fixedHands{};
    std::vector<int> fixed, random;
    std::vector<int> ranged;                // seats
    std::vector<std::vector<Combo>> combos; // per ranged seat, those that miss the known cards
    std::vector<int> holding;               // fixed and ranged seats but the first
};

bool Fail(EquityResult &r, const std::string &message)
{
    r.ok = false;
    r.error = message;
    return false;
}

bool Prepare(const EquitySetup &s, bool exact, Table &t, EquityResult &r)
{
    const EvalTables &tables = Tables();
    t.players = int(s.players.size());
    if (t.players < 2 || t.players > kMaxEquityPlayers)
        return Fail(r, "equity needs 2 to 10 players");
    const auto n = s.board.size();
    if (n != 0 && n != 3 && n != 4 && n != 5)
        return Fail(r, "the board holds 0, 3, 4 or 5 cards");
    const auto valid = [](int c) { return c >= 0 && c < 52; };
    for (const int c : s.board) {
        if (!valid(c) || (t.known >> c & 1))
            return Fail(r, "a board card is not a card or is repeated");
        t.known |= 1ull << c;
        t.board += tables.cards[c];
    }
    t.missing = 5 - int(n);
    // Known hands first, so that every range can drop what they hold.
    for (int p = 0; p < t.players; ++p) {
        const ComboList &list = s.players[p].combos;
        if (list.size() != 1)
            continue;
        const auto [a, b] = list[0];
        if (!valid(a) || !valid(b) || a == b || (t.known >> a & 1) || (t.known >> b & 1))
            return Fail(r, "player " + std::to_string(p + 1) + "'s hand clashes with known cards");
        t.known |= (1ull << a) | (1ull << b);
        t.fixedHands[p] = tables.cards[a] + tables.cards[b];
        t.fixed.push_back(p);
    }
    for (int c = 0; c < 52; ++c)
        if (!(t.known >> c & 1))
            t.deck.push_back(c);
    for (int p = 0; p < t.players; ++p) {
        ComboList list = s.players[p].combos;
        if (list.size() == 1)
            continue;
        if (list.empty()) {
            if (!exact) {
                t.random.push_back(p);
                continue;
            }
            for (std::size_t i = 0; i < t.deck.size(); ++i)
                for (std::size_t j = i + 1; j < t.deck.size(); ++j)
                    list.emplace_back(t.deck[j], t.deck[i]);
        }
        std::vector<Combo> live;
        std::uint64_t seen[52] = {};
        for (const auto &[a, b] : list) {
            if (!valid(a) || !valid(b) || a == b)
                return Fail(r, "player " + std::to_string(p + 1) + "'s range holds a bad card");
            const int hi = std::max(a, b), lo = std::min(a, b);
            const std::uint64_t mask = (1ull << hi) | (1ull << lo);
            if ((mask & t.known) || (seen[hi] >> lo & 1))
                continue;
            seen[hi] |= 1ull << lo;
            live.push_back({mask, tables.cards[hi] + tables.cards[lo]});
        }
        if (live.empty())
            return Fail(r, "every hand of player " + std::to_string(p + 1) +
                               "'s range clashes with known cards");
        t.ranged.push_back(p);
        t.combos.push_back(std::move(live));
    }
    for (int p = 1; p < t.players; ++p)
        if (std::find(t.random.begin(), t.random.end(), p) == t.random.end())
            t.holding.push_back(p);
    return true;
}

// Combinations of the ranged players' hands that share no card, from ranged seat `level` on,
// counted up to limit + 1.
std::uint64_t CountHands(const Table &t, std::size_t level, std::uint64_t used, std::uint64_t limit)
{
    if (level == t.ranged.size())
        return 1;
    std::uint64_t count = 0;
    if (level + 1 == t.ranged.size()) { // the last player's hands without a call each
        for (const Combo &c : t.combos[level])
            count += !(c.mask & used);
        return std::min(count, limit + 1);
    }
    for (const Combo &c : t.combos[level]) {
        if (c.mask & used)
            continue;
        count += CountHands(t, level + 1, used | c.mask, limit - std::min(count, limit));
        if (count > limit)
            return limit + 1;
    }
    return count;
}

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

inline void ScoreBoard(const EvalTables &e, const Hand &board, int players, Deal &d, Tally &tally)
{
    for (int p = 0; p < players; ++p)
        d.values[p] = Evaluate(e, board + d.hands[p]);
    Score(d.values, players, tally);
}

// Exact counting: every board whose lowest new card is at deck index >= from.
void CountBoards(const Table &t, const EvalTables &e, std::size_t from, int left, const Hand &board,
                 std::uint64_t used, Deal &d, Tally &tally)
{
    if (left == 0) {
        ScoreBoard(e, board, t.players, d, tally);
        return;
    }
    if (left == 1) { // the last card without a call per board
        for (std::size_t j = from; j < t.deck.size(); ++j)
            if (!(used >> t.deck[j] & 1))
                ScoreBoard(e, board + e.cards[t.deck[j]], t.players, d, tally);
        return;
    }
    for (std::size_t j = from; j + left <= t.deck.size(); ++j) {
        const int card = t.deck[j];
        if (!(used >> card & 1))
            CountBoards(t, e, j + 1, left - 1, board + e.cards[card], used, d, tally);
    }
}

// Exact counting: the ranged players from `level` on, then the boards.
void CountRanged(const Table &t, const EvalTables &e, std::size_t level, std::size_t boardFrom,
                 const Hand &board, std::uint64_t used, int boardLeft, Deal &d, Tally &tally)
{
    if (level == t.ranged.size()) {
        CountBoards(t, e, boardFrom, boardLeft, board, used, d, tally);
        return;
    }
    for (const Combo &c : t.combos[level]) {
        if (c.mask & used)
            continue;
        d.hands[t.ranged[level]] = c.hand;
        CountRanged(t, e, level + 1, boardFrom, board, used | c.mask, boardLeft, d, tally);
    }
}

// A unit of exact work: one hand of the first ranged player and the board's lowest new card.
struct ExactWork
{
    std::uint64_t firstHands = 1; // hands of the first ranged player, 1 if none
    std::uint64_t firstCards = 1; // deck positions of the lowest board card, 1 if none to come

    std::uint64_t Units() const { return firstHands * firstCards; }
};

void CountUnit(const Table &t, const EvalTables &e, const ExactWork &w, std::uint64_t unit, Deal &d,
               Tally &tally)
{
    std::uint64_t used = 0;
    std::size_t level = 0;
    if (!t.ranged.empty()) {
        const Combo &c = t.combos[0][unit / w.firstCards];
        d.hands[t.ranged[0]] = c.hand;
        used = c.mask;
        level = 1;
    }
    Hand board = t.board;
    std::size_t boardFrom = 0;
    int left = t.missing;
    if (t.missing > 0) {
        const std::size_t j = unit % w.firstCards;
        const int card = t.deck[j];
        if (used >> card & 1)
            return;
        board += e.cards[card];
        used |= 1ull << card;
        boardFrom = j + 1;
        --left;
    }
    CountRanged(t, e, level, boardFrom, board, used, left, d, tally);
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
    const std::uint16_t first = Evaluate(e, board + (firstRandom ? dealHand() : d.hands[0]));
    if (s.players == 2) {
        // Heads-up without branches on the outcome, which is a coin flip to the predictor.
        const Hand other = s.holdingCount == 1 ? d.hands[s.holding[0]] : dealHand();
        const std::uint16_t v = Evaluate(e, board + other);
        const std::uint64_t win = first > v, tie = first == v;
        tally.wins[0] += win;
        tally.ties[0] += tie;
        tally.shares[0] += win * kWhole + tie * (kWhole / 2);
        tally.squaredShares[0] += win * kWhole * kWhole + tie * (kWhole / 2) * (kWhole / 2);
        return;
    }
    int count = 1;
    for (int i = 0; i < s.holdingCount; ++i) {
        const std::uint16_t v = Evaluate(e, board + d.hands[s.holding[i]]);
        if (v > first)
            return;
        count += v == first;
    }
    for (int i = firstRandom ? 1 : 0; i < s.randomCount; ++i) {
        const std::uint16_t v = Evaluate(e, board + dealHand());
        if (v > first)
            return;
        count += v == first;
    }
    Record(0, count, tally);
}

// Sampling: trials of one block, seeded by the block alone. False when the ranges would not
// fit together. Without ranged players no card is ever excluded (kRanged false).
template <bool kFirstOnly, bool kRanged>
bool SampleBlock(const Table &t, const EvalTables &e, std::uint64_t seed, std::uint64_t block,
                 std::uint64_t trials, Deal &d, Tally &blockTally)
{
    // Counted apart and added at the end, for the same reason as Seats.
    Tally tally;
    const Seats s(t);
    std::uint64_t rng[4];
    SeedXoshiro(rng, BlockSeed(seed, block));
    Dealer dealer(rng, t.known);
    for (std::uint64_t trial = 0; trial < trials; ++trial) {
        std::uint64_t used = 0;
        for (int redraws = 0; kRanged; ++redraws) {
            if (redraws == kMaxRedraws) [[unlikely]]
                return false;
            used = 0;
            std::size_t r = 0;
            for (; r < t.ranged.size(); ++r) {
                const auto &list = t.combos[r];
                const Combo &c =
                    list.size() == 1 ? list[0] : list[dealer.Below(std::uint32_t(list.size()))];
                if (c.mask & used)
                    break;
                used |= c.mask;
                d.hands[t.ranged[r]] = c.hand;
            }
            if (r == t.ranged.size())
                break;
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
        ScoreBoard(e, board, s.players, d, tally);
    }
    blockTally.Add(tally);
    return true;
}

int ThreadCount(int requested, std::uint64_t units)
{
    int threads = requested > 0 ? requested : int(std::thread::hardware_concurrency());
    threads = std::max(threads, 1);
    return int(std::min<std::uint64_t>(std::uint64_t(threads), std::max<std::uint64_t>(units, 1)));
}

enum class RunEnd
{
    kDone,
    kStopped,
    kFailed
};

// Runs work(unit, deal, tally) for every unit on `threads` threads, the units handed out in
// order as threads come free; a unit that returns false ends the run.
template <typename Work>
RunEnd RunUnits(std::uint64_t units, int threads, const std::function<bool(double)> &progress,
                const Deal &start, Work work, Tally &total)
{
    std::atomic<std::uint64_t> next{0};
    std::atomic<bool> stop{false}, failed{false};
    std::mutex progressLock; // one progress call at a time
    std::vector<Tally> tallies(static_cast<std::size_t>(threads));
    const auto run = [&](Tally &tally) {
        Deal deal = start;
        for (;;) {
            const std::uint64_t unit = next.fetch_add(1, std::memory_order_relaxed);
            if (unit >= units || stop.load(std::memory_order_relaxed))
                return;
            if (!work(unit, deal, tally)) {
                failed = true;
                stop = true;
                return;
            }
            if (progress) {
                std::lock_guard lock(progressLock);
                if (!progress(double(unit + 1) / double(units)))
                    stop = true;
            }
        }
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i)
        pool.emplace_back(run, std::ref(tallies[std::size_t(i)]));
    run(tallies[0]);
    for (auto &thread : pool)
        thread.join();
    for (const Tally &tally : tallies)
        total.Add(tally);
    return failed ? RunEnd::kFailed : stop ? RunEnd::kStopped : RunEnd::kDone;
}

void Summarize(const Tally &tally, int players, bool exact, EquityResult &r)
{
    const double n = double(tally.deals);
    r.deals = tally.deals;
    r.players.assign(std::size_t(players), PlayerEquity{});
    for (int p = 0; p < players; ++p) {
        PlayerEquity &out = r.players[std::size_t(p)];
        out.win = double(tally.wins[p]) / n;
        out.tie = double(tally.ties[p]) / n;
        out.equity = double(tally.shares[p]) / double(kWhole) / n;
        if (!exact && tally.deals > 1) {
            const double meanSquare = double(tally.squaredShares[p]) / double(kWhole * kWhole) / n;
            const double variance = std::max(0.0, meanSquare - out.equity * out.equity);
            out.stdError = std::sqrt(variance / (n - 1));
        }
    }
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
    const std::uint64_t hands = CountHands(t, 0, 0, limit / boards);
    return hands > limit / boards ? limit + 1 : hands * boards;
}

EquityResult CalculateEquity(const EquitySetup &setup)
{
    EquityResult r;
    Table t;
    if (!Prepare(setup, setup.exact, t, r))
        return r;
    const EvalTables &e = Tables();
    Deal start;
    start.hands = t.fixedHands;
    Tally total;
    RunEnd end = RunEnd::kDone;
    if (setup.exact) {
        const std::uint64_t deals = CountExactDeals(setup, kMaxExactDeals);
        if (deals > kMaxExactDeals) {
            Fail(r, "exact counting would visit more than " + std::to_string(kMaxExactDeals) +
                        " deals");
            return r;
        }
        if (deals == 0) {
            Fail(r, "the players' hands cannot all be dealt at once");
            return r;
        }
        ExactWork w;
        if (!t.ranged.empty())
            w.firstHands = t.combos[0].size();
        if (t.missing > 0)
            w.firstCards = t.deck.size();
        r.threads = ThreadCount(setup.threads, w.Units());
        end = RunUnits(
            w.Units(), r.threads, setup.progress, start,
            [&](std::uint64_t unit, Deal &d, Tally &tally) {
                CountUnit(t, e, w, unit, d, tally);
                return true;
            },
            total);
    } else {
        if (setup.trials == 0) {
            Fail(r, "sampling needs at least one trial");
            return r;
        }
        if (CountHands(t, 0, 0, 0) == 0) {
            Fail(r, "the players' hands cannot all be dealt at once");
            return r;
        }
        const std::uint64_t blocks = (setup.trials + kTrialsPerBlock - 1) / kTrialsPerBlock;
        r.threads = ThreadCount(setup.threads, blocks);
        end = RunUnits(
            blocks, r.threads, setup.progress, start,
            [&](std::uint64_t block, Deal &d, Tally &tally) {
                const std::uint64_t trials =
                    std::min(kTrialsPerBlock, setup.trials - block * kTrialsPerBlock);
                const auto sample = t.ranged.empty()
                                        ? (setup.firstPlayerOnly ? SampleBlock<true, false>
                                                                 : SampleBlock<false, false>)
                                        : (setup.firstPlayerOnly ? SampleBlock<true, true>
                                                                 : SampleBlock<false, true>);
                return sample(t, e, setup.seed, block, trials, d, tally);
            },
            total);
    }
    if (end != RunEnd::kDone) {
        Fail(r, end == RunEnd::kStopped ? "the calculation was stopped"
                                        : "the players' ranges almost never fit together");
        return r;
    }
    r.ok = true;
    r.exact = setup.exact;
    Summarize(total, setup.firstPlayerOnly && !setup.exact ? 1 : t.players, setup.exact, r);
    return r;
}

} // namespace brisquel
