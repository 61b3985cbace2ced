#pragma once
// Helpers for the storage tests: a plain second connection that looks at (or meddles with) the
// file behind the tables' backs.

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

using testsupport::TempFolder;

class RawDb
{
public:
    explicit RawDb(const std::string &path)
    {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    ~RawDb() { sqlite3_close(m_db); }
    RawDb(const RawDb &) = delete;
    RawDb &operator=(const RawDb &) = delete;

    bool exec(const std::string &sql)
    {
        return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // Every row of a query, each column as text ("NULL" for a null).
    std::vector<std::vector<std::string>> rows(const std::string &sql)
    {
        std::vector<std::vector<std::string>> result;
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return result;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto *text = sqlite3_column_text(stmt, i);
                row.push_back(text ? std::string(reinterpret_cast<const char *>(text),
                                                 sqlite3_column_bytes(stmt, i))
                                   : std::string("NULL"));
            }
            result.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        return result;
    }
    std::string value(const std::string &sql)
    {
        auto all = rows(sql);
        return all.empty() || all[0].empty() ? std::string("<none>") : all[0][0];
    }
    std::string createStatement(const std::string &table)
    {
        return value("SELECT sql FROM sqlite_master WHERE type='table' AND name='" + table + "'");
    }

private:
    sqlite3 *m_db = nullptr;
};
