#pragma once
// A table set up by hand and library answers fixed by the test.

#include "opponents/Decisions.h"
#include "opponents/Roster.h"
#include "tests/support/Cards.h"

#include <string>

using testsupport::Card;

struct FixedOdds : IDecisionOdds
{
    double p = 0.0;
    double pAgainstTop = 0.0;
    int code = 0;
    int group = 0;
    int lastPlayers = -1;
    double lastPct = -1;
    int topCalls = 0;

    double ProbabilityOfWin(const int *, const int *, int, int players) override
    {
        lastPlayers = players;
        return p;
    }
    double ProbabilityAgainstTop(const int *, double pct, const CStatSpectr &) override
    {
        lastPct = pct;
        ++topCalls;
        return pAgainstTop;
    }
    int Combination(const int *, const int *, int) override { return code; }
    int Group(int, int) override { return group; }
};

// A preflop table: seats 0..n-1 in the game with 1000 chips, blinds 10/20 posted by the two
// seats after the button, nobody has acted yet.
struct TestTable
{
    CGameTable t;
    FixedOdds odds;
    EasyRandom random;

    explicit TestTable(int seats = 6, int button = 0)
    {
        t.m_seatCount = seats;
        for (int s = 0; s < seats; ++s) {
            t.m_inGame[s] = 1;
            t.m_stack[s] = 1000;
            t.m_players[s].m_persona = kPersonaTim;
        }
        for (int i = 0; i < 25; ++i)
            t.m_cards[i] = -1;
        t.m_button = button;
        t.m_smallBlind = 10;
        t.m_bigBlind = 20;
        Post(t.NextActiveSeat(button), 10);
        Post(t.NextActiveSeat(t.NextActiveSeat(button)), 20);
        t.m_amountToCall = 20;
        random.SetFixedSeed(7);
    }
    void Post(int s, int amount)
    {
        t.m_stack[s] -= amount;
        t.m_bet[s] += amount;
    }
    void Hold(int s, const char *first, const char *second, int persona)
    {
        t.m_cards[2 * s] = Card(first);
        t.m_cards[2 * s + 1] = Card(second);
        t.m_players[s].m_persona = persona;
    }
    // Seat s calls or raises to total; the last raiser is remembered as the engine does.
    void Limp(int s)
    {
        Post(s, t.m_amountToCall - t.m_bet[s]);
        t.m_lastAction[s] = 2;
    }
    void RaiseTo(int s, int total)
    {
        Post(s, total - t.m_bet[s]);
        t.m_amountToCall = total;
        t.m_lastAction[s] = 4;
        t.m_lastRaiser = s;
    }
    void Fold(int s)
    {
        t.m_folded[s] = true;
        t.m_lastAction[s] = 1;
    }
    void Flop(const char *a, const char *b, const char *c)
    {
        for (int s = 0; s < t.m_seatCount; ++s) {
            t.m_pot += t.m_bet[s];
            t.m_bet[s] = 0;
            t.m_lastAction[s] = 0;
        }
        t.m_cards[20] = Card(a);
        t.m_cards[21] = Card(b);
        t.m_cards[22] = Card(c);
        t.m_boardCount = 3;
        t.m_amountToCall = -1;
    }
    int Pre(int s) { return DecidePreflop(t, s, random, odds); }
    int After(int s, int street) { return DecidePostflop(t, s, street, random, odds); }
};
