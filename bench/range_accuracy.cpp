// How well the range tracker reads the personas: plays seeded games between them, every card
// known, and prints per persona and situation the mean of (equity against the tracker's weights
// less equity against the real hand) with its 95 % interval, beside the same for any hand.
//
//   range_accuracy [--games N] [--seats S] [--hands H] [--seed X] [--trials T]

#include "playout/RangeCheck.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char **argv)
{
    playout::RangeCheckOptions options;
    options.games = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const long value = std::strtol(argv[i + 1], nullptr, 10);
        if (key == "--games")
            options.games = int(value);
        else if (key == "--seats")
            options.seats = int(value);
        else if (key == "--hands")
            options.lastHand = int(value);
        else if (key == "--seed")
            options.seed = std::uint64_t(value);
        else if (key == "--trials")
            options.equityTrials = int(value);
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (options.seats < 2 || options.seats > 10 || options.games < 1) {
        std::fprintf(stderr, "--seats 2..10 and --games 1 or more\n");
        return 2;
    }
    std::string pattern =
        (std::filesystem::temp_directory_path() / "range_accuracy_XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    options.folder = pattern;
    const playout::RangeCheckResult result = playout::CheckRanges(options);
    std::fputs(playout::FormatRangeCheck(result).c_str(), stdout);
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return 0;
}
