#include "ui/app/AppCommandLine.h"

#include "cli/args/CommandLine.h"

#include <algorithm>
#include <cstdlib>

const char kAppUsage[] =
    "usage: brisquel [--pace F] [--data-dir DIR] [--version] [--help]\n"
    "  --pace F        pauses between actions for this run: 1 a real table's pace, 0.5 twice\n"
    "                  as fast, 0 no pauses (default: the View panel's Pace, 1 at first)\n"
    "  --data-dir DIR  keep the game log, the hand histories and PokerDB.db3 in DIR\n"
    "  --version       print the version and exit\n"
    "Without a display, brisquel-cli plays, computes odds and evaluates hands.\n";

namespace {

constexpr double kMaxPace = 10.0;

} // namespace

AppCommandLine ParseAppCommandLine(const std::vector<std::string> &args, AppOptions &options)
{
    AppCommandLine line;
    try {
        // Empty values are let through to be refused below with the program's own words.
        const ParsedArgs parsed = CommandLine()
                                      .Repeated("--pace", true)
                                      .Repeated("--data-dir", true)
                                      .Flag("--version", true)
                                      .PassOthers()
                                      .Parse(args);
        line.help = parsed.Help();
        line.version = parsed.Has("--version");
        const std::vector<std::string> &others = parsed.Others();
        line.platformGiven = std::any_of(others.begin(), others.end(), [](const std::string &w) {
            return w == "-platform" || w == "--platform";
        });
        if (const auto pace = parsed.Text("--pace")) {
            char *end = nullptr;
            const double factor = std::strtod(pace->c_str(), &end);
            if (end == pace->c_str() || *end != '\0' || !(factor >= 0.0 && factor <= kMaxPace))
                line.error = "--pace takes a number from 0 (no pauses) to 10";
            options.pauseFactor = factor;
        }
        if (const auto folder = parsed.Text("--data-dir")) {
            if (folder->empty() && line.error.empty())
                line.error = "--data-dir needs a folder";
            options.dataFolder = QString::fromLocal8Bit(folder->c_str());
        }
    } catch (const ArgError &e) {
        line.error = e.what();
    }
    return line;
}
