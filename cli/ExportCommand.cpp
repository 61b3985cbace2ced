#include "cli/Commands.h"

#include "cli/DataFolder.h"
#include "cli/args/CommandLine.h"
#include "interchange/Interchange.h"
#include "safefile/SafeWrite.h"
#include "validation/PrintableText.h"

#include <cstdio>

const char kExportUsage[] =
    "usage: brisquel-cli export [PATH] [--format pokerstars|phh] [--out FILE] [--all]\n"
    "       PATH: a hand-history file, or a folder as play --out writes it (its latest game,\n"
    "       every game with --all); without it the data folder. A file of PokerStars,\n"
    "       GGPoker, Winamax or 888poker hand histories or of PHH is converted (its last\n"
    "       table, every table with --all). Writes PokerStars-format hand histories (the\n"
    "       default) or PHH to FILE, else to standard output\n";

// export [PATH] [--format pokerstars|phh] [--out FILE] [--all]
int RunExportCommand(const CommandArgs &args)
{
    std::string path, out;
    bool all = false;
    interchange::Format format = interchange::Format::PokerStars;
    try {
        const ParsedArgs parsed =
            CommandLine().Value("--format").Value("--out").Flag("--all").Positional(1).Parse(args);
        if (parsed.Help())
            return PrintHelp(kExportUsage);
        if (!parsed.Positional().empty())
            path = parsed.Positional()[0];
        const std::string name = parsed.Text("--format").value_or("pokerstars");
        if (!interchange::FormatFromName(name, format))
            return Fail("--format must be \"pokerstars\" or \"phh\", not \"" + name + "\"");
        out = parsed.Text("--out").value_or("");
        all = parsed.Has("--all");
    } catch (const ArgError &e) {
        return Fail(e.what());
    }
    if (path.empty())
        path = DataFolder();

    std::vector<history::Game> games;
    std::string error;
    std::vector<std::string> importWarnings;
    if (!interchange::ReadAnyGames(path, all, games, error, importWarnings))
        return Fail(PrintableText(error));
    for (const std::string &warning : importWarnings)
        std::fprintf(stderr, "brisquel-cli: warning: %s\n", PrintableText(warning).c_str());
    size_t hands = 0;
    for (const history::Game &game : games) {
        hands += game.hands.size();
        for (const std::string &warning : game.warnings)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %s\n",
                         PrintableText(game.historyPath).c_str(), PrintableText(warning).c_str());
    }
    // A converted file is named for what it was read as, and its money for what it counts.
    if (!games.empty() && !games.front().importedFrom.empty())
        std::fprintf(stderr, "brisquel-cli: %s: %zu hand%s of %s hand histories, %zu table%s%s%s\n",
                     PrintableText(path).c_str(), hands, hands == 1 ? "" : "s",
                     games.front().importedFrom.c_str(), games.size(), games.size() == 1 ? "" : "s",
                     games.front().moneyUnit.empty() ? "" : ", amounts in ",
                     PrintableText(games.front().moneyUnit).c_str());
    std::vector<std::string> leftOut, notes;
    const std::string text = interchange::ExportReadable(games, format, leftOut, &notes);
    notes.insert(notes.end(), leftOut.begin(), leftOut.end());
    for (const std::string &warning : notes)
        std::fprintf(stderr, "brisquel-cli: warning: %s\n", PrintableText(warning).c_str());
    if (text.empty() && !leftOut.empty())
        return Fail("no hand was exported: none reads back as it was played");
    if (out.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout); // checked with the rest of the output
        return kExitOk;
    }
    std::string reason;
    if (!safefile::WriteFileReplacing(out, text, reason))
        return Fail("cannot write " + PrintableText(out) + ": " + reason);
    return kExitOk;
}
