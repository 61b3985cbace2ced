// The coach's estimate at the table: the price, equity against random hands and against the
// opponents' ranges, for one decision at a full table of ten. It runs on one worker thread
// while the human decides; the action panel shows it, so it must take well under 50 ms.
#include "coach/Coach.h"

#include "pokerlib/CardNames.h"

#include <benchmark/benchmark.h>

namespace {

coach::DecisionPoint TenSeats(const char *board)
{
    coach::DecisionPoint point;
    point.hole = {brisquel::ParseCard("Ah"), brisquel::ParseCard("Qd")};
    const std::string text = board;
    for (size_t i = 0; i + 1 < text.size(); i += 3)
        point.board.push_back(brisquel::ParseCard(text.substr(i, 2)));
    for (int s = 1; s < 10; ++s) {
        coach::Opponent opponent;
        opponent.seat = s;
        opponent.positionClass = s < 4 ? 0 : (s < 7 ? 1 : 2);
        opponent.stack = 1500;
        // Half the table with enough hands for its statistics, callers and a raiser among them.
        opponent.hands = s % 2 == 0 ? 40 : 5;
        opponent.vpip = 0.3;
        opponent.pfr = 0.12;
        opponent.preflop =
            s == 2 ? coach::PreflopMove::Raised
                   : (s % 2 == 0 ? coach::PreflopMove::Called : coach::PreflopMove::None);
        point.opponents.push_back(opponent);
    }
    point.pot = 300;
    point.toCall = 100;
    return point;
}

void EstimateAtTenSeats(benchmark::State &state, const char *board)
{
    coach::Estimator estimator(coach::kDefaultTrials, 1);
    const coach::DecisionPoint point = TenSeats(board);
    for (auto _ : state)
        benchmark::DoNotOptimize(estimator.Evaluate(point));
}

} // namespace

BENCHMARK_CAPTURE(EstimateAtTenSeats, preflop, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EstimateAtTenSeats, flop, "Qs 7h 2c")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(EstimateAtTenSeats, river, "Qs 7h 2c 9d 3s")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
