// brisquel-cli export and play --export-format, run as a user runs them.

#include "tests/cli/CliProcess.h"
#include "tests/support/FullDisk.h"

#include <fstream>
#include <iterator>
#include <optional>

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
    const CliResult play =
        RunCli({"play", "--seats", "4", "--stacks", "300", "--seed", "3", "--hands", "12", "--out",
                folder.str(), "--export-format", "pokerstars"});
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

// Any file the program reads is converted, each table of it with --all, and the message says
// what the file was: each case a real file, what it is, its hands (its readable ones) and its
// money.
TEST(ExportCommand, ConvertsOtherRoomsFilesAndSaysWhatTheyAre)
{
    const std::string real = BRISQUEL_REAL_HANDS;
    const struct
    {
        std::string file;
        const char *what;
        int hands;
    } cases[] = {
        {real + "/ggpoker/GG20250916-2143 - RushAndCash15467382 - 0.02 - 0.05 - 6max.txt",
         "31 hands of GGPoker hand histories, 1 table, amounts in $", 31},
        {real + "/winamax/hhsmithy_10MultipleHands.txt",
         "10 hands of Winamax hand histories, 1 table, amounts in \xE2\x82\xAC", 10},
        {real + "/888/hhsmithy_pacific_hands.txt", "26 hands of 888poker hand histories", 26},
        {real + "/phh/wsop/2019_42_3_00-01-07.phh", "1 hand of PHH hand histories", 1},
    };
    for (const auto &c : cases) {
        const CliResult stars = RunCli({"export", c.file, "--all"});
        ASSERT_EQ(stars.status, 0) << stars.err;
        EXPECT_NE(stars.err.find(c.what), std::string::npos) << stars.err;
        EXPECT_EQ(Count(stars.out, "PokerStars Hand #"), c.hands) << c.file;
        const CliResult phh = RunCli({"export", c.file, "--all", "--format", "phh"});
        EXPECT_EQ(Count(phh.out, "variant = \"NT\"\n"), c.hands) << c.file;
    }
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

// Writes that fail are errors: every command with a full standard output; export --out onto a
// full disk (a file-size limit), leaving the old file whole, to a FIFO without a reader and to
// a device. Each case: arguments, standard output, status, message.
TEST(WriteFailures, AreToldAndLeaveOldFilesWhole)
{
    TempFolder folder;
    const std::string game = folder.file("game"), old = folder.file("old"), fifo = folder.file("f");
    ASSERT_EQ(
        RunCli({"play", "--seats", "3", "--seed", "5", "--hands", "20", "--out", game}).status, 0);
    std::ofstream(old) << "old";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string full = "cannot write the output: No space left on device";
    const struct
    {
        std::vector<std::string> args;
        const char *out;
        int status;
        std::string message;
    } cases[] = {
        {{"export", game}, "/dev/full", 5, full},
        {{"review", game, "--player", "Master_1", "--trials", "20"}, "/dev/full", 5, full},
        {{"results", "--db", game + "/PokerDB.db3"}, "/dev/full", 5, full},
        {{"odds", "AhKd", "--players", "3", "--trials", "1000"}, "/dev/full", 5, full},
        {{"play", "--seats", "3", "--hands", "3", "--out", game + "2"}, "/dev/full", 5, full},
        {{"--help"}, "/dev/full", 5, full},
        {{"export", game, "--out", old}, "", 2, "File too large"},
        {{"export", game, "--out", fifo}, "", 2, "not a regular file"},
        {{"export", game, "--out", "/dev/full"}, "", 2, "not a regular file"},
    };
    for (const auto &c : cases) {
        std::optional<testsupport::FullDisk> disk; // inherited by brisquel-cli
        if (c.args.back() == old)
            disk.emplace(4096);
        const CliResult r = RunCli(c.args, {}, c.out);
        disk.reset();
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args[0] << ": " << r.err;
    }
    EXPECT_EQ(ReadWholeFile(old), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4)
        << "a temporary file left behind";
}

} // namespace
