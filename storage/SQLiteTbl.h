#pragma once
// A record set over one table of an SQLite file: a concrete table declares typed fields bound
// to its own members, then opens or creates the file, upgrades an older table by adding the
// missing columns, walks the rows one at a time in a fixed order and appends rows.
//
// Threads: an object (and any table sharing its connection) is used by one thread at a time;
// there is no lock inside.

#include "storage/TblBuffer.h"

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Field type codes; any other code is ignored everywhere.
enum TblFieldType : int
{
    kFieldText = 1,
    kFieldInt = 2,
    kFieldDouble = 3,
    kFieldLongBinary = 4,
};

// How long a statement waits for another connection's lock before it gives up.
constexpr int kBusyTimeoutMs = 3000;

class SQLiteTbl
{
public:
    SQLiteTbl();
    virtual ~SQLiteTbl();
    SQLiteTbl(const SQLiteTbl &) = delete;
    SQLiteTbl &operator=(const SQLiteTbl &) = delete;

    virtual const char *GetTableName() const = 0;
    virtual int GetFieldCount() const = 0;
    // Opens an existing file (never creates one). Fails when already open.
    virtual bool Open(const std::string &path);

    // Opens or creates the file and creates the table in it, or uses the table when the file
    // has it already (another program may have created it a moment ago).
    bool Create(const std::string &path);
    // Requery, creating the table first when the file lacks it; safe against another
    // connection creating it at the same moment.
    bool EnsureTable();
    bool CreateTable();
    // One step of one statement; true when it ran to a row or to its end.
    bool Execute(const std::string &sql);
    // Learns the column positions and adds the columns an older table lacks.
    bool CheckSchema();
    // Reloads the row ids under the current filter and sort order; positions on row 1.
    bool Requery();
    int GetRecordCount();

    bool MoveTo(int n);
    bool MoveFirst() { return MoveTo(1); }
    bool MoveLast();
    bool MoveNext();
    bool IsEOF() const { return m_recordCount == 0 || m_position > m_recordCount; }

    void ClearFields();
    // Starts composing a new row; the next Update inserts it and makes it the last row.
    void AddNew();
    // Makes the current row the one the next Update rewrites.
    bool Edit();
    bool Update();

    // Closes the connection (shared ones stay open for their other tables).
    void Close();
    // Uses the connection of an open table on the same file, so both can share a transaction.
    // Neither reads nor creates the table: follow with Requery or CreateTable.
    bool ShareConnection(const SQLiteTbl &owner);

    bool IsOpen() const { return m_open && m_db != nullptr; }
    const std::string &GetPath() const { return m_path; }
    // An SQL condition without WHERE; "?" in it take params in order, always bound as values.
    void SetFilter(std::string condition, std::vector<std::string> params = {});
    // An SQL ordering without ORDER BY.
    void SetSort(std::string order) { m_sort = std::move(order); }
    int GetPosition() const { return m_position; }
    int GetColumnCount() const { return m_columnCount; }
    int GetFieldColumn(int index) const;
    // SQLite's text for the last failure on this table's connection (opening, a statement
    // that would not prepare or step), e.g. "database is locked"; kept until the next one.
    const std::string &LastError() const { return m_lastError; }
    int GetCurrentRowId() const;

protected:
    void AddField(int index, const char *name, int type, TblBuffer *bound);
    void AddField(int index, const char *name, int type, int *bound);
    void AddField(int index, const char *name, int type, double *bound);
    // The stricter open of the concrete tables: opening an open table closes it; the table
    // must be readable (Requery) or the connection is closed again.
    bool OpenAndRequery(const std::string &path);
    void ReadRow(sqlite3_stmt *stmt);
    bool InsertNamed();

private:
    struct ConnectionCloser
    {
        void operator()(sqlite3 *db) const;
    };
    struct StatementFinalizer
    {
        void operator()(sqlite3_stmt *stmt) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;
    using Bound = std::variant<std::monostate, TblBuffer *, int *, double *>;
    struct Field
    {
        int type = 0;
        Bound bound;
        int columnIndex = -1;
        std::string name;
    };

    static bool IsKnownType(int type);
    // "[name]": a table or column name quoted for SQL.
    static std::string Bracketed(std::string_view name);
    bool OpenConnection(const std::string &path, int flags);
    void AddFieldBound(int index, const char *name, int type, Bound bound);
    bool HasFields() const { return !m_fields.empty() && GetFieldCount() > 0; }
    std::string BuildSelect(bool rowIdsOnly, bool withFilter, bool withOrder) const;
    Statement Prepare(const std::string &sql) const;
    // sqlite3_step, noting the error text of a failure.
    int Step(sqlite3_stmt *stmt) const;
    void BindFilter(sqlite3_stmt *stmt) const;
    // Binds the field's value as parameter `param`; unbound fields stay NULL.
    void BindField(sqlite3_stmt *stmt, int param, const Field &field) const;
    void AppendRowId(int rowId);

    // Shared: two tables of one file may use one connection (see ShareConnection).
    std::shared_ptr<sqlite3> m_db;
    std::vector<Field> m_fields;
    bool m_open = false;
    std::string m_path;
    std::string m_filter;
    std::vector<std::string> m_filterParams;
    std::string m_sort;
    int m_recordCount = 0;
    int m_position = -1;
    int m_columnCount = 0;
    bool m_schemaChecked = false;
    // Row ids in set order; the capacity grows in steps of kRowIdStep.
    std::vector<int> m_rowIds;
    int m_loadedCount = 0;
    int m_editRowId = 0;
    bool m_adding = false;
    mutable std::string m_lastError;
};

// Holds the write lock of a table's connection from construction; rolls back on destruction
// unless committed. Waits up to the busy time-out for another writer.
class SQLiteTransaction
{
public:
    explicit SQLiteTransaction(SQLiteTbl &table);
    ~SQLiteTransaction();
    SQLiteTransaction(const SQLiteTransaction &) = delete;
    SQLiteTransaction &operator=(const SQLiteTransaction &) = delete;

    bool IsActive() const { return m_active; }
    bool Commit();

private:
    SQLiteTbl &m_table;
    bool m_active = false;
};
