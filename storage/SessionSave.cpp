#include "SessionSave.h"

#include "Game.h"

#include <ctime>

namespace {

constexpr const char *kPersonaNames[5] = {"Hero", "Master", "Tim", "Maniac", "Professor"};

// Index into m_resultByPersona for a seat's persona code, -1 for none.
int PersonaIndex(int persona)
{
    switch (persona) {
    case 0:
        return 0; // an empty seat; its result is 0
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

SessionResult CollectSessionResult(CGameTable &table, int heroChipsAdded)
{
    for (int s = 0; s < 10; ++s) {
        int diff = table.m_stack[s] - table.m_startStack[s];
        if (s == 0)
            diff -= heroChipsAdded;
        const int index = s == 0 ? 0 : PersonaIndex(table.m_players[s].m_persona);
        if (index >= 0)
            table.m_resultByPersona[index] += diff;
    }

    SessionResult result(5);
    for (int i = 0; i < 5; ++i) {
        result[static_cast<std::size_t>(i)].name = kPersonaNames[i];
        result[static_cast<std::size_t>(i)].amount = table.m_resultByPersona[i];
    }
    // Counters follow the seat: each persona name gets those of the seats it played.
    for (int s = 0; s < table.m_seatCount && s < 10; ++s) {
        const int persona = table.m_players[s].m_persona;
        const int index = s == 0 ? 0 : (persona == 0 ? -1 : PersonaIndex(persona));
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
