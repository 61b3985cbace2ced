#include "storage/SQLiteTbl.h"
#include "tests/storage/StorageTestUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// A table "T" of an int, a text, a double and a byte field, opened the strict way.
class TestTbl : public SQLiteTbl
{
public:
    TestTbl()
    {
        AddField(0, "A", kFieldInt, &m_a);
        AddField(1, "B", kFieldText, &m_b);
        AddField(2, "C", kFieldDouble, &m_c);
        AddField(3, "D", kFieldLongBinary, &m_d);
    }
    const char *GetTableName() const override { return "T"; }
    int GetFieldCount() const override { return 4; }
    bool Open(const std::string &path) override { return OpenAndRequery(path); }

    void Append(int a, const std::string &b, double c = 0.0)
    {
        AddNew();
        m_a = a;
        m_b.Set(b);
        m_c = c;
        ASSERT_TRUE(Update());
    }

    int m_a = 0;
    TblBuffer m_b;
    double m_c = 0.0;
    TblBuffer m_d;
};

// The same table through the plain open, which neither reads nor checks the table.
class PlainTbl : public TestTbl
{
public:
    bool Open(const std::string &path) override { return SQLiteTbl::Open(path); }
};

class SQLiteTblTest : public ::testing::Test
{
protected:
    TempFolder m_folder;
    std::string m_path = m_folder.file("t.db3");
};

} // namespace

TEST_F(SQLiteTblTest, CreateWritesTheExactStatementOnceAndReportsAFailedCreateTable)
{
    TestTbl table;
    ASSERT_TRUE(table.Create(m_path));
    RawDb raw(m_path);
    EXPECT_EQ(raw.createStatement("T"),
              "CREATE TABLE [T] ( [A] INT,[B] TEXT,[C] DOUBLE,[D] LongBinary)");
    // The table exists: a second CREATE fails and says so.
    EXPECT_FALSE(table.CreateTable());

    // Another program created the table a moment ago: Create uses it as it is.
    TestTbl second;
    EXPECT_TRUE(second.Create(m_path));
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(raw.createStatement("T"),
              "CREATE TABLE [T] ( [A] INT,[B] TEXT,[C] DOUBLE,[D] LongBinary)");
}

TEST_F(SQLiteTblTest, OpenNeverCreatesAndOpeningAnOpenTableClosesIt)
{
    TestTbl table;
    EXPECT_FALSE(table.Open(m_path));
    EXPECT_FALSE(std::filesystem::exists(m_path));

    {
        RawDb raw(m_path);
        ASSERT_TRUE(raw.exec("CREATE TABLE Other (x INT)"));
    }
    EXPECT_FALSE(table.Open(m_path)); // the file lacks the table
    EXPECT_FALSE(table.IsOpen());
    EXPECT_TRUE(table.Create(m_path));

    TestTbl again;
    ASSERT_TRUE(again.Open(m_path));
    EXPECT_FALSE(again.Open(m_path));
    EXPECT_FALSE(again.IsOpen());
    EXPECT_TRUE(again.GetPath().empty());

    PlainTbl plain;
    ASSERT_TRUE(plain.Open(m_path));
    EXPECT_FALSE(plain.Open(m_path)); // the plain open refuses instead
    EXPECT_TRUE(plain.IsOpen());
    EXPECT_FALSE(plain.MoveFirst()); // no row set before the first Requery
}

TEST_F(SQLiteTblTest, EmptyTableMoves)
{
    TestTbl table;
    ASSERT_TRUE(table.Create(m_path));
    EXPECT_EQ(table.GetRecordCount(), 0);
    EXPECT_EQ(table.GetPosition(), 1);
    EXPECT_TRUE(table.IsEOF());
    EXPECT_TRUE(table.MoveTo(1));
    EXPECT_FALSE(table.MoveLast()); // MoveTo(0)
    EXPECT_FALSE(table.MoveTo(0));
    EXPECT_TRUE(table.IsEOF());
    EXPECT_FALSE(table.MoveNext());
}

TEST_F(SQLiteTblTest, RowsReadBackInOrderWithEveryValueKind)
{
    const std::string names[] = {"O'Brien\"; DROP TABLE T; --", "[x]]", "Жёлудь Zoë", ""};
    {
        TestTbl table;
        ASSERT_TRUE(table.Create(m_path));
        for (int i = 0; i < 4; ++i) {
            table.AddNew();
            table.m_a = i + 1;
            table.m_b.Set(names[i]);
            table.m_c = i + 0.25;
            if (i == 0) {
                const char bytes[] = {'\x01', '\0', '\xff'};
                table.m_d.SetBytes(bytes, sizeof bytes);
            }
            ASSERT_TRUE(table.Update());
            EXPECT_EQ(table.GetPosition(), i + 1); // the new row is current and last
        }
    }

    TestTbl table;
    ASSERT_TRUE(table.Open(m_path));
    EXPECT_EQ(table.GetRecordCount(), 4);
    int seen = 0;
    for (table.MoveFirst(); !table.IsEOF(); table.MoveNext()) {
        EXPECT_EQ(table.m_a, seen + 1);
        EXPECT_EQ(table.m_b.str(), names[seen]);
        EXPECT_EQ(table.m_b.size(), names[seen].size() + 1);
        EXPECT_DOUBLE_EQ(table.m_c, seen + 0.25);
        if (seen == 0)
            EXPECT_EQ(std::string(table.m_d.data(), table.m_d.size()),
                      std::string("\x01\0\xff", 3));
        else
            EXPECT_TRUE(table.m_d.IsNull());
        ++seen;
    }
    EXPECT_EQ(seen, 4);
    EXPECT_EQ(table.GetPosition(), 5);

    // Past the end: the position moves, nothing is read.
    ASSERT_TRUE(table.MoveTo(2));
    EXPECT_TRUE(table.MoveTo(9));
    EXPECT_EQ(table.GetPosition(), 9);
    EXPECT_TRUE(table.IsEOF());
    EXPECT_EQ(table.m_a, 2);

    RawDb raw(m_path);
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM T"), "4");
    EXPECT_EQ(raw.value("SELECT typeof(B) FROM T WHERE A = 4"), "text"); // '' not NULL
}

TEST_F(SQLiteTblTest, FilterValuesAreBoundAndSortOrderApplies)
{
    TestTbl table;
    ASSERT_TRUE(table.Create(m_path));
    const std::string tricky = "O'Brien\"; DROP TABLE T; --";
    table.Append(1, tricky);
    table.Append(2, "Tim");
    table.Append(3, tricky);

    table.SetFilter("[B]=?", {tricky});
    table.SetSort("[A] DESC");
    ASSERT_TRUE(table.Requery());
    EXPECT_EQ(table.GetRecordCount(), 2);
    EXPECT_EQ(table.m_a, 3);
    table.MoveNext();
    EXPECT_EQ(table.m_a, 1);
    table.MoveNext();
    EXPECT_TRUE(table.IsEOF());

    table.SetFilter("[B]=?", {"O"});
    ASSERT_TRUE(table.Requery());
    EXPECT_EQ(table.GetRecordCount(), 0);
    EXPECT_TRUE(table.IsEOF());
}

TEST_F(SQLiteTblTest, OlderTableGainsMissingColumnsWithDefaults)
{
    {
        RawDb raw(m_path);
        ASSERT_TRUE(raw.exec("CREATE TABLE [T] ( [A] INT,[B] TEXT)"));
        ASSERT_TRUE(raw.exec("INSERT INTO T VALUES (5, 'old')"));
    }
    {
        TestTbl table;
        ASSERT_TRUE(table.Open(m_path));
        EXPECT_EQ(table.GetColumnCount(), 2);
        EXPECT_EQ(table.GetFieldColumn(2), -1); // added, but unmapped until the next open
        EXPECT_EQ(table.m_a, 5);
        EXPECT_DOUBLE_EQ(table.m_c, 0.0);
        table.Append(6, "new", 1.5);
    }
    RawDb raw(m_path);
    EXPECT_EQ(raw.createStatement("T"),
              "CREATE TABLE [T] ( [A] INT,[B] TEXT, [C] Double, [D] LongBinary)");
    EXPECT_EQ(raw.value("SELECT C FROM T WHERE A = 5"), "0.0");
    EXPECT_EQ(raw.value("SELECT D FROM T WHERE A = 5"), "NULL");

    TestTbl table;
    ASSERT_TRUE(table.Open(m_path));
    EXPECT_EQ(table.GetColumnCount(), 4);
    table.MoveLast();
    EXPECT_EQ(table.m_b.str(), "new");
    EXPECT_DOUBLE_EQ(table.m_c, 1.5);
}

TEST_F(SQLiteTblTest, InsertGoesByColumnNameWhenTheFileOrdersColumnsDifferently)
{
    {
        RawDb raw(m_path);
        // D is missing and will be added after B, so the file's order is A, C, B, D.
        ASSERT_TRUE(raw.exec("CREATE TABLE [T] ([A] INT, [C] DOUBLE, [B] TEXT)"));
    }
    TestTbl table;
    ASSERT_TRUE(table.Open(m_path));
    table.Append(1, "text", 2.5);
    table.Requery();
    RawDb raw(m_path);
    EXPECT_EQ(raw.value("SELECT B FROM T"), "text");
    EXPECT_EQ(raw.value("SELECT C FROM T"), "2.5");
}

TEST_F(SQLiteTblTest, TableWithMoreColumnsThanFieldsInsertsByName)
{
    {
        RawDb raw(m_path);
        ASSERT_TRUE(raw.exec(
            "CREATE TABLE [T] ([Extra] TEXT, [A] INT, [B] TEXT, [C] DOUBLE, [D] LongBinary)"));
        ASSERT_TRUE(raw.exec("INSERT INTO T VALUES ('e', 1, 'one', 1.0, NULL)"));
    }
    TestTbl table;
    ASSERT_TRUE(table.Open(m_path));
    EXPECT_EQ(table.GetColumnCount(), 5);
    EXPECT_EQ(table.GetFieldColumn(0), 1);
    EXPECT_EQ(table.m_b.str(), "one");

    table.AddNew();
    table.m_a = 2;
    table.m_b.Set("it's \"two\"");
    table.m_c = -3.75;
    table.m_d.SetBytes("zz", 2);
    ASSERT_TRUE(table.Update());
    EXPECT_EQ(table.GetRecordCount(), 2);
    EXPECT_EQ(table.GetPosition(), 2);

    RawDb raw(m_path);
    EXPECT_EQ(
        raw.rows("SELECT Extra, A, B, C, D FROM T WHERE A = 2"),
        (std::vector<std::vector<std::string>>{{"NULL", "2", "it's \"two\"", "-3.75", "zz"}}));
    ASSERT_TRUE(table.MoveTo(2));
    EXPECT_EQ(table.m_b.str(), "it's \"two\"");
    EXPECT_DOUBLE_EQ(table.m_c, -3.75);
}

TEST_F(SQLiteTblTest, UpdateReportsAFailedStatement)
{
    {
        RawDb raw(m_path);
        ASSERT_TRUE(raw.exec("CREATE TABLE [T] ([A] INT UNIQUE, [B] TEXT, [C] DOUBLE, "
                             "[D] LongBinary)"));
    }
    TestTbl table;
    ASSERT_TRUE(table.Open(m_path));
    EXPECT_FALSE(table.Update()); // nothing composed
    table.Append(1, "first");
    table.AddNew();
    table.m_a = 1;
    EXPECT_FALSE(table.Update());
    EXPECT_EQ(table.GetRecordCount(), 1);
    EXPECT_EQ(table.GetPosition(), 1);
    EXPECT_TRUE(table.MoveFirst()); // the table is usable again afterwards
    EXPECT_EQ(table.m_b.str(), "first");
}

TEST_F(SQLiteTblTest, EditRewritesTheCurrentRow)
{
    TestTbl table;
    ASSERT_TRUE(table.Create(m_path));
    table.Append(1, "a");
    table.Append(2, "b");
    ASSERT_TRUE(table.MoveFirst());
    ASSERT_TRUE(table.Edit());
    EXPECT_FALSE(table.MoveNext()); // no moving away from a row being edited
    table.m_b.Set("changed");
    ASSERT_TRUE(table.Update());

    RawDb raw(m_path);
    EXPECT_EQ(raw.rows("SELECT A, B FROM T ORDER BY ROWID"),
              (std::vector<std::vector<std::string>>{{"1", "changed"}, {"2", "b"}}));
}

TEST_F(SQLiteTblTest, RowsAppendedPastTheFirstBlockKeepEveryEarlierId)
{
    constexpr int kRows = 5000 * 2 + 3;
    TestTbl table;
    ASSERT_TRUE(table.Create(m_path));
    table.Append(-1, "before"); // the block is sized from the count at Requery
    {
        SQLiteTransaction transaction(table);
        ASSERT_TRUE(transaction.IsActive());
        for (int i = 0; i < kRows; ++i)
            table.Append(i, {});
        ASSERT_TRUE(transaction.Commit());
    }
    ASSERT_EQ(table.GetPosition(), kRows + 1);
    int expected = -1;
    for (table.MoveFirst(); !table.IsEOF(); table.MoveNext()) {
        ASSERT_EQ(table.m_a, expected) << "at position " << table.GetPosition();
        ++expected;
    }
    EXPECT_EQ(expected, kRows);
}

TEST_F(SQLiteTblTest, FieldsWithTooLongNamesOrIndexesPastTheCountAreNotDeclared)
{
    class LimitTbl : public SQLiteTbl
    {
    public:
        LimitTbl()
        {
            AddField(0, "A", kFieldInt, &m_a);
            AddField(1, std::string(100, 'n').c_str(), kFieldInt, &m_a);
            AddField(2, std::string(99, 'k').c_str(), kFieldText, &m_b);
            AddField(3, "Past", kFieldInt, &m_a);
            AddField(1, "Odd", 9, &m_a); // an unknown type adds no column
        }
        const char *GetTableName() const override { return "L"; }
        int GetFieldCount() const override { return 3; }
        int m_a = 0;
        TblBuffer m_b;
    };
    LimitTbl table;
    ASSERT_TRUE(table.Create(m_path));
    RawDb raw(m_path);
    EXPECT_EQ(raw.createStatement("L"),
              "CREATE TABLE [L] ( [A] INT,[" + std::string(99, 'k') + "] TEXT)");
    table.AddNew();
    table.m_a = 3;
    table.m_b.Set("v");
    EXPECT_TRUE(table.Update());
    EXPECT_EQ(raw.value("SELECT A FROM L"), "3");
}
