// When the ledgers cannot be written, the caller learns that nothing was saved and why; when
// two programs create the file at the same moment, both save.

#include "storage/PokerTables.h"
#include "storage/UnsavedResults.h"
#include "tests/storage/StorageTestUtil.h"
#include "tests/support/Unprivileged.h"

#include <fstream>
#include <thread>

namespace {

const SessionResult kResult = {{"Hero", 50, {2, 2, 1, 1, 0}}, {"Master", -50, {2, 2, 1, 0, 0}}};

std::string SaveFailure(const std::string &folder)
{
    CPokerDatabase db;
    if (OpenDatabase(db, folder) && SaveSessionResults(db, kResult, FormatSaveTime(0)))
        return "saved";
    return db.m_error;
}

} // namespace

TEST(DatabaseFailure, ADamagedFileIsNamedAsSuchAndLeftAlone)
{
    TempFolder folder;
    const std::string garbage(4096, 'x');
    std::ofstream(folder.file(kDatabaseFileName), std::ios::binary) << garbage;
    EXPECT_EQ(SaveFailure(folder.path()), "file is not a database");
    std::ifstream in(folder.file(kDatabaseFileName), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), garbage);
}

TEST(DatabaseFailure, ARefusedInsertSavesNoRowAndSaysWhy)
{
    TempFolder folder;
    {
        CPokerDatabase db;
        ASSERT_TRUE(OpenDatabase(db, folder.path()));
    }
    RawDb raw(folder.file(kDatabaseFileName));
    ASSERT_TRUE(raw.exec("CREATE TRIGGER NoMaster BEFORE INSERT ON Statistics "
                         "WHEN NEW.Family_Name = 'Master' BEGIN SELECT RAISE(ABORT, "
                         "'no rows for Master'); END"));
    EXPECT_EQ(SaveFailure(folder.path()), "no rows for Master");
    // All or nothing: Hero's rows went before the refusal and were rolled back with it.
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Players"), "0");
    EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Statistics"), "0");
}

TEST(DatabaseFailure, ALockHeldPastTheBusyTimeOutFailsTheSave)
{
    TempFolder folder;
    CPokerDatabase db;
    ASSERT_TRUE(OpenDatabase(db, folder.path()));
    RawDb other(folder.file(kDatabaseFileName));
    ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    EXPECT_FALSE(SaveSessionResults(db, kResult, FormatSaveTime(0)));
    EXPECT_EQ(db.m_error, "database is locked");
    ASSERT_TRUE(other.exec("COMMIT"));
    // Once the lock is gone the same connection saves again.
    EXPECT_TRUE(SaveSessionResults(db, kResult, FormatSaveTime(0)));
    EXPECT_EQ(db.m_error, "");
}

TEST(DatabaseFailure, AFolderThatIsNotThereOrNotWritableIsSaidSo)
{
    TempFolder folder;
    EXPECT_EQ(SaveFailure(folder.file("missing")),
              "unable to open database file (No such file or directory)");
    testsupport::RunUnprivileged(folder.path(), [&] {
        std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_exec);
        EXPECT_EQ(SaveFailure(folder.path()), "unable to open database file (Permission denied)");
    });
}

TEST(DatabaseFailure, AReadOnlyFileFailsTheSave)
{
    TempFolder folder;
    {
        CPokerDatabase db;
        ASSERT_TRUE(OpenDatabase(db, folder.path()));
    }
    testsupport::RunUnprivileged(folder.path(), [&] {
        std::filesystem::permissions(folder.file(kDatabaseFileName),
                                     std::filesystem::perms::owner_read);
        EXPECT_EQ(SaveFailure(folder.path()), "attempt to write a readonly database");
    });
}

TEST(DatabaseFailure, TwoProgramsCreatingTheFileAtOnceBothSave)
{
    // Each round starts from a folder without a database; the two threads stand for two
    // programs, each with its own connection.
    for (int round = 0; round < 20; ++round) {
        TempFolder folder;
        std::string failures[2];
        std::thread first([&] { failures[0] = SaveFailure(folder.path()); });
        std::thread second([&] { failures[1] = SaveFailure(folder.path()); });
        first.join();
        second.join();
        ASSERT_EQ(failures[0], "saved") << "round " << round;
        ASSERT_EQ(failures[1], "saved") << "round " << round;
        RawDb raw(folder.file(kDatabaseFileName));
        EXPECT_EQ(raw.value("SELECT group_concat(OperationID) FROM Players"), "1,2,3,4");
        EXPECT_EQ(raw.value("SELECT COUNT(*) FROM Statistics"), "4");
        EXPECT_EQ(raw.createStatement("Players"),
                  "CREATE TABLE [Players] ( [OperationID] INT,[Family_Name] TEXT,[Amount] "
                  "DOUBLE,[Balance] DOUBLE,[DateTime] TEXT)");
    }
}

// Two programs that cannot save at the same moment both keep their games beside the database.
TEST(DatabaseFailure, GamesKeptAtOnceAreAllKept)
{
    TempFolder folder;
    std::ofstream(folder.file(kDatabaseFileName), std::ios::binary) << std::string(4096, 'x');
    constexpr int kGames = 40;
    const auto keep = [&] {
        for (int g = 0; g < kGames; ++g) {
            CPokerDatabase db;
            db.m_path = folder.file(kDatabaseFileName);
            EXPECT_FALSE(SaveOrKeep(db, folder.str(), {g, kResult}).keptIn.empty());
        }
    };
    std::thread other(keep);
    keep();
    other.join();
    std::vector<UnsavedGame> games;
    std::string error;
    ASSERT_TRUE(
        ReadUnsavedResults(UnsavedResultsPath(folder.file(kDatabaseFileName)), games, error))
        << error;
    EXPECT_EQ(games.size(), 2u * kGames);
}
