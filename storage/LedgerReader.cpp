#include "storage/LedgerReader.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

namespace {

struct DbCloser
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
struct StatementFinalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using DbHandle = std::unique_ptr<sqlite3, DbCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::string TextColumn(sqlite3_stmt *statement, int column)
{
    const unsigned char *text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char *>(text) : std::string();
}

bool HasTable(sqlite3 *db, const char *table, std::string &error)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?", -1,
                           &raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    Statement statement(raw);
    sqlite3_bind_text(raw, 1, table, -1, SQLITE_STATIC);
    const int rc = sqlite3_step(raw);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        error = sqlite3_errmsg(db);
    return rc == SQLITE_ROW;
}

// Calls `take(number, text)` for every row of `table` in the order of appending.
template <typename Take>
bool ReadRows(sqlite3 *db, const std::string &table, std::string &error, Take take)
{
    sqlite3_stmt *raw = nullptr;
    const std::string sql = "SELECT * FROM [" + table + "] ORDER BY ROWID";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        return false;
    }
    Statement statement(raw);
    std::map<std::string, int> columns;
    for (int c = 0; c < sqlite3_column_count(raw); ++c)
        columns[sqlite3_column_name(raw, c)] = c;
    // Columns an older table lacks read as 0 or empty.
    const auto number = [&](const char *name) {
        const auto it = columns.find(name);
        return it == columns.end() ? 0.0 : sqlite3_column_double(raw, it->second);
    };
    const auto text = [&](const char *name) {
        const auto it = columns.find(name);
        return it == columns.end() ? std::string() : TextColumn(raw, it->second);
    };
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        take(number, text);
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(db);
        return false;
    }
    return true;
}

std::string DateWithoutLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

bool ReadLedger(const std::string &path, LedgerContents &out, std::string &error)
{
    out = {};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "No database file at " + path;
        return false;
    }
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK) {
        error = "Cannot open " + path + ": " + (raw ? sqlite3_errmsg(raw) : "out of memory");
        return false;
    }
    sqlite3_busy_timeout(raw, 3000);
    std::string why;
    const bool players = HasTable(raw, "Players", why);
    const bool statistics = why.empty() && HasTable(raw, "Statistics", why);
    if (!why.empty()) {
        // SQLite says "file is not a database" for another program's file.
        error = path + " is not a Brisquel database (" + why + ")";
        return false;
    }
    if (!players && !statistics) {
        error = path + " holds no Players or Statistics table: not a Brisquel database";
        return false;
    }
    if (players && !ReadRows(raw, "Players", why, [&](const auto &number, const auto &text) {
            out.players.push_back({static_cast<int>(number("OperationID")), text("Family_Name"),
                                   number("Amount"), number("Balance"), text("DateTime")});
        })) {
        error = "Cannot read the Players table of " + path + ": " + why;
        return false;
    }
    if (statistics && !ReadRows(raw, "Statistics", why, [&](const auto &number, const auto &text) {
            out.statistics.push_back({static_cast<int>(number("OperationID")), text("Family_Name"),
                                      number("NG"), number("NGamesVPIP"), number("nVPIP"),
                                      number("nPFR"), number("n3Bet"), text("DateTime")});
        })) {
        error = "Cannot read the Statistics table of " + path + ": " + why;
        return false;
    }
    return true;
}

double Percent(double count, double base)
{
    return base > 0 ? 100.0 * count / base : 0.0;
}

std::vector<std::string> LedgerNames(const LedgerContents &contents)
{
    std::vector<std::string> names;
    const auto add = [&names](const std::string &name) {
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    for (const LedgerRow &row : contents.players)
        add(row.name);
    for (const StatisticsRow &row : contents.statistics)
        add(row.name);
    return names;
}

std::vector<NameSummary> SummarizeLedger(const LedgerContents &contents)
{
    std::vector<NameSummary> summaries;
    for (const std::string &name : LedgerNames(contents)) {
        NameSummary s;
        s.name = name;
        for (const LedgerRow &row : contents.players) {
            if (row.name != name)
                continue;
            ++s.games;
            s.totalWon += row.amount;
            s.lastBalance = row.balance;
        }
        for (const StatisticsRow &row : contents.statistics) {
            if (row.name != name)
                continue;
            s.hands = static_cast<int>(row.n);
            s.vpip = Percent(row.vpip, row.vpipOpportunities);
            s.pfr = Percent(row.pfr, row.n);
            s.threeBet = Percent(row.threeBet, row.n);
        }
        summaries.push_back(s);
    }
    return summaries;
}

std::vector<BalancePoint> BalanceSeries(const LedgerContents &contents, const std::string &name)
{
    std::vector<BalancePoint> points;
    for (const LedgerRow &row : contents.players) {
        if (row.name == name)
            points.push_back({static_cast<int>(points.size()) + 1, row.balance,
                              DateWithoutLineEnd(row.dateTime)});
    }
    return points;
}

std::vector<GameStatistics> StatisticsPerGame(const LedgerContents &contents,
                                              const std::string &name)
{
    std::vector<GameStatistics> games;
    StatisticsRow previous;
    for (const StatisticsRow &row : contents.statistics) {
        if (row.name != name)
            continue;
        GameStatistics g;
        g.game = static_cast<int>(games.size()) + 1;
        g.hands = static_cast<int>(row.n - previous.n);
        g.vpipOpportunities = static_cast<int>(row.vpipOpportunities - previous.vpipOpportunities);
        g.vpip = Percent(row.vpip - previous.vpip, g.vpipOpportunities);
        g.pfr = Percent(row.pfr - previous.pfr, g.hands);
        g.threeBet = Percent(row.threeBet - previous.threeBet, g.hands);
        g.date = DateWithoutLineEnd(row.dateTime);
        games.push_back(g);
        previous = row;
    }
    return games;
}
