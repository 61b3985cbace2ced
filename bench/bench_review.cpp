// The review of a whole game: every decision of one seat valued by play-outs at the default
// number per option, on the machine's cores. The game (90 hands of the nine-seat turbo
// tournament between the personas, from a fixed seed) is played and read back once, outside
// the timing; the seat reviewed is the one with the most decisions.

#include "bench/TurboGame.h"
#include "coach/Review.h"
#include "history/HistoryReader.h"
#include "opponents/BotGame.h"
#include "playout/FastOdds.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>

namespace {

struct PlayedGame
{
    history::Game game;
    int seat = 0;
    int decisions = 0;
};

const PlayedGame &NinetyHands()
{
    static const PlayedGame played = [] {
        const auto folder = std::filesystem::temp_directory_path() / "brisquel_bench_review";
        PlayedGame result;
        result.game = PlayTurboGame(folder, 90, 5);
        std::filesystem::remove_all(folder);
        for (int seat = 0; seat < static_cast<int>(result.game.seats.size()); ++seat) {
            int decisions = 0;
            for (const history::Hand &hand : result.game.hands)
                for (const history::Action &action : hand.actions)
                    decisions += action.seat == seat && action.kind >= history::ActionKind::Fold;
            if (decisions > result.decisions) {
                result.decisions = decisions;
                result.seat = seat;
            }
        }
        return result;
    }();
    return played;
}

void ReviewGame(benchmark::State &state)
{
    playout::WarmFastOdds();
    const PlayedGame &played = NinetyHands();
    coach::ReviewOptions options;
    options.samplesPerOption = static_cast<int>(state.range(0));
    options.seed = 1;
    double lossPer100 = 0.0;
    for (auto _ : state) {
        coach::Estimator estimator(coach::kDefaultTrials, 1);
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        std::string error;
        if (!coach::ReviewGame(played.game, played.seat, estimator, rows, summary, error, {},
                               options))
            state.SkipWithError(error.c_str());
        lossPer100 = summary.evLossPer100();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["hands"] = static_cast<double>(played.game.hands.size());
    state.counters["decisions"] = played.decisions;
    state.counters["ev_loss_per_100"] = lossPer100;
}

} // namespace

// Wall-clock time on the machine's cores (the figure a person waits for), and the CPU time of
// the whole process (all threads), which does not depend on what else the machine runs.
BENCHMARK(ReviewGame)
    ->Arg(coach::kDefaultReviewSamples)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(2);
BENCHMARK(ReviewGame)
    ->Name("ReviewGame_cpu")
    ->Arg(coach::kDefaultReviewSamples)
    ->Unit(benchmark::kSecond)
    ->MeasureProcessCPUTime()
    ->Iterations(1);

BENCHMARK_MAIN();
