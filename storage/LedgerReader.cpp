#include "storage/LedgerReader.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

namespace {

constexpr int kBusyWaitMs = 3000;

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

// What SQLite's last failure on `db` means for someone reading the file at `path`.
std::string WhyUnreadable(sqlite3 *db, const std::string &path)
{
    const int code = sqlite3_extended_errcode(db);
    if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED)
        return path + " is locked by another program, which kept it for longer than the " +
               std::to_string(kBusyWaitMs / 1000) + " seconds waited; try again later";
    if (code == SQLITE_READONLY_ROLLBACK)
        return path + ": a save into it was cut off (its -journal file is still there); the " +
               "next game saved into it undoes the cut-off save, until then it cannot be read";
    if ((code & 0xff) == SQLITE_NOTADB)
        return path + " is not a Brisquel database (" + sqlite3_errmsg(db) + ")";
    return path + " cannot be read: " + sqlite3_errmsg(db);
}

// A database in WAL mode needs its -shm index even to be read, and SQLite creates it (and the
// -wal file) beside the database. With neither there, no other program has the file open and
// nothing waits to be checkpointed: opened as immutable, the file reads as it is and nothing is
// created. Otherwise (the other program's files are there) the ordinary read-only open uses them.
bool WalWithoutCompanions(const std::string &path)
{
    char header[20] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(header, sizeof header) || std::memcmp(header, "SQLite format 3", 16) != 0)
        return false;
    std::error_code ec;
    return header[18] == 2 && header[19] == 2 && !std::filesystem::exists(path + "-wal", ec) &&
           !std::filesystem::exists(path + "-shm", ec);
}

// "file:" URI of a path: '%', '?' and '#' would otherwise end or change it.
std::string ImmutableUri(const std::string &path)
{
    std::string uri = "file:";
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    for (const char c : (ec ? std::filesystem::path(path) : absolute).string()) {
        if (c == '%')
            uri += "%25";
        else if (c == '?')
            uri += "%3f";
        else if (c == '#')
            uri += "%23";
        else
            uri += c;
    }
    return uri + "?immutable=1";
}

// Numbers of a damaged or foreign file can be anything; the columns print chips (below a
// trillion) and counts that fit an int.
constexpr double kMaxChips = 1e12;
constexpr double kMaxCount = 2147483647.0;

bool InRange(double value, double low, double high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

std::string TextColumn(sqlite3_stmt *statement, int column)
{
    const unsigned char *text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char *>(text) : std::string();
}

// False with `error` set when the file cannot be read.
bool HasTable(sqlite3 *db, const std::string &path, const char *table, std::string &error)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?", -1,
                           &raw, nullptr) != SQLITE_OK) {
        error = WhyUnreadable(db, path);
        return false;
    }
    Statement statement(raw);
    sqlite3_bind_text(raw, 1, table, -1, SQLITE_STATIC);
    const int rc = sqlite3_step(raw);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        error = WhyUnreadable(db, path);
    return rc == SQLITE_ROW;
}

// Calls `take(number, text)` for every row of `table` in the order of appending;
// number(column, low, high) reads a number that must lie in [low, high].
template <typename Take>
bool ReadRows(sqlite3 *db, const std::string &path, const std::string &table, std::string &error,
              Take take)
{
    sqlite3_stmt *raw = nullptr;
    const std::string sql = "SELECT * FROM [" + table + "] ORDER BY ROWID";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        error = WhyUnreadable(db, path);
        return false;
    }
    Statement statement(raw);
    std::map<std::string, int> columns;
    for (int c = 0; c < sqlite3_column_count(raw); ++c)
        columns[sqlite3_column_name(raw, c)] = c;
    int row = 0;
    std::string damage;
    // Columns an older table lacks read as 0 or empty.
    const auto number = [&](const char *name, double low, double high) {
        const auto it = columns.find(name);
        const double value = it == columns.end() ? 0.0 : sqlite3_column_double(raw, it->second);
        if (InRange(value, low, high))
            return value;
        if (damage.empty()) {
            char shown[32];
            std::snprintf(shown, sizeof shown, "%g", value);
            damage = path + " is damaged: row " + std::to_string(row) + " of its " + table +
                     " table holds " + name + " = " + shown + ", out of range";
        }
        return 0.0;
    };
    const auto text = [&](const char *name) {
        const auto it = columns.find(name);
        return it == columns.end() ? std::string() : TextColumn(raw, it->second);
    };
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        ++row;
        take(number, text);
        if (!damage.empty()) {
            error = damage;
            return false;
        }
    }
    if (rc != SQLITE_DONE) {
        error = WhyUnreadable(db, path);
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
        // A symlink loop or a folder without access is not a missing file.
        error = ec ? path + " cannot be read: " + ec.message() : "No database file at " + path;
        return false;
    }
    sqlite3 *raw = nullptr;
    const bool immutable = WalWithoutCompanions(path);
    const int rc = immutable ? sqlite3_open_v2(ImmutableUri(path).c_str(), &raw,
                                               SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr)
                             : sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK) {
        error = "Cannot open " + path + ": " + (raw ? sqlite3_errmsg(raw) : "out of memory");
        return false;
    }
    sqlite3_busy_timeout(raw, kBusyWaitMs);
    std::string why;
    const bool players = HasTable(raw, path, "Players", why);
    const bool statistics = why.empty() && HasTable(raw, path, "Statistics", why);
    if (!why.empty()) {
        error = why;
        return false;
    }
    if (!players && !statistics) {
        error = path + " holds no Players or Statistics table: not a Brisquel database";
        return false;
    }
    const double chips = kMaxChips, count = kMaxCount;
    if (players &&
        !ReadRows(raw, path, "Players", error, [&](const auto &number, const auto &text) {
            out.players.push_back({static_cast<int>(number("OperationID", -count, count)),
                                   text("Family_Name"), number("Amount", -chips, chips),
                                   number("Balance", -chips, chips), text("DateTime")});
        }))
        return false;
    if (statistics &&
        !ReadRows(raw, path, "Statistics", error, [&](const auto &number, const auto &text) {
            out.statistics.push_back(
                {static_cast<int>(number("OperationID", -count, count)), text("Family_Name"),
                 number("NG", 0, count), number("NGamesVPIP", 0, count), number("nVPIP", 0, count),
                 number("nPFR", 0, count), number("n3Bet", 0, count), text("DateTime")});
        }))
        return false;
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
