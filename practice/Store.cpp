#include "practice/Store.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace practice {

namespace {

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS spots (key TEXT PRIMARY KEY, game TEXT, player TEXT, hand "
    "INTEGER, decision INTEGER, street INTEGER, position INTEGER, faced INTEGER, grade INTEGER, "
    "loss REAL, played TEXT, cards TEXT, pot INTEGER, to_call INTEGER, big_blind INTEGER, "
    "options TEXT, covariance TEXT, repetitions INTEGER, interval INTEGER, ease REAL, due "
    "INTEGER, tries INTEGER, variant INTEGER, again INTEGER);"
    "CREATE TABLE IF NOT EXISTS tries (id INTEGER PRIMARY KEY, spot TEXT, at INTEGER, right "
    "INTEGER, loss REAL);";
constexpr char kSpotColumns[] =
    "key, game, player, hand, decision, street, position, faced, grade, loss, played, cards, "
    "pot, to_call, big_blind, options, covariance, repetitions, interval, ease, due, tries, "
    "variant, again";

struct Statement
{
    sqlite3_stmt *raw = nullptr;
    ~Statement() { sqlite3_finalize(raw); }
};

std::string Text(sqlite3_stmt *statement, int column)
{
    const unsigned char *text = sqlite3_column_text(statement, column);
    return text != nullptr ? reinterpret_cast<const char *>(text) : "";
}

// The hole cards then the board, as card numbers.
std::string CardsField(const Spot &spot)
{
    std::string text = std::to_string(spot.hole[0]) + " " + std::to_string(spot.hole[1]);
    for (int card : spot.board)
        text += " " + std::to_string(card);
    return text;
}

bool ReadCards(const std::string &text, Spot &spot)
{
    std::istringstream in(text);
    if (!(in >> spot.hole[0] >> spot.hole[1]))
        return false;
    for (int card; in >> card;)
        spot.board.push_back(card);
    return spot.board.size() <= 5;
}

std::string OptionsField(const std::vector<playout::Option> &options)
{
    std::string text;
    for (const playout::Option &o : options) {
        char line[160];
        std::snprintf(line, sizeof line, "%d %d %d %.17g %.17g %d;", static_cast<int>(o.kind),
                      o.total, o.put, o.evBb, o.errorBb, o.samples);
        text += line;
    }
    return text;
}

bool ReadOptions(const std::string &text, std::vector<playout::Option> &options)
{
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ';');) {
        std::istringstream fields(item);
        playout::Option o;
        int kind = 0;
        if (!(fields >> kind >> o.total >> o.put >> o.evBb >> o.errorBb >> o.samples) || kind < 0 ||
            kind > static_cast<int>(playout::OptionKind::AllIn))
            return false;
        o.kind = static_cast<playout::OptionKind>(kind);
        options.push_back(o);
    }
    return !options.empty();
}

std::string NumbersField(const std::vector<double> &numbers)
{
    std::string text;
    for (double number : numbers) {
        char field[40];
        std::snprintf(field, sizeof field, "%.17g ", number);
        text += field;
    }
    return text;
}

bool InRange(int value, int last)
{
    return value >= 0 && value <= last;
}

} // namespace

bool Store::Run(const char *sql, std::string &error)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message != nullptr ? message : sqlite3_errmsg(m_db.get());
    sqlite3_free(message);
    return false;
}

// The tables made and read back. `damaged` tells a file that is not a sound deck (not a
// database, corrupt, other tables) from one that cannot be read now (locked, read-only, I/O).
bool Store::Prepare(int busyMillis, std::string &error, bool &damaged)
{
    damaged = false;
    sqlite3_busy_timeout(m_db.get(), busyMillis);
    const auto failed = [&](const std::string &why) {
        const int code = sqlite3_errcode(m_db.get()) & 0xff;
        damaged = code == SQLITE_NOTADB || code == SQLITE_CORRUPT || code == SQLITE_ERROR;
        error = why;
        return false;
    };
    Statement statement;
    if (sqlite3_prepare_v2(m_db.get(), "PRAGMA quick_check", -1, &statement.raw, nullptr) !=
            SQLITE_OK ||
        sqlite3_step(statement.raw) != SQLITE_ROW)
        return failed(sqlite3_errmsg(m_db.get()));
    if (const std::string check = Text(statement.raw, 0); check != "ok") {
        damaged = true;
        error = check;
        return false;
    }
    std::string why;
    if (!Run(kSchema, why))
        return failed(why);
    const std::string probe = std::string("SELECT ") + kSpotColumns +
                              " FROM spots LIMIT 1;"
                              "SELECT spot, at, right, loss FROM tries LIMIT 1";
    return Run(probe.c_str(), why) || failed(why);
}

bool Store::Open(const std::string &path, std::string &error, int busyMillis)
{
    m_notice.clear();
    for (int attempt = 0; attempt < 2; ++attempt) {
        sqlite3 *raw = nullptr;
        const int rc = sqlite3_open_v2(path.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        m_db.reset(raw, [](sqlite3 *db) { sqlite3_close(db); });
        if (rc != SQLITE_OK) {
            error = path + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
            m_db.reset();
            return false;
        }
        std::string why;
        bool damaged = false;
        if (Prepare(busyMillis, why, damaged))
            return true;
        m_db.reset();
        if (!damaged || attempt > 0) {
            error = path + ": " + why;
            return false;
        }
        // Set aside, not deleted: what it held may still be read by hand. Its journal goes
        // with it, or SQLite would roll it back into the new file.
        std::error_code code;
        std::filesystem::rename(path, path + ".damaged", code);
        if (code) {
            error = path + " is damaged (" + why + ") and cannot be set aside: " + code.message();
            return false;
        }
        std::error_code noJournal;
        std::filesystem::rename(path + "-journal", path + ".damaged-journal", noJournal);
        m_notice = path + " was damaged (" + why + "); it is kept as " + path +
                   ".damaged and the practice deck starts anew";
    }
    return false;
}

int Store::Add(const std::vector<Spot> &spots, std::string &error)
{
    const std::string sql = std::string("INSERT OR IGNORE INTO spots (") + kSpotColumns +
                            ") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    Statement statement;
    if (!Run("BEGIN", error))
        return -1;
    if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &statement.raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(m_db.get());
        Run("ROLLBACK", error);
        return -1;
    }
    int added = 0;
    for (const Spot &spot : spots) {
        sqlite3_stmt *s = statement.raw;
        const std::string texts[] = {spot.key(),
                                     spot.game,
                                     spot.player,
                                     spot.played,
                                     CardsField(spot),
                                     OptionsField(spot.options),
                                     NumbersField(spot.covariance)};
        sqlite3_bind_text(s, 1, texts[0].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, texts[1].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, texts[2].c_str(), -1, SQLITE_TRANSIENT);
        const int numbers[] = {spot.hand,
                               spot.decision,
                               static_cast<int>(spot.leak.street),
                               static_cast<int>(spot.leak.position),
                               static_cast<int>(spot.leak.faced),
                               static_cast<int>(spot.leak.grade)};
        for (int n = 0; n < 6; ++n)
            sqlite3_bind_int(s, 4 + n, numbers[n]);
        sqlite3_bind_double(s, 10, spot.lossBb);
        sqlite3_bind_text(s, 11, texts[3].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 12, texts[4].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 13, spot.pot);
        sqlite3_bind_int(s, 14, spot.toCall);
        sqlite3_bind_int(s, 15, spot.bigBlind);
        sqlite3_bind_text(s, 16, texts[5].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 17, texts[6].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(s, 18, spot.schedule.repetitions);
        sqlite3_bind_int(s, 19, spot.schedule.intervalDays);
        sqlite3_bind_double(s, 20, spot.schedule.ease);
        sqlite3_bind_int64(s, 21, spot.due);
        sqlite3_bind_int(s, 22, spot.tries);
        sqlite3_bind_int(s, 23, spot.variant);
        sqlite3_bind_int(s, 24, spot.again ? 1 : 0);
        if (sqlite3_step(s) != SQLITE_DONE) {
            error = sqlite3_errmsg(m_db.get());
            std::string ignored;
            Run("ROLLBACK", ignored);
            return -1;
        }
        added += sqlite3_changes(m_db.get());
        sqlite3_reset(s);
    }
    return Run("COMMIT", error) ? added : -1;
}

bool Store::Load(std::vector<Spot> &spots, std::string &error)
{
    const std::string sql = std::string("SELECT ") + kSpotColumns + " FROM spots ORDER BY key";
    Statement statement;
    if (sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &statement.raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(m_db.get());
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.raw)) == SQLITE_ROW) {
        sqlite3_stmt *s = statement.raw;
        Spot spot;
        spot.game = Text(s, 1);
        spot.player = Text(s, 2);
        spot.hand = sqlite3_column_int(s, 3);
        spot.decision = sqlite3_column_int(s, 4);
        const int street = sqlite3_column_int(s, 5), position = sqlite3_column_int(s, 6),
                  faced = sqlite3_column_int(s, 7), grade = sqlite3_column_int(s, 8);
        // A row written by something else is left out rather than shown wrong.
        if (!InRange(street, 3) || !InRange(position, 3) || !InRange(faced, 2) ||
            !InRange(grade, 3))
            continue;
        spot.leak = {static_cast<history::Street>(street), static_cast<coach::Position>(position),
                     static_cast<Faced>(faced), static_cast<playout::Grade>(grade)};
        spot.lossBb = sqlite3_column_double(s, 9);
        spot.played = Text(s, 10);
        spot.pot = sqlite3_column_int(s, 12);
        spot.toCall = sqlite3_column_int(s, 13);
        spot.bigBlind = sqlite3_column_int(s, 14);
        spot.schedule = {sqlite3_column_int(s, 17), sqlite3_column_int(s, 18),
                         sqlite3_column_double(s, 19)};
        spot.due = sqlite3_column_int64(s, 20);
        spot.tries = sqlite3_column_int(s, 21);
        spot.variant = sqlite3_column_int(s, 22);
        spot.again = sqlite3_column_int(s, 23) != 0;
        std::istringstream covariance(Text(s, 16));
        for (double value; covariance >> value;)
            spot.covariance.push_back(value);
        if (ReadCards(Text(s, 11), spot) && ReadOptions(Text(s, 15), spot.options) &&
            spot.key() == Text(s, 0) &&
            (spot.covariance.empty() ||
             spot.covariance.size() == spot.options.size() * spot.options.size()))
            spots.push_back(std::move(spot));
    }
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(m_db.get());
        return false;
    }
    return true;
}

bool Store::Answered(const Spot &spot, const Try &attempt, std::string &error)
{
    Statement update, insert;
    if (!Run("BEGIN", error))
        return false;
    const std::string key = spot.key();
    bool ok =
        sqlite3_prepare_v2(m_db.get(),
                           "UPDATE spots SET repetitions=?, interval=?, ease=?, due=?, "
                           "tries=?, again=? WHERE key=?",
                           -1, &update.raw, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(m_db.get(), "INSERT INTO tries (spot, at, right, loss) VALUES (?,?,?,?)",
                           -1, &insert.raw, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_bind_int(update.raw, 1, spot.schedule.repetitions);
        sqlite3_bind_int(update.raw, 2, spot.schedule.intervalDays);
        sqlite3_bind_double(update.raw, 3, spot.schedule.ease);
        sqlite3_bind_int64(update.raw, 4, spot.due);
        sqlite3_bind_int(update.raw, 5, spot.tries);
        sqlite3_bind_int(update.raw, 6, spot.again ? 1 : 0);
        sqlite3_bind_text(update.raw, 7, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert.raw, 1, attempt.spot.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert.raw, 2, attempt.at);
        sqlite3_bind_int(insert.raw, 3, attempt.right ? 1 : 0);
        sqlite3_bind_double(insert.raw, 4, attempt.lossBb);
        ok = sqlite3_step(update.raw) == SQLITE_DONE && sqlite3_step(insert.raw) == SQLITE_DONE;
    }
    if (!ok) {
        error = sqlite3_errmsg(m_db.get());
        std::string ignored;
        Run("ROLLBACK", ignored);
        return false;
    }
    return Run("COMMIT", error);
}

bool Store::Tries(std::vector<Try> &tries, std::string &error)
{
    Statement statement;
    if (sqlite3_prepare_v2(m_db.get(), "SELECT spot, at, right, loss FROM tries ORDER BY id", -1,
                           &statement.raw, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(m_db.get());
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.raw)) == SQLITE_ROW)
        tries.push_back({Text(statement.raw, 0), sqlite3_column_int64(statement.raw, 1),
                         sqlite3_column_int(statement.raw, 2) != 0,
                         sqlite3_column_double(statement.raw, 3)});
    if (rc != SQLITE_DONE) {
        error = sqlite3_errmsg(m_db.get());
        return false;
    }
    return true;
}

} // namespace practice
