// Throughput of whole bot games through the engine: 9 seats, no pauses, files written to a
// temporary folder as a real game writes them.

#include "opponents/BotGame.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

void BM_BotGame(benchmark::State &state, int gameTypeId)
{
    const auto folder = std::filesystem::temp_directory_path() / "brisquel_bench_botgame";
    std::filesystem::create_directories(folder);
    std::uint64_t seed = 1;
    long long hands = 0;
    for (auto _ : state) {
        BotGameOptions options;
        options.names = DefaultBotNames(9);
        options.stacks.assign(9, gameTypeId != kGameTypeFixedBlinds ? 1500 : 1000);
        options.gameTypeId = gameTypeId;
        options.lastHand =
            gameTypeId != kGameTypeFixedBlinds ? 0 : 200; // fixed blinds may never end by itself
        options.seed = seed++;
        options.outputFolder = folder.string();
        const BotGameResult result = RunBotGame(options);
        hands += result.handsPlayed;
        benchmark::DoNotOptimize(result.handsPlayed);
    }
    state.counters["hands/s"] =
        benchmark::Counter(static_cast<double>(hands), benchmark::Counter::kIsRate);
    state.counters["hands/game"] =
        benchmark::Counter(static_cast<double>(hands), benchmark::Counter::kAvgIterations);
    std::filesystem::remove_all(folder);
}

} // namespace

// Wall-clock rate, and the rate per CPU-second of the whole process (all threads), which is
// the one-core figure and does not depend on what else the machine runs.
BENCHMARK_CAPTURE(BM_BotGame, turbo_tournament, kGameTypeNinePlayersTurbo)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_BotGame, turbo_tournament_cpu, kGameTypeNinePlayersTurbo)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_BotGame, fixed_blinds_200_hands, kGameTypeFixedBlinds)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_BotGame, fixed_blinds_200_hands_cpu, kGameTypeFixedBlinds)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

BENCHMARK_MAIN();
