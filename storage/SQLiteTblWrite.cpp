// Writing rows: composing a new one or rewriting the current one, the insert by column names
// for a table that has more columns than fields, and the transaction around the writes.

#include "storage/SQLiteTbl.h"

#include <sqlite3.h>

void SQLiteTbl::AddNew()
{
    if (!IsOpen() || !HasFields() || m_editRowId != 0 || m_adding)
        return;
    ClearFields();
    m_adding = true;
}

bool SQLiteTbl::Edit()
{
    if (!IsOpen() || !HasFields() || m_editRowId != 0 || m_adding || IsEOF() || m_position < 1)
        return false;
    m_editRowId = m_rowIds[static_cast<std::size_t>(m_position - 1)];
    return m_editRowId > 0;
}

void SQLiteTbl::BindField(sqlite3_stmt *stmt, int param, const Field &field) const
{
    switch (field.type) {
    case kFieldText:
        if (auto *text = std::get_if<TblBuffer *>(&field.bound); text && *text) {
            const std::size_t size = (*text)->size();
            // A cleared value binds NULL, an empty text binds ''.
            sqlite3_bind_text(stmt, param, size > 0 ? (*text)->data() : nullptr,
                              size > 1 ? static_cast<int>(size - 1) : 0, SQLITE_STATIC);
        }
        break;
    case kFieldLongBinary:
        if (auto *bytes = std::get_if<TblBuffer *>(&field.bound); bytes && *bytes)
            sqlite3_bind_blob(stmt, param, (*bytes)->data(), static_cast<int>((*bytes)->size()),
                              SQLITE_STATIC);
        break;
    case kFieldInt:
        if (auto *value = std::get_if<int *>(&field.bound); value && *value)
            sqlite3_bind_int(stmt, param, **value);
        break;
    case kFieldDouble:
        if (auto *value = std::get_if<double *>(&field.bound); value && *value)
            sqlite3_bind_double(stmt, param, **value);
        break;
    default:
        break;
    }
}

bool SQLiteTbl::Update()
{
    if (GetFieldCount() < m_columnCount && m_adding)
        return InsertNamed();
    if (!IsOpen() || !HasFields() || (m_editRowId <= 0 && !m_adding))
        return false;

    const std::string table = Bracketed(GetTableName());
    std::string sql;
    if (m_adding) {
        // Columns are named: a column added to an older table sits at its end, not in field
        // order.
        std::string columns;
        std::string values;
        for (const Field &field : m_fields) {
            if (!IsKnownType(field.type))
                continue;
            columns += columns.empty() ? "" : ",";
            columns += Bracketed(field.name);
            values += values.empty() ? "?" : ",?";
        }
        sql = "INSERT INTO " + table + " (" + columns + ") VALUES(" + values + ") ";
    } else {
        sql = "UPDATE " + table + " SET ";
        bool first = true;
        for (const Field &field : m_fields) {
            if (!IsKnownType(field.type))
                continue;
            sql += first ? ' ' : ',';
            sql += Bracketed(field.name) + " = ?";
            first = false;
        }
        sql += " WHERE ROWID = ?";
    }

    bool ok = false;
    {
        Statement stmt = Prepare(sql);
        if (stmt) {
            int param = 1;
            for (const Field &field : m_fields) {
                if (!IsKnownType(field.type))
                    continue;
                BindField(stmt.get(), param++, field);
            }
            if (!m_adding)
                sqlite3_bind_int(stmt.get(), param, m_editRowId);
            ok = Step(stmt.get()) == SQLITE_DONE;
        }
    }
    if (m_adding && ok) {
        AppendRowId(static_cast<int>(sqlite3_last_insert_rowid(m_db.get())));
        m_position = m_recordCount;
    }
    m_editRowId = 0;
    m_adding = false;
    return ok;
}

bool SQLiteTbl::InsertNamed()
{
    if (!IsOpen() || !HasFields()) {
        m_adding = false;
        return false;
    }
    const std::string table = Bracketed(GetTableName());
    std::string columns;
    std::string values;
    for (const Field &field : m_fields) {
        if (field.type != kFieldText && field.type != kFieldInt)
            continue;
        columns += columns.empty() ? " " : ",";
        columns += Bracketed(field.name);
        values += values.empty() ? " ?" : ",?";
    }
    const std::string sql =
        columns.empty() ? "INSERT INTO " + table + " DEFAULT VALUES"
                        : "INSERT INTO " + table + " (" + columns + ") VALUES (" + values + ")";
    bool inserted = false;
    {
        Statement stmt = Prepare(sql);
        if (stmt) {
            int param = 1;
            for (const Field &field : m_fields) {
                if (field.type == kFieldText || field.type == kFieldInt)
                    BindField(stmt.get(), param++, field);
            }
            inserted = Step(stmt.get()) == SQLITE_DONE;
        }
    }
    if (!inserted) {
        m_editRowId = 0;
        m_adding = false;
        return false;
    }
    const int rowId = static_cast<int>(sqlite3_last_insert_rowid(m_db.get()));
    m_editRowId = rowId;

    // Doubles and byte values go in by follow-up updates of the new row.
    bool ok = true;
    for (const Field &field : m_fields) {
        if (field.type == kFieldLongBinary) {
            auto *bytes = std::get_if<TblBuffer *>(&field.bound);
            if (!bytes || !*bytes || (*bytes)->size() == 0 || (*bytes)->data() == nullptr)
                continue;
        } else if (field.type != kFieldDouble) {
            continue;
        }
        Statement stmt =
            Prepare("UPDATE " + table + " SET " + Bracketed(field.name) + " = ? WHERE ROWID = ?");
        if (!stmt) {
            ok = false;
            continue;
        }
        BindField(stmt.get(), 1, field);
        sqlite3_bind_int(stmt.get(), 2, rowId);
        if (Step(stmt.get()) != SQLITE_DONE)
            ok = false;
    }
    AppendRowId(rowId);
    m_position = m_recordCount;
    m_editRowId = 0;
    m_adding = false;
    return ok;
}

SQLiteTransaction::SQLiteTransaction(SQLiteTbl &table)
    : m_table(table)
{
    // IMMEDIATE takes the write lock now (waiting out another writer) instead of failing
    // half-way when the first insert needs it.
    m_active = m_table.Execute("BEGIN IMMEDIATE");
}

SQLiteTransaction::~SQLiteTransaction()
{
    if (m_active)
        m_table.Execute("ROLLBACK");
}

bool SQLiteTransaction::Commit()
{
    if (!m_active)
        return false;
    if (!m_table.Execute("COMMIT"))
        return false;
    m_active = false;
    return true;
}
