// The range tracker's cost per observed decision, and the fast odds' board tables behind it.

#include "playout/FastOdds.h"
#include "playout/Ranges.h"
#include "vocabulary/GameVocabulary.h"

#include <benchmark/benchmark.h>

namespace {

// Six seats of 1000 chips, blinds 10/20; seat 3 has opened to 60 and seat 4 decides. With a
// flop the pot holds the preflop bets and nobody has bet yet.
CGameTable MakeTable(int persona, bool flop)
{
    CGameTable t;
    t.m_seatCount = 6;
    for (int s = 0; s < 6; ++s) {
        t.m_inGame[s] = 1;
        t.m_stack[s] = 1000;
        t.m_players[s].m_persona = persona;
    }
    for (int &c : t.m_cards)
        c = -1;
    t.m_smallBlind = 10;
    t.m_bigBlind = 20;
    t.m_raises.Begin(20, 20, true);
    const auto put = [&t](int s, int amount) {
        t.m_stack[s] -= amount;
        t.m_bet[s] += amount;
        t.m_raises.Act(s, t.m_bet[s]);
    };
    put(1, 10);
    put(2, 20);
    put(3, 60);
    t.m_amountToCall = 60;
    t.m_lastAction[3] = kLastActionRaise;
    t.m_lastRaiser = 3;
    if (flop) {
        for (int s = 0; s < 6; ++s) {
            t.m_pot += t.m_bet[s];
            t.m_bet[s] = 0;
            t.m_lastAction[s] = kLastActionNone;
        }
        t.m_folded[0] = t.m_folded[5] = true;
        t.m_cards[20] = 12; // Ac
        t.m_cards[21] = 19; // 8d
        t.m_cards[22] = 27; // 3h
        t.m_boardCount = 3;
        t.m_amountToCall = 0;
        t.m_raises.Begin(20, 0, false);
    }
    return t;
}

const int kPersonas[] = {kPersonaMaster, kPersonaManiac, kPersonaProfessor, kPersonaTim,
                         kPersonaHero};

// A raise to 180 before the flop; a bet of 100 on the flop (the board's table already built,
// as for every decision after the first on a street).
void BM_Observe(benchmark::State &state)
{
    const int persona = kPersonas[state.range(0)];
    const bool flop = state.range(1) != 0;
    const CGameTable table = MakeTable(persona, flop);
    playout::CFastOdds odds(1);
    playout::WarmFastOdds();
    {
        playout::RangeTracker warm(odds, {});
        warm.Observe(table, 4, flop ? 0 : -1, flop ? 100 : 180, false);
    }
    for (auto _ : state) {
        playout::RangeTracker tracker(odds, {});
        tracker.Observe(table, 4, flop ? 0 : -1, flop ? 100 : 180, false);
        benchmark::DoNotOptimize(tracker.Weights(4));
    }
    state.SetLabel(PersonaName(persona));
}

// The Maniac's shove with nobody raised before: junk hands and small pairs draw random numbers,
// so each is replayed with 64 streams.
void BM_ObserveDrawingCode(benchmark::State &state)
{
    CGameTable table = MakeTable(kPersonaManiac, false);
    table.m_stack[3] += 40;
    table.m_bet[3] = 20;
    table.m_lastAction[3] = kLastActionCall;
    table.m_lastRaiser = -1;
    table.m_amountToCall = 20;
    table.m_raises.Begin(20, 20, true);
    playout::CFastOdds odds(1);
    for (auto _ : state) {
        playout::RangeTracker tracker(odds, {});
        tracker.Observe(table, 4, -1, 1000, false);
        benchmark::DoNotOptimize(tracker.Weights(4));
    }
}

// Filling every before-the-flop win entry, once per process: one iteration only, the first
// benchmark to run.
void BM_WarmFastOdds(benchmark::State &state)
{
    for (auto _ : state)
        playout::WarmFastOdds();
}

// A new board's table: every combination's equity against 1..9 opponents.
void BM_BoardTable(benchmark::State &state)
{
    const int count = int(state.range(0));
    int board[5] = {12, 19, 27, 40, 5};
    playout::CFastOdds odds(1);
    int round = 0;
    for (auto _ : state) {
        board[0] = 12 - (round++ % 2); // another board each time
        odds.PrepareBoard(board, count, 2);
    }
}

} // namespace

BENCHMARK(BM_WarmFastOdds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Observe)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ObserveDrawingCode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardTable)->Arg(3)->Arg(4)->Arg(5)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
