#include "cli/Commands.h"

#include "cli/args/CommandLine.h"
#include "cli/DataFolder.h"
#include "coach/Review.h"
#include "interchange/Interchange.h"
#include "validation/PrintableText.h"

#include <cstdio>

namespace {

constexpr long long kMaxTrials = 10000000;

} // namespace

const char kReviewUsage[] =
    "usage: brisquel-cli review [PATH] [--player NAME] [--all] [--trials T] [--seed S]\n"
    "       PATH: a hand-history file, or a folder as play --out writes it (its latest game,\n"
    "       every game with --all); without it the data folder. PokerStars-format hand\n"
    "       histories and PHH files are read too (their last table, every table with --all)\n";

// review [PATH] [--player NAME] [--all] [--trials T] [--seed S]
int RunReviewCommand(const CommandArgs &args)
{
    std::string path, player;
    bool all = false;
    long long trials = coach::kDefaultTrials;
    std::optional<std::uint64_t> seed;
    try {
        const ParsedArgs parsed = CommandLine()
                                      .Value("--player")
                                      .Flag("--all")
                                      .Value("--trials")
                                      .Value("--seed")
                                      .Positional(1)
                                      .Parse(args);
        if (parsed.Help())
            return PrintHelp(kReviewUsage);
        if (!parsed.Positional().empty())
            path = parsed.Positional()[0];
        player = parsed.Text("--player").value_or("");
        all = parsed.Has("--all");
        trials = parsed.Integer("--trials", 1, kMaxTrials, coach::kDefaultTrials);
        seed = parsed.Unsigned64("--seed");
    } catch (const ArgError &e) {
        return Fail(e.what());
    }
    if (path.empty())
        path = DataFolder(); // where play and the desktop program keep their games

    std::vector<history::Game> games;
    std::string error;
    std::vector<std::string> importWarnings;
    if (!interchange::ReadAnyGames(path, all, games, error, importWarnings))
        return Fail(PrintableText(error));
    for (const std::string &warning : importWarnings)
        std::fprintf(stderr, "brisquel-cli: warning: %s\n", PrintableText(warning).c_str());
    // Every game is checked before anything is printed: a refusal leaves standard output empty.
    std::vector<int> seats;
    for (const history::Game &game : games) {
        const int seat = coach::ReviewSeat(game, player, error);
        if (seat < 0)
            return Fail(PrintableText(error));
        seats.push_back(seat);
    }
    coach::Estimator estimator(static_cast<int>(trials), seed);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
    for (size_t g = 0; g < games.size(); ++g) {
        for (const std::string &warning : games[g].warnings)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %s\n",
                         PrintableText(games[g].historyPath).c_str(),
                         PrintableText(warning).c_str());
        if (games[g].damagedHands > 0)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %d damaged hand%s left out\n",
                         PrintableText(games[g].historyPath).c_str(), games[g].damagedHands,
                         games[g].damagedHands == 1 ? "" : "s");
        if (!coach::ReviewGame(games[g], seats[g], estimator, rows, summary, error))
            return Fail(PrintableText(error));
    }
    std::printf("%s\n", coach::ReviewHeader().c_str());
    for (const coach::ReviewRow &row : rows)
        std::printf("%s\n", coach::ReviewLine(row).c_str());
    std::printf("\ndecisions\t%d\ntoo tight\t%d\ntoo loose\t%d\nchips lost per 100 hands\t%.1f\n",
                summary.decisions, summary.tooTight, summary.tooLoose, summary.chipsLostPer100());
    return kExitOk;
}
