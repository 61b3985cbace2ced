// Equity of hands and ranges: the sampler on one and on two threads against the library's
// one-thread sampler, and exact counting.

#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/EquityCalculator.h"
#include "pokerlib/StoredTables.h"
#include "pokerlib/WorkPool.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

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

// The jobs of the comparison table: a player is a hand ("As Ah") or a range.
struct Job
{
    const char *first, *second;
};
constexpr Job kJobs[] = {
    {"As Ah", "Kd Kc"},
    {"As Ks", "Qd Qc"},
    {"As Kd", "QQ+,AKs"},
    {"QQ+,AKs", "JJ-99,AQs+"},
};

EquityPlayer Player(const char *text)
{
    const std::string t = text;
    if (t.size() == 5 && t[2] == ' ')
        return Hand(t.substr(0, 2).c_str(), t.substr(3).c_str());
    EquityPlayer range;
    std::string error;
    ParseRange(t, range.combos, error);
    return range;
}

// Exact counting of job state.range(0) on state.range(1) threads, with the showdowns evaluated
// and the deals they stand for.
void BM_ExactJob(benchmark::State &state)
{
    const Job &job = kJobs[state.range(0)];
    EquitySetup setup;
    setup.players = {Player(job.first), Player(job.second)};
    setup.exact = true;
    setup.threads = int(state.range(1));
    EquityResult r;
    for (auto _ : state) {
        r = CalculateEquity(setup);
        benchmark::DoNotOptimize(r.players[0].equity);
    }
    state.SetLabel(std::string(job.first) + " vs " + job.second);
    state.counters["showdowns"] = double(r.showdowns);
    state.counters["deals"] = double(r.deals);
}
BENCHMARK(BM_ExactJob)
    ->ArgNames({"job", "threads"})
    ->ArgsProduct({{0, 1, 2, 3}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
// The CPU time of the whole process, all threads: equal on one and two threads when sharing
// the work costs nothing, whatever else the machine runs.
BENCHMARK(BM_ExactJob)
    ->Name("BM_ExactJob_process_cpu")
    ->ArgNames({"job", "threads"})
    ->ArgsProduct({{0, 1, 2, 3}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// A small job (state.range(0)) on state.range(1) threads after the pool has been idle for
// 20 ms: the workers are parked and must be woken. Only the job itself is timed.
void BM_ExactJobAfterIdle(benchmark::State &state)
{
    const Job &job = kJobs[state.range(0)];
    EquitySetup setup;
    setup.players = {Player(job.first), Player(job.second)};
    setup.exact = true;
    setup.threads = int(state.range(1));
    EquityResult r = CalculateEquity(setup); // the workers exist from here on
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto start = std::chrono::steady_clock::now();
        r = CalculateEquity(setup);
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(r.players[0].equity);
        state.SetIterationTime(spent.count());
    }
    state.SetLabel(std::string(job.first) + " vs " + job.second);
    state.counters["showdowns"] = double(r.showdowns);
}
BENCHMARK(BM_ExactJobAfterIdle)
    ->ArgNames({"job", "threads"})
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// Work that two threads share perfectly: units of evaluator look-ups with nothing in common
// but the tables. Timed on one thread and on two, it shows what this machine gives two threads
// at that moment (a virtual machine's second core is not always a whole one).
double IdealSplitSeconds(std::uint64_t units, int threads)
{
    struct alignas(64) Sum
    {
        std::uint64_t value = 0;
    };
    std::vector<Sum> sums(static_cast<std::size_t>(threads));
    const auto start = std::chrono::steady_clock::now();
    RunUnits(units, sums, {}, [](std::uint64_t unit, Sum &sum) {
        std::uint64_t x = unit * 0x9E3779B97F4A7C15ull + 1;
        for (int i = 0; i < 2000; ++i) {
            x = x * 6364136223846793005ull + 1442695040888963407ull;
            sum.value += StoredRankValue(std::uint32_t(x >> 33) % 50'000u);
        }
        return true;
    });
    benchmark::DoNotOptimize(sums[0].value);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The 2-thread speed-up of a job (state.range(0)) measured in pairs: each iteration times the
// job on one thread and then on two (the order alternating), and "speedup" is the median of
// the pairs' ratios. A shared machine's speed drifts from one second to the next; within a pair
// both runs see the same machine, so the drift cancels out where separate benchmarks' medians
// would carry it into the ratio. Each pair is followed by a pair of the ideal split above, as
// long as the job: "ideal" is the median of those ratios, "of_ideal" the median of the job's
// ratio over the ideal one's. The reported time is the job's pair.
void BM_ExactSpeedUp(benchmark::State &state)
{
    const Job &job = kJobs[state.range(0)];
    EquitySetup setup;
    setup.players = {Player(job.first), Player(job.second)};
    setup.exact = true;
    const auto timed = [&setup](int threads) {
        setup.threads = threads;
        const auto start = std::chrono::steady_clock::now();
        const EquityResult r = CalculateEquity(setup);
        benchmark::DoNotOptimize(r.players[0].equity);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    timed(2); // the workers exist from here on
    constexpr std::uint64_t kCalibrationUnits = 200;
    const std::uint64_t idealUnits = std::max<std::uint64_t>(
        2, std::uint64_t(timed(1) / IdealSplitSeconds(kCalibrationUnits, 1) * kCalibrationUnits));
    std::vector<double> ratios, ideals, ofIdeal;
    bool oneFirst = true;
    const auto pair = [&oneFirst](const auto &run) {
        double one, two;
        if (oneFirst) {
            one = run(1);
            two = run(2);
        } else {
            two = run(2);
            one = run(1);
        }
        return std::pair{one, two};
    };
    for (auto _ : state) {
        const auto [one, two] = pair(timed);
        const auto [idealOne, idealTwo] =
            pair([idealUnits](int threads) { return IdealSplitSeconds(idealUnits, threads); });
        oneFirst = !oneFirst;
        ratios.push_back(one / two);
        ideals.push_back(idealOne / idealTwo);
        ofIdeal.push_back(ratios.back() / ideals.back());
        state.SetIterationTime(one + two);
    }
    const auto median = [](std::vector<double> &v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.SetLabel(std::string(job.first) + " vs " + job.second);
    state.counters["speedup"] = median(ratios);
    state.counters["ideal"] = median(ideals);
    state.counters["of_ideal"] = median(ofIdeal);
}
BENCHMARK(BM_ExactSpeedUp)
    ->ArgName("job")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

// The range-against-range job sampled: 1,000,000 trials give a standard error near 0.0005.
void BM_SampledRangeVsRange(benchmark::State &state)
{
    EquitySetup setup;
    setup.players = {Player(kJobs[3].first), Player(kJobs[3].second)};
    setup.trials = 1'000'000;
    setup.threads = int(state.range(0));
    setup.seed = 5;
    EquityResult r;
    for (auto _ : state) {
        r = CalculateEquity(setup);
        benchmark::DoNotOptimize(r.players[0].equity);
    }
    state.counters["std_error"] = r.players[0].stdError;
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 1'000'000);
}
BENCHMARK(BM_SampledRangeVsRange)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
