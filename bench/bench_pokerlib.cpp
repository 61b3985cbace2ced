// Speed of the poker library: seven-card evaluation, table set-up and equity sampling.

#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/Evaluator.h"
#include "pokerlib/Rng.h"
#include "pokerlib/StoredTables.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

namespace {

using namespace brisquel;

// 1 << 20 hands: far more than the caches, so memory speed counts too; 1 << 13: the hands
// stay in the cache and the evaluator alone counts.
constexpr std::size_t kHandCount = 1 << 20;
constexpr std::size_t kCachedHandCount = 1 << 13;

std::vector<std::array<int, 7>> RandomCardSets(std::size_t n)
{
    std::uint64_t rng[4];
    SeedXoshiro(rng, 12345);
    std::vector<std::array<int, 7>> out(n);
    for (auto &cards : out) {
        std::uint64_t used = 0;
        for (int &c : cards) {
            do {
                c = int(UniformBelow(rng, 52));
            } while (used >> c & 1);
            used |= 1ull << c;
        }
    }
    return out;
}

// Hands summed beforehand: the cost of the lookup alone, in random order.
void BM_Evaluate7Precomputed(benchmark::State &state)
{
    const EvalTables &t = Tables();
    std::vector<Hand> hands;
    for (const auto &cards : RandomCardSets(std::size_t(state.range(0)))) {
        Hand h;
        for (int c : cards)
            h += t.cards[c];
        hands.push_back(h);
    }
    for (auto _ : state) {
        unsigned sum = 0;
        for (const Hand &h : hands)
            sum += Evaluate(t, h);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(hands.size()));
}
BENCHMARK(BM_Evaluate7Precomputed)->Arg(kHandCount)->Arg(kCachedHandCount);

// From seven card integers: summing the cards' entries plus the lookup.
void BM_Evaluate7FromCards(benchmark::State &state)
{
    const EvalTables &t = Tables();
    const auto sets = RandomCardSets(std::size_t(state.range(0)));
    for (auto _ : state) {
        unsigned sum = 0;
        for (const auto &cards : sets) {
            Hand h = t.cards[cards[0]];
            for (int i = 1; i < 7; ++i)
                h += t.cards[cards[i]];
            sum += Evaluate(t, h);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(sets.size()));
}
BENCHMARK(BM_Evaluate7FromCards)->Arg(kHandCount)->Arg(kCachedHandCount);

// The same two through the stored tables addressed directly: a hand summed beforehand, and
// seven cards added one by one and then evaluated.
void BM_EvaluateStoredPrecomputed(benchmark::State &state)
{
    std::vector<Hand> hands;
    for (const auto &cards : RandomCardSets(std::size_t(state.range(0)))) {
        Hand h;
        for (int c : cards)
            h += StoredCard(c);
        hands.push_back(h);
    }
    for (auto _ : state) {
        unsigned sum = 0;
        for (const Hand &h : hands)
            sum += EvaluateStored(h);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(hands.size()));
}
BENCHMARK(BM_EvaluateStoredPrecomputed)->Arg(kHandCount)->Arg(kCachedHandCount);

void BM_EvaluateStoredFromCards(benchmark::State &state)
{
    const auto sets = RandomCardSets(std::size_t(state.range(0)));
    for (auto _ : state) {
        unsigned sum = 0;
        for (const auto &cards : sets) {
            Hand h = StoredCard(cards[0]);
            for (int i = 1; i < 7; ++i)
                h += StoredCard(cards[i]);
            sum += EvaluateStored(h);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(sets.size()));
}
BENCHMARK(BM_EvaluateStoredFromCards)->Arg(kHandCount)->Arg(kCachedHandCount);

// From seven card integers through EvaluateCards7: keys only, rank masks only for flushes.
void BM_Evaluate7FromCardsKeysOnly(benchmark::State &state)
{
    const EvalTables &t = Tables();
    const auto sets = RandomCardSets(std::size_t(state.range(0)));
    for (auto _ : state) {
        unsigned sum = 0;
        for (const auto &cards : sets)
            sum += EvaluateCards7(t, cards.data());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(sets.size()));
}
BENCHMARK(BM_Evaluate7FromCardsKeysOnly)->Arg(kHandCount)->Arg(kCachedHandCount);

void BM_BuildTables(benchmark::State &state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        const EvalTables t = BuildEvalTables();
        bytes = t.Bytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["table_bytes"] = double(bytes);
}
BENCHMARK(BM_BuildTables)->Unit(benchmark::kMillisecond);

// What a program pays at its first evaluation: the tables computed at build time copied out.
void BM_StoredTables(benchmark::State &state)
{
    for (auto _ : state) {
        const EvalTables t = StoredEvalTables();
        benchmark::DoNotOptimize(t.rankValues.data());
    }
}
BENCHMARK(BM_StoredTables)->Unit(benchmark::kMicrosecond);

constexpr int kNoBoard[5] = {-1, -1, -1, -1, -1};
constexpr int kDecisionTrials = 5000;

// Preflop, 5000 samples, against state.range(0) random opponents.
void BM_EquityVsRandom(benchmark::State &state)
{
    SeedPokerLibrary(3);
    PokerLogic logic;
    logic.trialCount = kDecisionTrials;
    const int hole[2] = {ParseCard("Ah"), ParseCard("Kd")};
    const int players = int(state.range(0)) + 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(logic.getProbabilityOfWin(hole, kNoBoard, 0, players));
}
BENCHMARK(BM_EquityVsRandom)->Arg(1)->Arg(9)->Unit(benchmark::kMicrosecond);

// Preflop, 5000 samples, one opponent from the best state.range(0) % of hands.
void BM_EquityVsRange(benchmark::State &state)
{
    SeedPokerLibrary(4);
    CStatSpectr spectrum;
    spectrum.Init();
    Spec spec;
    std::wstring text;
    spectrum.GetSpecByPercent(double(state.range(0)), spec, text, 1);
    PokerLogic logic;
    logic.trialCount = kDecisionTrials;
    const int hole[2] = {ParseCard("Ah"), ParseCard("Kd")};
    for (auto _ : state)
        benchmark::DoNotOptimize(logic.getProbabilityOfWinBySpectr(hole, kNoBoard, 0, spec));
}
BENCHMARK(BM_EquityVsRange)->Arg(15)->Arg(100)->Unit(benchmark::kMicrosecond);

// On the river with the calculator's default count.
void BM_EquityCalculatorRiver(benchmark::State &state)
{
    PokerLogic logic;
    const int hole[2] = {ParseCard("Ah"), ParseCard("Kd")};
    const int board[5] = {ParseCard("Qs"), ParseCard("Jd"), ParseCard("2c"), ParseCard("7h"),
                          ParseCard("9s")};
    for (auto _ : state)
        benchmark::DoNotOptimize(logic.getProbabilityOfWin(hole, board, 5, 6));
}
BENCHMARK(BM_EquityCalculatorRiver)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
