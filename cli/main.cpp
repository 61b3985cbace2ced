#include "Commands.h"
#include "PlayCommand.h"

#include <cstdio>
#include <functional>
#include <map>

namespace {

void PrintUsage(std::FILE *out)
{
    // "<command> --help" prints the same lines one command at a time.
    for (const char *usage : {kOddsUsage, kEvalUsage, kPlayUsage, kResultsUsage})
        std::fputs(usage, out);
}

} // namespace

int main(int argc, char **argv)
{
    // One function per command, so that a new command is one more entry here.
    const std::map<std::string, std::function<int(const CommandArgs &)>> commands = {
        {"odds", RunOddsCommand},
        {"eval", RunEvalCommand},
        {"play", [](const CommandArgs &args) { return RunPlayCommand(args); }},
        {"results", RunResultsCommand},
    };
    if (argc < 2) {
        PrintUsage(stderr);
        return kExitBadInput;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return kExitOk;
    }
    const auto command = commands.find(name);
    if (command == commands.end()) {
        std::fprintf(stderr, "brisquel-cli: unknown command '%s'\n", name.c_str());
        PrintUsage(stderr);
        return kExitBadInput;
    }
    return command->second(CommandArgs(argv + 2, argv + argc));
}
