#include "cli/Commands.h"

#include "cli/DataFolder.h"
#include "cli/args/CommandLine.h"
#include "coach/AllInAdjusted.h"
#include "coach/Review.h"
#include "interchange/Interchange.h"
#include "validation/PrintableText.h"

#include <cstdio>
#include <filesystem>

namespace {

constexpr long long kMaxTrials = 10000000;
constexpr long long kMaxSamples = 100000;

} // namespace

const char kReviewUsage[] =
    "usage: brisquel-cli review [PATH] [--player NAME] [--all] [--trials T] [--samples N]\n"
    "                           [--seed S]\n"
    "       PATH: a hand-history file, or a folder as play --out writes it (its latest game,\n"
    "       every game with --all); without it the data folder. PokerStars-format hand\n"
    "       histories and PHH files are read too (their last table, every table with --all)\n"
    "       --samples N: play-outs per option behind each decision's grade (default 600;\n"
    "       0 leaves the grades out)\n";

// review [PATH] [--player NAME] [--all] [--trials T] [--samples N] [--seed S]
int RunReviewCommand(const CommandArgs &args)
{
    std::string path, player;
    bool all = false;
    long long trials = coach::kDefaultTrials;
    long long samples = coach::kDefaultReviewSamples;
    std::optional<std::uint64_t> seed;
    try {
        const ParsedArgs parsed = CommandLine()
                                      .Value("--player")
                                      .Flag("--all")
                                      .Value("--trials")
                                      .Value("--samples")
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
        samples = parsed.Integer("--samples", 0, kMaxSamples, coach::kDefaultReviewSamples);
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
    // A player followed through the tables of an imported file sits at some of them only.
    const bool imported = interchange::IsOtherFormatFile(path);
    std::vector<int> seats;
    size_t left = 0;
    for (size_t g = 0; g < games.size(); ++g) {
        const int seat = coach::ReviewSeat(games[g], player, error);
        if (seat < 0 && !(imported && all && !player.empty()))
            return Fail(PrintableText(error));
        if (seat < 0) {
            games.erase(games.begin() + static_cast<std::ptrdiff_t>(g--));
            ++left;
            continue;
        }
        seats.push_back(seat);
    }
    if (games.empty())
        return Fail(PrintableText("\"" + player + "\" is at no table of " + path));
    if (left > 0)
        std::fprintf(stderr, "brisquel-cli: %s: %zu table%s without %s left out\n",
                     PrintableText(path).c_str(), left, left == 1 ? "" : "s",
                     PrintableText(player).c_str());
    coach::Estimator estimator(static_cast<int>(trials), seed);
    coach::ReviewOptions options;
    options.samplesPerOption = static_cast<int>(samples);
    options.seed = seed;
    std::vector<coach::ReviewRow> rows;
    std::vector<std::string> gameOfRow;
    coach::ReviewSummary summary;
    long long actualChips = 0;
    double adjustedChips = 0.0;
    int allIns = 0;
    for (size_t g = 0; g < games.size(); ++g) {
        const std::string file = PrintableText(games[g].historyPath);
        for (const std::string &warning : games[g].warnings)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %s\n", path.c_str(),
                         PrintableText(warning).c_str());
        if (!games[g].moneyUnit.empty())
            std::fprintf(stderr, "brisquel-cli: %s: amounts are in hundredths of %s\n",
                         file.c_str(), PrintableText(games[g].moneyUnit).c_str());
        if (games[g].damagedHands > 0)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %d damaged hand%s left out\n",
                         file.c_str(), games[g].damagedHands,
                         games[g].damagedHands == 1 ? "" : "s");
        const size_t warned = summary.warnings.size();
        if (!coach::ReviewGame(games[g], seats[g], estimator, rows, summary, error, {}, options))
            return Fail(PrintableText(error));
        for (size_t w = warned; w < summary.warnings.size(); ++w)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %s\n", file.c_str(),
                         PrintableText(summary.warnings[w]).c_str());
        // Several games can come from one file (PokerStars tables): then they go by number.
        const auto samePath = [&](size_t other) {
            return other < games.size() && other != g &&
                   games[other].historyPath == games[g].historyPath;
        };
        std::string name =
            PrintableText(std::filesystem::path(games[g].historyPath).filename().string());
        if (samePath(g - 1) || samePath(g + 1))
            name = std::to_string(g + 1);
        gameOfRow.resize(rows.size(), name);
        const coach::AllInAdjustedResult luck = coach::AllInAdjusted(games[g], seats[g]);
        actualChips += luck.actualChips;
        adjustedChips += luck.adjustedChips;
        allIns += luck.allIns;
    }
    std::printf("%s\n", coach::ReviewHeader().c_str());
    for (size_t r = 0; r < rows.size(); ++r)
        std::printf("%s\n", coach::ReviewLine(rows[r], gameOfRow[r]).c_str());
    std::printf("\ndecisions\t%d\ntoo tight\t%d\ntoo loose\t%d\nchips lost per 100 hands\t%.1f\n",
                summary.decisions, summary.tooTight, summary.tooLoose, summary.chipsLostPer100());
    std::printf("graded decisions\t%d\nEV loss per 100 hands\t%.2f\n", summary.graded,
                summary.evLossPer100());
    for (size_t g = 0; g < summary.byGrade.size(); ++g)
        std::printf("graded %s\t%d\n", playout::GradeName(static_cast<playout::Grade>(g)),
                    summary.byGrade[g]);
    std::printf("all-ins before the river\t%d\nchips won\t%lld\nchips won all-in adjusted\t%.1f\n",
                allIns, actualChips, adjustedChips);
    std::printf("\nstreet\tposition\taction\tdecisions\tmistakes\tbb_lost\texploit_only\n");
    for (const coach::LeakCell &cell : coach::LeakTable(rows))
        std::printf("%s\t%s\t%s\t%d\t%d\t%.2f\t%d\n", history::StreetName(cell.street),
                    coach::PositionName(cell.position), coach::MoveName(cell.move), cell.decisions,
                    cell.mistakes, cell.lostBb, cell.exploitOnly);
    return kExitOk;
}
