// Equity of hands and ranges: the sampler on one and on two threads against the library's
// one-thread sampler, and exact counting.

#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/EquityCalculator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace brisquel;

constexpr int kNoBoard[5] = {-1, -1, -1, -1, -1};
constexpr std::uint64_t kManyTrials = 10'000'000;

EquityPlayer Hand(const char *a, const char *b)
{
    return EquityPlayer{{{ParseCard(a), ParseCard(b)}}};
}

// The library's sampler (one thread): AhKd against random opponents before the flop.
void BM_OldSamplerVsRandom(benchmark::State &state)
{
    SeedPokerLibrary(3);
    PokerLogic logic;
    logic.trialCount = int(state.range(1));
    const int hole[2] = {ParseCard("Ah"), ParseCard("Kd")};
    const int players = int(state.range(0)) + 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(logic.getProbabilityOfWin(hole, kNoBoard, 0, players));
    state.SetItemsProcessed(std::int64_t(state.iterations()) * state.range(1));
}
BENCHMARK(BM_OldSamplerVsRandom)
    ->ArgNames({"opponents", "trials"})
    ->Args({1, 1'000'000})
    ->Args({9, 1'000'000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same question through CalculateEquity on state.range(2) threads, for every player or,
// when state.range(3) is 1, for the first alone (odds without --detail).
void BM_CalculatorVsRandom(benchmark::State &state)
{
    EquitySetup setup;
    setup.players = {Hand("Ah", "Kd")};
    setup.players.resize(std::size_t(state.range(0)) + 1);
    setup.trials = std::uint64_t(state.range(1));
    setup.threads = int(state.range(2));
    setup.firstPlayerOnly = state.range(3) != 0;
    setup.seed = 3;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateEquity(setup).players[0].equity);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * state.range(1));
}
BENCHMARK(BM_CalculatorVsRandom)
    ->ArgNames({"opponents", "trials", "threads", "first_only"})
    ->Args({1, 1'000'000, 1, 0})
    ->Args({1, 1'000'000, 1, 1})
    ->Args({9, 1'000'000, 1, 0})
    ->Args({9, 1'000'000, 1, 1})
    ->Args({1, kManyTrials, 1, 1})
    ->Args({1, kManyTrials, 2, 1})
    ->Args({9, kManyTrials, 1, 1})
    ->Args({9, kManyTrials, 2, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The CPU time of the whole process, all threads: equal on one and two threads when sharing
// the work costs nothing, whatever else the machine runs (wall time needs idle cores).
BENCHMARK(BM_CalculatorVsRandom)
    ->Name("BM_CalculatorVsRandom_process_cpu")
    ->ArgNames({"opponents", "trials", "threads", "first_only"})
    ->Args({1, kManyTrials, 1, 1})
    ->Args({1, kManyTrials, 2, 1})
    ->Args({9, kManyTrials, 1, 1})
    ->Args({9, kManyTrials, 2, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// A hand against the best 15 % sampled; state.range(0) threads.
void BM_CalculatorVsRange(benchmark::State &state)
{
    EquitySetup setup;
    EquityPlayer range;
    std::string error;
    ParseRange("top15%", range.combos, error);
    setup.players = {Hand("Ah", "Kd"), range};
    setup.trials = kManyTrials;
    setup.threads = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateEquity(setup).players[0].equity);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(kManyTrials));
}
BENCHMARK(BM_CalculatorVsRange)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Exact: AsAh against KdKc before the flop (1,712,304 boards), and AsKd against "QQ+,AKs" (22
// hands of which 14 live, 24 million deals); state.range(0) threads.
void BM_ExactHandVsHand(benchmark::State &state)
{
    EquitySetup setup;
    setup.players = {Hand("As", "Ah"), Hand("Kd", "Kc")};
    setup.exact = true;
    setup.threads = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateEquity(setup).players[0].equity);
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 1712304);
}
BENCHMARK(BM_ExactHandVsHand)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExactHandVsRange(benchmark::State &state)
{
    EquitySetup setup;
    EquityPlayer range;
    std::string error;
    ParseRange("QQ+,AKs", range.combos, error);
    setup.players = {Hand("As", "Kd"), range};
    setup.exact = true;
    setup.threads = int(state.range(0));
    std::uint64_t deals = 0;
    for (auto _ : state) {
        const EquityResult r = CalculateEquity(setup);
        deals = r.deals;
        benchmark::DoNotOptimize(r.players[0].equity);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(deals));
}
BENCHMARK(BM_ExactHandVsRange)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
