// The advisor at the table: how long the first answer takes, and how many play-outs per
// option stand behind it, at a ten-seat decision before the flop (the under-the-gun seat,
// nobody in yet) and on the flop (a raise and two calls before it, the seat facing a bet).
#include "playout/Advisor.h"
#include "playout/FastOdds.h"
#include "playout/HandSim.h"
#include "pokerlib/CardNames.h"
#include "vocabulary/GameVocabulary.h"

#include <benchmark/benchmark.h>

namespace {

playout::HandSoFar TenSeats(int seat, const char *cards)
{
    playout::HandSoFar hand;
    hand.seatCount = 10;
    hand.button = 0;
    hand.smallBlind = 10;
    hand.bigBlind = 20;
    hand.seat = seat;
    for (int s = 0; s < 10; ++s) {
        hand.seats[s].inHand = true;
        hand.seats[s].startStack = 2000;
        hand.seats[s].persona = kFirstBotPersona + s % 4;
        hand.seats[s].name = "P" + std::to_string(s);
    }
    hand.seats[seat].cards[0] = brisquel::ParseCard(std::string(cards, 2));
    hand.seats[seat].cards[1] = brisquel::ParseCard(std::string(cards + 3, 2));
    return hand;
}

playout::HandSoFar Preflop()
{
    return TenSeats(3, "Ah Qd");
}

// Seat 3 raises to 60, seats 6 and 0 call, the blinds fold; on the flop seat 3 bets 120 and
// seat 6 decides.
playout::HandSoFar Flop()
{
    playout::HandSoFar hand = TenSeats(6, "Jh Td");
    hand.decisions.push_back({3, -1, 60, false});
    for (int s : {4, 5})
        hand.decisions.push_back({s, -1, 0, true});
    hand.decisions.push_back({6, -1, 60, false});
    for (int s : {7, 8, 9})
        hand.decisions.push_back({s, -1, 0, true});
    hand.decisions.push_back({0, -1, 60, false});
    hand.decisions.push_back({1, -1, 0, true});
    hand.decisions.push_back({2, -1, 0, true});
    for (const char *card : {"Qs", "9h", "2c"})
        hand.board.push_back(brisquel::ParseCard(card));
    hand.decisions.push_back({3, 0, 120, false});
    return hand;
}

// The first answer at the settings the table uses; the counter is the play-outs per option
// behind it.
void FirstAnswer(benchmark::State &state, playout::HandSoFar (*make)())
{
    playout::WarmFastOdds();
    const playout::HandSoFar hand = make();
    double samples = 0;
    for (auto _ : state) {
        playout::AdviseSettings settings;
        settings.seed = 7;
        settings.firstAnswerMillis = playout::kTableFirstAnswerMillis;
        const playout::Advice advice =
            playout::Advise(hand, settings, [](const playout::Advice &) { return false; });
        benchmark::DoNotOptimize(advice.best);
        samples = advice.options.empty() ? 0 : advice.options.front().samples;
    }
    state.counters["samples_per_option"] = samples;
}

// A hundred play-outs of every option, the range tracker's reading of the hand included.
void HundredPlayOuts(benchmark::State &state, playout::HandSoFar (*make)())
{
    playout::WarmFastOdds();
    const playout::HandSoFar hand = make();
    for (auto _ : state) {
        playout::AdviseSettings settings;
        settings.seed = 7;
        settings.maxMillis = 0;
        settings.samplesPerOption = 100;
        const playout::Advice advice = playout::Advise(hand, settings);
        benchmark::DoNotOptimize(advice.best);
    }
}

BENCHMARK_CAPTURE(FirstAnswer, TenSeatsPreflop, Preflop)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(FirstAnswer, TenSeatsFlop, Flop)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(HundredPlayOuts, TenSeatsPreflop, Preflop)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HundredPlayOuts, TenSeatsFlop, Flop)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
