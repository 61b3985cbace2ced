#pragma once
// The save at the end of a stopped game: each persona's chip result and statistics counters,
// appended to the database.

#include "storage/PokerTables.h"

class CGameTable;
class CDunmereGame;

// Adds each seat's result (final stack minus start stack) to m_resultByPersona and returns,
// in the order "Hero", "Master", "Tim", "Maniac", "Professor", those running sums with the
// summed counters of the seats each persona played. A seat counts for what played it: the
// human's seat for "Hero", a computer's seat for its persona. `heroChipsAdded` are chips the
// human bought during the game: they are not winnings.
SessionResult CollectSessionResult(CGameTable &table, long long heroChipsAdded = 0);

// The ledger name a seat's results are booked under, from the persona code that played it:
// "Hero" for the human, else the persona's name; empty for no persona.
const char *LedgerNameOfPersona(int persona);

// The game's save hook (m_saveResults), on the game thread: works with or without the state
// lock held by the caller, and takes no lock itself.
bool SaveSessionResults(CPokerDatabase &db, CDunmereGame &game);
