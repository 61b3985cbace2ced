// brisquel-cli export and play --export-format, run as a user runs them.

#include "tests/cli/CliProcess.h"
#include "tests/support/FullDisk.h"

#include <fstream>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

int Count(const std::string &text, const std::string &what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The copy kept as the game goes holds every hand; export writes the same text, to a file or
// standard output, and PHH numbers one table per hand.
TEST(ExportCommand, PlayKeepsACopyAndExportWritesBothFormats)
{
    TempFolder folder;
    const CliResult play = RunCli({"play", "--seats", "4", "--stacks", "300", "--seed", "3",
                                   "--hands", "12", "--out", folder.str(), "--export-format",
                                   "pokerstars"});
    ASSERT_EQ(play.status, 0) << play.err;
    std::string history, copy;
    for (const auto &entry : std::filesystem::directory_iterator(folder.path() / "HandHistory")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".log") // the game's own log lines
            continue;
        (name.rfind("HH_", 0) == 0 ? history : copy) = entry.path().string();
    }
    ASSERT_FALSE(copy.empty());
    const std::string kept = ReadWholeFile(copy);
    EXPECT_EQ(Count(kept, "PokerStars Hand #"), 12);

    const std::filesystem::path out = folder.path() / "game.txt";
    const CliResult exported = RunCli({"export", folder.str(), "--out", out.string()});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(ReadWholeFile(out), kept);

    const CliResult phh = RunCli({"export", history, "--format", "phh"});
    ASSERT_EQ(phh.status, 0) << phh.err;
    EXPECT_EQ(Count(phh.out, "variant = \"NT\"\n"), 12);
    EXPECT_NE(phh.out.find("[12]\n"), std::string::npos);

    // review reads the copy back as any PokerStars file.
    const CliResult review = RunCli({"review", copy, "--player", "Master_1", "--trials", "50"});
    EXPECT_NE(review.err.find("not known"), std::string::npos) << review.err;
}

TEST(ExportCommand, RefusesWhatItCannotDo)
{
    TempFolder folder;
    CliResult r = RunCli({"export", folder.str(), "--format", "xml"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--format must be \"pokerstars\" or \"phh\""), std::string::npos);
    r = RunCli({"export", folder.str()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("no hand-history files"), std::string::npos) << r.err;
    r = RunCli({"play", "--export-format", "csv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--export-format must be"), std::string::npos);
}

// Writes that fail are errors: every command with a full standard output, and export --out
// onto a full disk (a file-size limit), a FIFO without a reader and a device.
TEST(WriteFailures, AreToldAndLeaveOldFilesWhole)
{
    TempFolder folder;
    const std::string game = (folder.path() / "game").string();
    ASSERT_EQ(RunCli({"play", "--seats", "3", "--seed", "5", "--hands", "20", "--out", game}).status,
              0);
    const std::string db = game + "/PokerDB.db3";
    const std::vector<std::vector<std::string>> commands = {
        {"export", game},
        {"review", game, "--player", "Master_1", "--trials", "20"},
        {"results", "--db", db},
        {"odds", "AhKd", "--players", "3", "--trials", "1000", "--seed", "1"},
        {"play", "--seats", "3", "--seed", "5", "--hands", "3", "--out", game + "2"},
        {"--help"},
    };
    for (const auto &command : commands) {
        const CliResult r = RunCli(command, {}, "/dev/full");
        EXPECT_EQ(r.status, 5) << command[0] << ": " << r.err;
        EXPECT_NE(r.err.find("cannot write the output: No space left on device"), std::string::npos)
            << command[0] << ": " << r.err;
    }

    const std::filesystem::path target = folder.path() / "old.txt";
    const std::string old(100, 'x');
    {
        std::ofstream(target) << old;
    }
    const std::string fifo = (folder.path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CliResult full;
    {
        const testsupport::FullDisk disk(4096); // inherited by brisquel-cli
        full = RunCli({"export", game, "--out", target.string()});
    }
    EXPECT_EQ(full.status, 2);
    EXPECT_NE(full.err.find("File too large"), std::string::npos) << full.err;
    EXPECT_EQ(ReadWholeFile(target), old);
    for (const std::string &special : {fifo, std::string("/dev/full")}) {
        const CliResult r = RunCli({"export", game, "--out", special});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << r.err;
    }
    int files = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 4); // game, game2, old.txt and the FIFO: no temporary file left behind
}

} // namespace
