#pragma once
// Results that could not be saved to PokerDB.db3 (locked by another program, a full disk, a
// damaged file) are not dropped: they are kept in a text file beside it, "PokerDB.db3.unsaved",
// until a later save takes them. brisquel-cli and the desktop program save through SaveOrKeep;
// the desktop program offers the kept games at its next start.
//
// The file holds one line "game <seconds since 1970>" per game, each followed by one line per
// ledger name: name, chips won, then the counters N, VPIP opportunities, VPIP, PFR and 3-bet,
// separated by tabs.
//
// Threads: any thread, one database per call as CPokerDatabase requires. SaveOrKeep and
// SaveKeptResults hold a lock ("PokerDB.db3.unsaved.lock") while they change the file, so that
// programs and threads saving at once keep every game.

#include "storage/PokerTables.h"

#include <cstdint>
#include <string>
#include <vector>

struct UnsavedGame
{
    std::int64_t when = 0; // the time the save was due, kept as the rows' save time
    SessionResult result;
};

std::string UnsavedResultsPath(const std::string &databasePath);

// The games kept in the file; none when it does not exist. False with a message when it exists
// but cannot be read or is damaged (it is then left as it is).
bool ReadUnsavedResults(const std::string &path, std::vector<UnsavedGame> &games,
                        std::string &error);
// Replaces the file with `games` (removes it when there are none).
bool WriteUnsavedResults(const std::string &path, const std::vector<UnsavedGame> &games,
                         std::string &error);

struct SaveOutcome
{
    bool saved = false;
    std::string problem;     // "the results could not be saved to <file>: <reason>"
    std::string keptIn;      // the file that keeps them, when they were not saved
    std::string keepProblem; // why they could not be kept either

    static SaveOutcome Saved()
    {
        SaveOutcome outcome;
        outcome.saved = true;
        return outcome;
    }
};

// What could not be saved, in words: the outcome's problem, or the database's own when no save
// was attempted.
std::string SaveProblemText(const SaveOutcome &outcome, const CPokerDatabase &db);
// Where the results are now: "they are kept in <file> ..." or why they could not be kept.
std::string KeptText(const SaveOutcome &outcome);

// Saves one game's results; the database is opened again first when it was not usable (the
// lock or the fault may be gone). When the save fails the game is added to the file of unsaved
// results beside the database.
SaveOutcome SaveOrKeep(CPokerDatabase &db, const std::string &folder, const UnsavedGame &game);

// Saves the games kept beside the database (opened again when not usable); the games saved leave
// the file. False with a message when some could not be saved or the file not read.
bool SaveKeptResults(CPokerDatabase &db, const std::string &folder, std::string &error);
