#include "storage/SessionSave.h"

#include "engine/Game.h"

#include <ctime>

namespace {

// The ledger's rows, in their order: the human, then the four personas.
constexpr int kLedgerPersonas[5] = {kPersonaHero, kPersonaMaster, kPersonaTim, kPersonaManiac,
                                    kPersonaProfessor};

// Index into m_resultByPersona for the persona code of what played a seat, -1 for none (an
// empty seat, whose result is 0 anyway).
int PersonaIndex(int persona)
{
    for (int index = 0; index < 5; ++index) {
        if (kLedgerPersonas[index] == persona)
            return index;
    }
    return -1;
}

} // namespace

const char *LedgerNameOfPersona(int persona)
{
    const int index = PersonaIndex(persona);
    return index < 0 ? "" : PersonaName(persona);
}

SessionResult CollectSessionResult(CGameTable &table, long long heroChipsAdded)
{
    // Each seat is credited to what played it, wherever it sat: a bot game has no human, and
    // its seat 0 is a persona like any other.
    for (int s = 0; s < 10; ++s) {
        const int index = PersonaIndex(table.m_players[s].m_persona);
        if (index < 0)
            continue;
        long long diff = static_cast<long long>(table.m_stack[s]) - table.m_startStack[s];
        if (IsHumanPersona(table.m_players[s].m_persona))
            diff -= heroChipsAdded;
        table.m_resultByPersona[index] += diff;
    }

    SessionResult result(5);
    for (int i = 0; i < 5; ++i) {
        result[static_cast<std::size_t>(i)].name = PersonaName(kLedgerPersonas[i]);
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
