#pragma once
// The two append-only ledgers of PokerDB.db3: Players (chip results with a running balance per
// name) and Statistics (preflop counters with running totals per name).

#include "storage/SQLiteTbl.h"

#include <ctime>
#include <string>
#include <vector>

class CPlayersTbl : public SQLiteTbl
{
public:
    CPlayersTbl();
    const char *GetTableName() const override { return "Players"; }
    int GetFieldCount() const override { return 5; }
    bool Open(const std::string &path) override { return OpenAndRequery(path); }

    int m_operationID = 0;
    TblBuffer m_familyName;
    double m_amount = 0.0;
    double m_balance = 0.0;
    TblBuffer m_dateTime;
};

class StatisticsTbl : public SQLiteTbl
{
public:
    StatisticsTbl();
    const char *GetTableName() const override { return "Statistics"; }
    int GetFieldCount() const override { return 8; }
    bool Open(const std::string &path) override { return OpenAndRequery(path); }

    int m_operationID = 0;
    TblBuffer m_familyName;
    double m_NG = 0.0;         // hands with a preflop action
    double m_NGamesVPIP = 0.0; // VPIP opportunities
    double m_nVPIP = 0.0;
    double m_nPFR = 0.0;
    double m_n3Bet = 0.0;
    TblBuffer m_dateTime;
};

inline constexpr char kDatabaseFileName[] = "PokerDB.db3";

// The database of a run: owned by the desktop program or brisquel-cli. Opened on the UI thread
// at start-up and written by the game thread when the game stops, never both at once. Both
// tables use one connection so that a save is one transaction.
class CPokerDatabase
{
public:
    CPlayersTbl m_playersTbl;
    StatisticsTbl m_statisticsTbl;
    bool m_usable = false;
    std::string m_path;
    // Why the database could not be opened or the last save failed (SQLite's text).
    std::string m_error;
};

// The counters added to a name's running totals, in the order of the Statistics columns.
struct StatCounters
{
    int n = 0;
    int vpipOpportunities = 0;
    int vpip = 0;
    int pfr = 0;
    int threeBet = 0;
};

struct PersonaResult
{
    std::string name;
    long long amount = 0; // chips won (positive) or lost in this run
    StatCounters counters;
};

// In saving order.
using SessionResult = std::vector<PersonaResult>;

// Opens "PokerDB.db3" in `folder` (the current directory when empty), creating the file or
// whichever table is missing. Returns the usable flag; a failure only disables saving.
bool OpenDatabase(CPokerDatabase &db, const std::string &folder = {});

// One row each; false when nothing was written.
bool AppendLedgerRow(CPokerDatabase &db, std::string name, std::string dateTime, double amount);
bool AppendStatisticsRow(CPokerDatabase &db, std::string name, std::string dateTime,
                         const StatCounters &counters);

// The save time as stored: " %Y.%m.%d  %H:%M:%S\n" in local time; empty if it cannot be made.
std::string FormatSaveTime(std::time_t when);

// Appends a Players and a Statistics row for each entry, all or nothing. False when nothing
// was saved (database unusable, locked past the busy time-out, read-only, a failed insert).
bool SaveSessionResults(CPokerDatabase &db, const SessionResult &result,
                        const std::string &dateTime);
