// The drill window's two waits: dealing the next spot (the deck read from Practice.db3, the
// spot's hand read again from its file, the hand rebuilt up to the decision) and grading an
// answer (graded with the spot's values, saved, the rest of the hand played out by the models,
// then valued against a typical player). The deck is the mistakes of the first seats in 90
// hands of the nine-seat turbo tournament between the personas, from a fixed seed, reviewed
// once outside the timing.

#include "bench/TurboGame.h"
#include "playout/FastOdds.h"
#include "practice/Drill.h"
#include "practice/PlayRest.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>

namespace {

struct Deck
{
    std::string storePath;
    practice::Spot first; // the spot dealt first
};

const Deck &NinetyHandDeck()
{
    static const Deck deck = [] {
        // The spots' file stays: dealing reads it again.
        const auto folder = std::filesystem::temp_directory_path() / "brisquel_bench_drill";
        const history::Game game = PlayTurboGame(folder, 90, 5);
        std::string error;
        coach::Estimator estimator(200, 1);
        coach::ReviewOptions review;
        review.samplesPerOption = 40;
        review.seed = 1;
        std::vector<practice::Spot> spots;
        for (int seat = 0; seat < 9; ++seat) {
            std::vector<coach::ReviewRow> rows;
            coach::ReviewSummary summary;
            if (!coach::ReviewGame(game, seat, estimator, rows, summary, error, {}, review))
                throw std::runtime_error(error);
            for (practice::Spot &spot : practice::SpotsOfGame(game, seat, rows))
                spots.push_back(std::move(spot));
            if (spots.size() >= 10)
                break;
        }
        Deck result;
        result.storePath = (folder / practice::kStoreFileName).string();
        practice::Store store;
        practice::Deal deal;
        if (!store.Open(result.storePath, error) || store.Add(spots, error) < 0 ||
            !practice::DealNext(store, std::time(nullptr), {}, deal, error) || !deal.found)
            throw std::runtime_error("no deck: " + error);
        result.first = deal.dealt.spot;
        return result;
    }();
    return deck;
}

void DealNextSpot(benchmark::State &state)
{
    const Deck &deck = NinetyHandDeck();
    practice::Store store;
    std::string error;
    if (!store.Open(deck.storePath, error))
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        practice::Deal deal;
        if (!practice::DealNext(store, std::time(nullptr), {}, deal, error) || !deal.found)
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(deal.dealt.soFar.get());
    }
}

void GradeAnswer(benchmark::State &state)
{
    playout::WarmFastOdds();
    const Deck &deck = NinetyHandDeck();
    practice::Store store;
    practice::Dealt dealt;
    std::string error;
    if (!store.Open(deck.storePath, error) || !practice::DealSpot(deck.first, dealt, error) ||
        !dealt.soFar)
        state.SkipWithError(error.c_str());
    for (auto _ : state) {
        practice::Spot spot = deck.first;
        practice::Graded graded;
        std::string saveError;
        if (!practice::AnswerSpot(store, spot, {practice::Answer::Call, 0}, std::time(nullptr),
                                  graded, error, saveError))
            state.SkipWithError(error.c_str());
        const practice::RestOfHand rest = practice::PlayRest(
            *dealt.soFar, graded.advice.options[size_t(graded.advice.chosen)].put, false, 1);
        benchmark::DoNotOptimize(rest.steps.data());
        practice::AddTypical(*dealt.soFar, practice::kTypicalMillis, 1, graded.advice);
        benchmark::DoNotOptimize(graded.advice.standard.data());
    }
}

} // namespace

// Wall-clock time: what a person waits for at the drill window.
BENCHMARK(DealNextSpot)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(GradeAnswer)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

BENCHMARK_MAIN();
