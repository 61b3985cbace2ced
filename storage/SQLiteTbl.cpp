#include "storage/SQLiteTbl.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include <unistd.h>

namespace {

// Longest accepted field name; longer names declare no field.
constexpr std::size_t kMaxFieldName = 99;
constexpr int kRowIdStep = 5000;

// The errno behind a failed open. SQLite retries a file it cannot create read-only, so its
// own errno says "No such file" for a folder that exists but is not writable.
int OpenFailureCause(const std::string &path, int flags, sqlite3 *db)
{
    if ((flags & SQLITE_OPEN_CREATE) != 0 && ::access(path.c_str(), F_OK) != 0) {
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0)
            return errno;
    }
    return db != nullptr ? sqlite3_system_errno(db) : 0;
}

} // namespace

std::string SQLiteTbl::Bracketed(std::string_view name)
{
    std::string text = "[";
    text += name;
    text += ']';
    return text;
}

void SQLiteTbl::ConnectionCloser::operator()(sqlite3 *db) const
{
    // Every statement is finalized by its owner before this runs, so the close succeeds.
    if (db != nullptr)
        sqlite3_close(db);
}

void SQLiteTbl::StatementFinalizer::operator()(sqlite3_stmt *stmt) const
{
    sqlite3_finalize(stmt);
}

SQLiteTbl::SQLiteTbl() = default;

SQLiteTbl::~SQLiteTbl() = default;

bool SQLiteTbl::IsKnownType(int type)
{
    return type == kFieldText || type == kFieldInt || type == kFieldDouble ||
           type == kFieldLongBinary;
}

void SQLiteTbl::AddField(int index, const char *name, int type, TblBuffer *bound)
{
    AddFieldBound(index, name, type, Bound(bound));
}

void SQLiteTbl::AddField(int index, const char *name, int type, int *bound)
{
    AddFieldBound(index, name, type, Bound(bound));
}

void SQLiteTbl::AddField(int index, const char *name, int type, double *bound)
{
    AddFieldBound(index, name, type, Bound(bound));
}

void SQLiteTbl::AddFieldBound(int index, const char *name, int type, Bound bound)
{
    if (m_fields.empty() && GetFieldCount() > 0)
        m_fields.resize(static_cast<std::size_t>(GetFieldCount()));
    if (index < 0 || index >= static_cast<int>(m_fields.size()) || name == nullptr ||
        std::strlen(name) > kMaxFieldName)
        return;
    Field &field = m_fields[static_cast<std::size_t>(index)];
    field.type = type;
    field.bound = bound;
    field.columnIndex = -1;
    field.name = name;
}

bool SQLiteTbl::OpenConnection(const std::string &path, int flags)
{
    sqlite3 *raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    std::shared_ptr<sqlite3> db(raw, ConnectionCloser{});
    // SQLite retries a file it cannot open for writing read-only; when another program
    // created the file between the two tries, the connection would stay read-only for
    // nothing. One more try then opens it for writing (a truly read-only file stays so).
    if (rc == SQLITE_OK && raw != nullptr && (flags & SQLITE_OPEN_READWRITE) != 0 &&
        sqlite3_db_readonly(raw, "main") == 1) {
        db.reset();
        raw = nullptr;
        rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
        db.reset(raw, ConnectionCloser{});
    }
    if (rc != SQLITE_OK || raw == nullptr) {
        m_lastError = raw != nullptr ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
        // "unable to open database file" alone does not say whether the folder is missing
        // or not writable.
        if (const int code = OpenFailureCause(path, flags, raw); code != 0)
            m_lastError += std::string(" (") + std::strerror(code) + ")";
        return false;
    }
    // Another program (or a second copy of this one) may be writing the file right now.
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    m_db = std::move(db);
    m_open = true;
    m_path = path;
    Execute("PRAGMA auto_vacuum=1");
    return true;
}

bool SQLiteTbl::Open(const std::string &path)
{
    if (m_open || m_db)
        return false;
    return OpenConnection(path, SQLITE_OPEN_READWRITE);
}

bool SQLiteTbl::OpenAndRequery(const std::string &path)
{
    if (m_open || m_db) {
        Close();
        return false;
    }
    if (OpenConnection(path, SQLITE_OPEN_READWRITE) && Requery())
        return true;
    Close();
    return false;
}

bool SQLiteTbl::Create(const std::string &path)
{
    if (m_open || m_db)
        return false;
    if (!OpenConnection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
        return false;
    if (EnsureTable())
        return true;
    Close();
    return false;
}

bool SQLiteTbl::EnsureTable()
{
    if (Requery())
        return true;
    // Another program may be creating the same table right now: look again under the write
    // lock and use its table, rather than fail on "already exists".
    SQLiteTransaction transaction(*this);
    if (!transaction.IsActive())
        return false;
    if (!Requery() && !(CreateTable() && Requery()))
        return false;
    return transaction.Commit();
}

void SQLiteTbl::Close()
{
    m_db.reset();
    m_open = false;
    m_schemaChecked = false;
    m_path.clear();
    // A row being composed belongs to the connection just closed.
    m_editRowId = 0;
    m_adding = false;
}

bool SQLiteTbl::ShareConnection(const SQLiteTbl &owner)
{
    if (m_open || m_db || !owner.IsOpen())
        return false;
    m_db = owner.m_db;
    m_open = true;
    m_schemaChecked = false;
    m_path = owner.m_path;
    return true;
}

bool SQLiteTbl::CreateTable()
{
    if (!IsOpen() || !HasFields())
        return false;
    std::string sql = "CREATE TABLE " + Bracketed(GetTableName()) + " (";
    bool first = true;
    for (const Field &field : m_fields) {
        const char *columnType = nullptr;
        switch (field.type) {
        case kFieldText:
            columnType = " TEXT";
            break;
        case kFieldInt:
            columnType = " INT";
            break;
        case kFieldDouble:
            columnType = " DOUBLE";
            break;
        case kFieldLongBinary:
            columnType = " LongBinary";
            break;
        default:
            continue;
        }
        sql += first ? ' ' : ',';
        sql += Bracketed(field.name);
        sql += columnType;
        first = false;
    }
    sql += ')';
    return Execute(sql);
}

SQLiteTbl::Statement SQLiteTbl::Prepare(const std::string &sql) const
{
    if (!m_db)
        return nullptr;
    sqlite3_stmt *raw = nullptr;
    Statement stmt;
    const int rc = sqlite3_prepare_v2(m_db.get(), sql.c_str(), -1, &raw, nullptr);
    stmt.reset(raw);
    if (rc != SQLITE_OK) {
        m_lastError = sqlite3_errmsg(m_db.get());
        stmt.reset();
    }
    return stmt;
}

int SQLiteTbl::Step(sqlite3_stmt *stmt) const
{
    const int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        m_lastError = sqlite3_errmsg(m_db.get());
    return rc;
}

bool SQLiteTbl::Execute(const std::string &sql)
{
    if (!IsOpen())
        return false;
    Statement stmt = Prepare(sql);
    if (!stmt)
        return false;
    const int rc = Step(stmt.get());
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

void SQLiteTbl::SetFilter(std::string condition, std::vector<std::string> params)
{
    m_filter = std::move(condition);
    m_filterParams = std::move(params);
}

std::string SQLiteTbl::BuildSelect(bool rowIdsOnly, bool withFilter, bool withOrder) const
{
    std::string sql = rowIdsOnly ? "SELECT ROWID FROM " : "SELECT * FROM ";
    sql += Bracketed(GetTableName());
    if (withFilter && !m_filter.empty())
        sql += " WHERE " + m_filter;
    if (withOrder && !m_sort.empty())
        sql += " ORDER BY " + m_sort;
    return sql;
}

void SQLiteTbl::BindFilter(sqlite3_stmt *stmt) const
{
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 0; i < count && i < static_cast<int>(m_filterParams.size()); ++i) {
        const std::string &value = m_filterParams[static_cast<std::size_t>(i)];
        sqlite3_bind_text(stmt, i + 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    }
}

bool SQLiteTbl::CheckSchema()
{
    if (!IsOpen() || !HasFields())
        return false;
    // Another file may have been open before: positions are learned afresh.
    for (Field &field : m_fields)
        field.columnIndex = -1;
    {
        Statement stmt = Prepare(BuildSelect(false, true, true));
        if (!stmt)
            return false;
        m_columnCount = sqlite3_column_count(stmt.get());
        for (int i = 0; i < m_columnCount; ++i) {
            const char *column = sqlite3_column_name(stmt.get(), i);
            if (column == nullptr)
                continue;
            for (Field &field : m_fields) {
                if (IsKnownType(field.type) && field.name == column) {
                    field.columnIndex = i;
                    break;
                }
            }
        }
    }
    const std::string table = GetTableName();
    for (const Field &field : m_fields) {
        if (field.columnIndex != -1)
            continue;
        const std::string alter =
            "ALTER TABLE " + Bracketed(table) + " ADD COLUMN " + Bracketed(field.name);
        const std::string update = "UPDATE " + table + " SET " + Bracketed(field.name);
        // The added column stays unmapped until the next open; it reads as its empty value,
        // which is also what the default below writes.
        switch (field.type) {
        case kFieldText:
            Execute(alter + " TEXT");
            Execute(update + " = \"\"");
            break;
        case kFieldInt:
            Execute(alter + " Integer");
            Execute(update + " = 0");
            break;
        case kFieldDouble:
            Execute(alter + " Double");
            Execute(update + " = 0.0");
            break;
        case kFieldLongBinary:
            Execute(alter + " LongBinary");
            break;
        default:
            break;
        }
    }
    m_schemaChecked = true;
    return true;
}

int SQLiteTbl::GetRecordCount()
{
    if (!m_open && !m_db)
        return 0;
    std::string sql = "SELECT COUNT (*) FROM " + Bracketed(GetTableName());
    if (!m_filter.empty())
        sql += " WHERE " + m_filter;
    Statement stmt = Prepare(sql);
    if (!stmt)
        return 0;
    BindFilter(stmt.get());
    if (Step(stmt.get()) != SQLITE_ROW)
        return 0;
    return sqlite3_column_int(stmt.get(), 0);
}

bool SQLiteTbl::Requery()
{
    if (!IsOpen())
        return false;
    m_loadedCount = 0;
    if (!m_schemaChecked && !CheckSchema())
        return false;
    m_recordCount = GetRecordCount();
    m_position = 1;
    m_rowIds.assign(static_cast<std::size_t>(m_recordCount) + kRowIdStep, 0);
    if (m_recordCount > 0) {
        {
            Statement stmt = Prepare(BuildSelect(true, true, true));
            if (stmt) {
                BindFilter(stmt.get());
                while (m_loadedCount < m_recordCount && Step(stmt.get()) == SQLITE_ROW)
                    m_rowIds[static_cast<std::size_t>(m_loadedCount++)] =
                        sqlite3_column_int(stmt.get(), 0);
            }
        }
        // Rows removed by another connection between the count and the walk.
        m_recordCount = m_loadedCount;
        MoveTo(1);
    }
    return true;
}

bool SQLiteTbl::MoveTo(int n)
{
    if (!IsOpen() || m_rowIds.empty() || m_editRowId != 0 || m_adding || n < 1)
        return false;
    if (m_recordCount == 0)
        return true;
    if (n > m_recordCount) {
        m_position = n;
        return true;
    }
    Statement stmt = Prepare(BuildSelect(false, false, false) + " WHERE ROWID = ?");
    if (stmt) {
        sqlite3_bind_int(stmt.get(), 1, m_rowIds[static_cast<std::size_t>(n - 1)]);
        if (Step(stmt.get()) == SQLITE_ROW)
            ReadRow(stmt.get());
        else
            ReadRow(nullptr); // a row removed meanwhile reads as empty values
    } else {
        ReadRow(nullptr);
    }
    m_position = n;
    return true;
}

bool SQLiteTbl::MoveLast()
{
    if (!IsOpen())
        return false;
    return MoveTo(m_recordCount);
}

bool SQLiteTbl::MoveNext()
{
    if (!IsOpen() || m_position > m_recordCount)
        return false;
    ++m_position;
    return MoveTo(m_position);
}

void SQLiteTbl::ClearFields()
{
    if (!IsOpen() || !HasFields())
        return;
    for (Field &field : m_fields) {
        switch (field.type) {
        case kFieldText:
            if (auto *text = std::get_if<TblBuffer *>(&field.bound); text && *text)
                (*text)->Set({});
            break;
        case kFieldLongBinary:
            if (auto *bytes = std::get_if<TblBuffer *>(&field.bound); bytes && *bytes)
                (*bytes)->Clear();
            break;
        case kFieldInt:
            if (auto *value = std::get_if<int *>(&field.bound); value && *value)
                **value = 0;
            break;
        case kFieldDouble:
            if (auto *value = std::get_if<double *>(&field.bound); value && *value)
                **value = 0.0;
            break;
        default:
            break;
        }
    }
}

void SQLiteTbl::ReadRow(sqlite3_stmt *stmt)
{
    ClearFields();
    const int columns = stmt != nullptr ? sqlite3_column_count(stmt) : 0;
    for (Field &field : m_fields) {
        const int c = field.columnIndex;
        if (c < 0 || c >= columns)
            continue;
        switch (field.type) {
        case kFieldText:
            if (auto *text = std::get_if<TblBuffer *>(&field.bound); text && *text) {
                const auto *chars = sqlite3_column_text(stmt, c);
                const int length = sqlite3_column_bytes(stmt, c);
                if (chars != nullptr)
                    (*text)->Set(std::string_view(reinterpret_cast<const char *>(chars),
                                                  static_cast<std::size_t>(length)));
            }
            break;
        case kFieldLongBinary:
            if (auto *bytes = std::get_if<TblBuffer *>(&field.bound); bytes && *bytes) {
                const void *data = sqlite3_column_blob(stmt, c);
                const int length = sqlite3_column_bytes(stmt, c);
                if (data != nullptr && length > 0)
                    (*bytes)->SetBytes(data, static_cast<std::size_t>(length));
            }
            break;
        case kFieldInt:
            if (auto *value = std::get_if<int *>(&field.bound); value && *value)
                **value = sqlite3_column_int(stmt, c);
            break;
        case kFieldDouble:
            if (auto *value = std::get_if<double *>(&field.bound); value && *value)
                **value = sqlite3_column_double(stmt, c);
            break;
        default:
            break;
        }
    }
    m_editRowId = 0;
    m_adding = false;
}

void SQLiteTbl::AppendRowId(int rowId)
{
    if (m_rowIds.empty())
        m_rowIds.assign(static_cast<std::size_t>(m_recordCount) + kRowIdStep, 0);
    if (m_recordCount + 1 >= static_cast<int>(m_rowIds.size()))
        m_rowIds.resize(m_rowIds.size() + kRowIdStep, 0);
    m_rowIds[static_cast<std::size_t>(m_recordCount)] = rowId;
    ++m_recordCount;
}

int SQLiteTbl::GetFieldColumn(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_fields.size()))
        return -1;
    return m_fields[static_cast<std::size_t>(index)].columnIndex;
}

int SQLiteTbl::GetCurrentRowId() const
{
    if (IsEOF() || m_position < 1 || m_position > static_cast<int>(m_rowIds.size()))
        return 0;
    return m_rowIds[static_cast<std::size_t>(m_position - 1)];
}
