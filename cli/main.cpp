#include "cli/Commands.h"
#include "cli/DataFolder.h"
#include "cli/PlayCommand.h"
#include "cli/args/CommandLine.h"
#include "places/BrisquelVersion.h"
#include "places/FilePlaces.h"
#include "safefile/SafeWrite.h"

#include <cstdio>
#include <functional>
#include <map>

namespace {

// Options before the command's name belong to brisquel-cli itself.
const CommandLine kProgramOptions = CommandLine().Flag("--version").Value("--data-dir");

void PrintUsage(std::FILE *out)
{
    std::fputs("usage: brisquel-cli [--data-dir DIR] <command> ...\n"
               "       brisquel-cli --version\n",
               out);
    // "<command> --help" prints the same lines one command at a time.
    for (const char *usage : {kOddsUsage, kEvalUsage, kPlayUsage, kReviewUsage, kExportUsage,
                              kResultsUsage, kDrillUsage})
        std::fputs(usage, out);
    std::fprintf(out,
                 "The game log, the hand histories and PokerDB.db3 go to\n  %s\n"
                 "Exit status: 0 done, 1 a game ended with other chips than it started with, "
                 "2 bad input, 3 the results not saved, 4 the log or hand history not "
                 "written, 5 the output not written.\n",
                 DataFolderDescription().c_str());
}

// The index of the command's name: the first word that is neither an option nor a value.
std::size_t CommandIndex(const CommandArgs &args)
{
    std::size_t i = 0;
    while (i < args.size() && args[i].rfind('-', 0) == 0)
        i += args[i] == "--data-dir" ? 2 : 1;
    return std::min(i, args.size());
}

int Run(int argc, char **argv);

} // namespace

int main(int argc, char **argv)
{
    const int status = Run(argc, argv);
    // A full disk or a closed pipe must not pass for a finished command.
    std::string reason;
    if (safefile::FinishOutput(stdout, reason))
        return status;
    std::fprintf(stderr, "brisquel-cli: cannot write the output: %s\n", reason.c_str());
    return status != kExitOk ? status : kExitOutputNotWritten;
}

namespace {

int Run(int argc, char **argv)
{
    // One function per command, so that a new command is one more entry here.
    const std::map<std::string, std::function<int(const CommandArgs &)>> commands = {
        {"odds", RunOddsCommand},
        {"eval", RunEvalCommand},
        {"play", [](const CommandArgs &args) { return RunPlayCommand(args); }},
        {"review", RunReviewCommand},
        {"export", RunExportCommand},
        {"results", RunResultsCommand},
        {"drill", RunDrillCommand},
    };
    const CommandArgs args(argv + 1, argv + argc);
    const std::size_t commandIndex = CommandIndex(args);
    ParsedArgs options;
    try {
        options = kProgramOptions.Parse(CommandArgs(args.begin(), args.begin() + commandIndex));
    } catch (const ArgError &e) {
        Fail(e.what());
        PrintUsage(stderr);
        return kExitBadInput;
    }
    if (options.Help()) {
        PrintUsage(stdout);
        return kExitOk;
    }
    if (options.Has("--version")) {
        std::printf("brisquel-cli %s\n", kBrisquelVersion);
        return kExitOk;
    }
    SetDataDirOption(options.Text("--data-dir").value_or(""));
    // Refused before any command makes a folder or writes a file in it.
    if (options.Text("--data-dir")) {
        if (const std::string tooLong = FolderPathProblem(DataFolder()); !tooLong.empty())
            return Fail("--data-dir: " + tooLong);
    }
    if (commandIndex == args.size()) {
        PrintUsage(stderr);
        return kExitBadInput;
    }
    const std::string &name = args[commandIndex];
    if (name == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    const auto command = commands.find(name);
    if (command == commands.end()) {
        std::fprintf(stderr, "brisquel-cli: unknown command '%s'\n", name.c_str());
        PrintUsage(stderr);
        return kExitBadInput;
    }
    return command->second(CommandArgs(args.begin() + commandIndex + 1, args.end()));
}

} // namespace
