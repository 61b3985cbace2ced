// `brisquel-cli results [--db FILE]`: the ledger of PokerDB.db3 per name, one line each, in
// columns that a script can split on blanks.

#include "cli/Commands.h"
#include "cli/DataFolder.h"
#include "cli/args/CommandLine.h"
#include "storage/LedgerReader.h"
#include "storage/PokerTables.h"
#include "validation/PrintableText.h"

#include <cstdio>
#include <filesystem>

namespace {

const char kHeaderFormat[] = "%-12s %6s %10s %12s %7s %6s %6s %6s\n";
const char kRowFormat[] = "%-12s %6d %10.0f %12.0f %7d %6.1f %6.1f %6.1f\n";

} // namespace

const char kResultsUsage[] = "usage: brisquel-cli results [--db FILE]   (the ledger of "
                             "PokerDB.db3 per name; FILE defaults to the data folder's)\n";

int RunResultsCommand(const CommandArgs &args)
{
    // Where play and the desktop program save: the data folder.
    std::string path = (std::filesystem::path(DataFolder()) / kDatabaseFileName).string();
    try {
        const ParsedArgs parsed = CommandLine().Value("--db").Parse(args);
        if (parsed.Help())
            return PrintHelp(kResultsUsage);
        path = parsed.Text("--db").value_or(path);
    } catch (const ArgError &e) {
        std::fputs(kResultsUsage, stderr);
        return Fail(e.what());
    }
    LedgerContents contents;
    std::string error;
    if (!ReadLedger(path, contents, error))
        return Fail(PrintableText(error));
    std::printf(kHeaderFormat, "Name", "Games", "TotalWon", "LastBalance", "Hands", "VPIP", "PFR",
                "3-bet");
    for (const NameSummary &s : SummarizeLedger(contents))
        std::printf(kRowFormat, PrintableText(s.name).c_str(), s.games, s.totalWon, s.lastBalance,
                    s.hands, s.vpip, s.pfr, s.threeBet);
    if (contents.isEmpty())
        std::fprintf(stderr, "brisquel-cli: %s holds no saved game yet\n",
                     PrintableText(path).c_str());
    return kExitOk;
}
