#include "storage/PokerTables.h"

#include <filesystem>

CPlayersTbl::CPlayersTbl()
{
    m_familyName.Set({});
    m_dateTime.Set({});
    AddField(0, "OperationID", kFieldInt, &m_operationID);
    AddField(1, "Family_Name", kFieldText, &m_familyName);
    AddField(2, "Amount", kFieldDouble, &m_amount);
    AddField(3, "Balance", kFieldDouble, &m_balance);
    AddField(4, "DateTime", kFieldText, &m_dateTime);
}

StatisticsTbl::StatisticsTbl()
{
    m_familyName.Set({});
    m_dateTime.Set({});
    AddField(0, "OperationID", kFieldInt, &m_operationID);
    AddField(1, "Family_Name", kFieldText, &m_familyName);
    AddField(2, "NG", kFieldDouble, &m_NG);
    AddField(3, "NGamesVPIP", kFieldDouble, &m_NGamesVPIP);
    AddField(4, "nVPIP", kFieldDouble, &m_nVPIP);
    AddField(5, "nPFR", kFieldDouble, &m_nPFR);
    AddField(6, "n3Bet", kFieldDouble, &m_n3Bet);
    AddField(7, "DateTime", kFieldText, &m_dateTime);
}

namespace {

// Opens the table on the connection of `owner`, creating it when the file lacks it.
bool OpenOrCreateShared(SQLiteTbl &table, const SQLiteTbl &owner)
{
    if (!table.ShareConnection(owner))
        return false;
    if (table.EnsureTable())
        return true;
    table.Close();
    return false;
}

// The OperationID of the last row of the current row set, 0 for an empty set.
template <typename Table> int LastOperationId(Table &table)
{
    int lastId = 0;
    table.MoveLast();
    while (!table.IsEOF()) {
        lastId = table.m_operationID;
        table.MoveNext();
    }
    return lastId;
}

// An empty name is filtered too: without a filter its balance would be the last row's of
// whichever name was saved last.
void FilterOnName(SQLiteTbl &table, const std::string &name)
{
    table.SetFilter("[Family_Name]=?", {name});
}

// Back to the whole table, as right after opening.
void Unfilter(SQLiteTbl &table)
{
    table.SetFilter({});
    table.Requery();
}

} // namespace

bool OpenDatabase(CPokerDatabase &db, const std::string &folder)
{
    db.m_path = folder.empty() ? std::string(kDatabaseFileName)
                               : (std::filesystem::path(folder) / kDatabaseFileName).string();
    db.m_playersTbl.Close();
    db.m_statisticsTbl.Close();
    db.m_usable = true;

    db.m_error.clear();

    if (!db.m_playersTbl.Open(db.m_path) && !db.m_playersTbl.Create(db.m_path)) {
        db.m_error = db.m_playersTbl.LastError();
        db.m_usable = false;
        return false;
    }
    // A file holding only one of the tables gets the other, or one ledger would never save.
    if (!OpenOrCreateShared(db.m_statisticsTbl, db.m_playersTbl)) {
        db.m_error = db.m_statisticsTbl.LastError();
        db.m_playersTbl.Close();
        db.m_usable = false;
        return false;
    }
    return true;
}

bool AppendLedgerRow(CPokerDatabase &db, std::string name, std::string dateTime, double amount)
{
    CPlayersTbl &table = db.m_playersTbl;
    if (!db.m_usable || !table.IsOpen())
        return false;

    // The current row set ends with the row appended last (or is the whole table).
    const int lastId = LastOperationId(table);

    FilterOnName(table, name);
    if (!table.Requery())
        return false;
    double previousBalance = 0.0;
    table.MoveLast();
    while (!table.IsEOF()) {
        previousBalance = table.m_balance;
        table.MoveNext();
    }

    table.AddNew();
    table.m_operationID = lastId + 1;
    table.m_familyName.Set(name);
    table.m_amount = amount;
    table.m_balance = amount + previousBalance;
    table.m_dateTime.Set(dateTime);
    return table.Update();
}

bool AppendStatisticsRow(CPokerDatabase &db, std::string name, std::string dateTime,
                         const StatCounters &counters)
{
    StatisticsTbl &table = db.m_statisticsTbl;
    if (!db.m_usable || !table.IsOpen())
        return false;

    const int lastId = LastOperationId(table);

    FilterOnName(table, name);
    if (!table.Requery())
        return false;
    double totals[5] = {};
    table.MoveLast();
    while (!table.IsEOF()) {
        totals[0] = table.m_NG;
        totals[1] = table.m_NGamesVPIP;
        totals[2] = table.m_nVPIP;
        totals[3] = table.m_nPFR;
        totals[4] = table.m_n3Bet;
        table.MoveNext();
    }

    table.AddNew();
    table.m_operationID = lastId + 1;
    table.m_familyName.Set(name);
    table.m_NG = counters.n + totals[0];
    table.m_NGamesVPIP = counters.vpipOpportunities + totals[1];
    table.m_nVPIP = counters.vpip + totals[2];
    table.m_nPFR = counters.pfr + totals[3];
    table.m_n3Bet = counters.threeBet + totals[4];
    table.m_dateTime.Set(dateTime);
    return table.Update();
}

std::string FormatSaveTime(std::time_t when)
{
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr)
        return {};
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, " %Y.%m.%d  %H:%M:%S\n", &local);
    return std::string(text, length);
}

bool SaveSessionResults(CPokerDatabase &db, const SessionResult &result,
                        const std::string &dateTime)
{
    if (!db.m_usable || !db.m_playersTbl.IsOpen() || !db.m_statisticsTbl.IsOpen()) {
        if (db.m_error.empty())
            db.m_error = "the database is not open";
        return false;
    }

    bool saved = false;
    {
        SQLiteTransaction transaction(db.m_playersTbl);
        const SQLiteTbl *failed = &db.m_playersTbl;
        if (transaction.IsActive()) {
            // Under the write lock: rows another program appended since the open count too.
            Unfilter(db.m_playersTbl);
            Unfilter(db.m_statisticsTbl);
            bool ok = true;
            for (const PersonaResult &persona : result) {
                ok = ok && AppendLedgerRow(db, persona.name, dateTime, persona.amount);
                if (ok && !AppendStatisticsRow(db, persona.name, dateTime, persona.counters)) {
                    ok = false;
                    failed = &db.m_statisticsTbl;
                }
            }
            saved = ok && transaction.Commit();
        }
        db.m_error = saved ? std::string() : failed->LastError();
    }
    if (!saved) {
        // The rolled-back rows are still in the row sets; forget them.
        Unfilter(db.m_playersTbl);
        Unfilter(db.m_statisticsTbl);
    }
    return saved;
}
