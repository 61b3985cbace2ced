#pragma once
// Reading PokerDB.db3 back: the rows of both ledgers, a summary per name and the per-game
// series the progress charts draw. The file is opened read-only, so that looking at a
// database never creates or changes one.
//
// Threads: free functions on values; any thread. SQLite's own locking lets the game thread
// append while a reader looks.

#include <string>
#include <vector>

struct LedgerRow
{
    int operationId = 0;
    std::string name;
    double amount = 0;
    double balance = 0;
    std::string dateTime; // as stored: " 2026.12.08  12:04:07\n"
};

struct StatisticsRow
{
    int operationId = 0;
    std::string name;
    double n = 0; // running totals
    double vpipOpportunities = 0;
    double vpip = 0;
    double pfr = 0;
    double threeBet = 0;
    std::string dateTime;
};

struct LedgerContents
{
    std::vector<LedgerRow> players;        // in the order of appending
    std::vector<StatisticsRow> statistics; // likewise
    bool isEmpty() const { return players.empty() && statistics.empty(); }
};

// Reads both tables of an existing database. False with a message naming the file when it is
// missing, not an SQLite database, or has neither table. A file that lacks one of the two
// tables reads with that one empty.
bool ReadLedger(const std::string &path, LedgerContents &out, std::string &error);

struct NameSummary
{
    std::string name;
    int games = 0;       // ledger rows of the name: one per saved game
    double totalWon = 0; // sum of the amounts
    double lastBalance = 0;
    int hands = 0;   // the running N of the last statistics row
    double vpip = 0; // per cent of the running totals
    double pfr = 0;
    double threeBet = 0;
};

// One entry per name, in the order the names first appear in the ledger.
std::vector<NameSummary> SummarizeLedger(const LedgerContents &contents);

// The names of the ledger in the order of their first row.
std::vector<std::string> LedgerNames(const LedgerContents &contents);

// A name's k-th ledger row is its game k (1-based): every save writes one row per name.
struct BalancePoint
{
    int game = 0;
    double balance = 0;
    std::string date; // " 2026.12.08  12:04:07" without the stored line feed
};
std::vector<BalancePoint> BalanceSeries(const LedgerContents &contents, const std::string &name);

// A game's own counters: the difference between a name's consecutive running totals.
struct GameStatistics
{
    int game = 0;
    int hands = 0; // N of the game, the denominator of PFR and 3-bet
    int vpipOpportunities = 0;
    double vpip = 0; // per cent; 0 when the game had no hand
    double pfr = 0;
    double threeBet = 0;
    std::string date;
};
std::vector<GameStatistics> StatisticsPerGame(const LedgerContents &contents,
                                              const std::string &name);

// Counts as a percentage of their base, 0 for an empty base.
double Percent(double count, double base);
