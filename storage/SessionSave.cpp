#include "storage/SessionSave.h"

#include "engine/Game.h"

#include <ctime>

namespace {

constexpr const char *kPersonaNames[5] = {"Hero", "Master", "Tim", "Maniac", "Professor"};

// Index into m_resultByPersona for the persona code of what played a seat, -1 for none (an
// empty seat, whose result is 0 anyway).
int PersonaIndex(int persona)
{
    switch (persona) {
    case 3:
        return 0; // the human
    case 4:
        return 1;
    case 7:
        return 2;
    case 5:
        return 3;
    case 6:
        return 4;
    default:
        return -1;
    }
}

} // namespace

const char *LedgerNameOfPersona(int persona)
{
    const int index = PersonaIndex(persona);
    return index < 0 ? "" : kPersonaNames[index];
}

SessionResult CollectSessionResult(CGameTable &table, int heroChipsAdded)
{
    // Each seat is credited to what played it, wherever it sat: a bot game has no human, and
    // its seat 0 is a persona like any other.
    for (int s = 0; s < 10; ++s) {
        const int index = PersonaIndex(table.m_players[s].m_persona);
        if (index < 0)
            continue;
        int diff = table.m_stack[s] - table.m_startStack[s];
        if (index == 0)
            diff -= heroChipsAdded;
        table.m_resultByPersona[index] += diff;
    }

    SessionResult result(5);
    for (int i = 0; i < 5; ++i) {
        result[static_cast<std::size_t>(i)].name = kPersonaNames[i];
        result[static_cast<std::size_t>(i)].amount = table.m_resultByPersona[i];
    }
    for (int s = 0; s < table.m_seatCount && s < 10; ++s) {
        const int index = PersonaIndex(table.m_players[s].m_persona);
        if (index < 0)
            continue;
        const CPokerStat &stat = table.m_players[s].m_stat;
        StatCounters &counters = result[static_cast<std::size_t>(index)].counters;
        counters.n += stat.m_N;
        counters.vpipOpportunities += stat.m_vpipOpportunities;
        counters.vpip += stat.m_VPIP;
        counters.pfr += stat.m_PFR;
        counters.threeBet += stat.m_3bet;
    }
    return result;
}

bool SaveSessionResults(CPokerDatabase &db, CDunmereGame &game)
{
    // No state lock here: the hand thread may call this holding it, and the fields read are
    // written only by that same thread.
    const SessionResult result = CollectSessionResult(game.m_table, game.m_chipsAdded);
    // The wall clock, not game.Now(): a bot game's simulated clock runs ahead by the hands it
    // played, and the rows must say when they were saved.
    return SaveSessionResults(db, result, FormatSaveTime(std::time(nullptr)));
}
