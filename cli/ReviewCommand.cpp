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

namespace {

// The reviewed seat of each game. A player followed through the tables of an imported file
// sits at some of them only: with --all the tables without him are left out (and counted in
// `left`). False with a message when a game has no such player.
bool PickSeats(std::vector<history::Game> &games, const std::string &player, bool all,
               const std::string &path, std::vector<int> &seats, size_t &left, std::string &error)
{
    const bool imported = interchange::IsOtherFormatFile(path);
    for (size_t g = 0; g < games.size(); ++g) {
        const int seat = coach::ReviewSeat(games[g], player, error);
        if (seat < 0 && !(imported && all && !player.empty()))
            return false;
        if (seat < 0) {
            games.erase(games.begin() + static_cast<std::ptrdiff_t>(g--));
            ++left;
            continue;
        }
        seats.push_back(seat);
    }
    return true;
}

void WarnAboutGame(const std::string &path, const history::Game &game)
{
    const std::string file = PrintableText(game.historyPath);
    for (const std::string &warning : game.warnings)
        std::fprintf(stderr, "brisquel-cli: warning: %s: %s\n", path.c_str(),
                     PrintableText(warning).c_str());
    if (!game.moneyUnit.empty())
        std::fprintf(stderr, "brisquel-cli: %s: amounts are in hundredths of %s\n", file.c_str(),
                     PrintableText(game.moneyUnit).c_str());
    if (game.damagedHands > 0)
        std::fprintf(stderr, "brisquel-cli: warning: %s: %d damaged hand%s left out\n",
                     file.c_str(), game.damagedHands, game.damagedHands == 1 ? "" : "s");
}

// The name of game g in the rows: its file's, or its number where several games come from one
// file (PokerStars tables).
std::string GameName(const std::vector<history::Game> &games, size_t g)
{
    const auto samePath = [&](size_t other) {
        return other < games.size() && other != g &&
               games[other].historyPath == games[g].historyPath;
    };
    std::string name =
        PrintableText(std::filesystem::path(games[g].historyPath).filename().string());
    if (samePath(g - 1) || samePath(g + 1))
        name = std::to_string(g + 1);
    return name;
}

struct Luck
{
    long long actualChips = 0;
    double adjustedChips = 0.0;
    int allIns = 0;
};

void PrintReview(const std::vector<coach::ReviewRow> &rows,
                 const std::vector<std::string> &gameOfRow, const coach::ReviewSummary &summary,
                 const Luck &luck)
{
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
                luck.allIns, luck.actualChips, luck.adjustedChips);
    std::printf("\nstreet\tposition\taction\tdecisions\tmistakes\tbb_lost\texploit_only\n");
    for (const coach::LeakCell &cell : coach::LeakTable(rows))
        std::printf("%s\t%s\t%s\t%d\t%d\t%.2f\t%d\n", history::StreetName(cell.street),
                    coach::PositionName(cell.position), coach::MoveName(cell.move), cell.decisions,
                    cell.mistakes, cell.lostBb, cell.exploitOnly);
}

} // namespace

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
    std::vector<int> seats;
    size_t left = 0;
    if (!PickSeats(games, player, all, path, seats, left, error))
        return Fail(PrintableText(error));
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
    Luck luck;
    for (size_t g = 0; g < games.size(); ++g) {
        WarnAboutGame(path, games[g]);
        const std::string file = PrintableText(games[g].historyPath);
        const size_t warned = summary.warnings.size();
        if (!coach::ReviewGame(games[g], seats[g], estimator, rows, summary, error, {}, options))
            return Fail(PrintableText(error));
        for (size_t w = warned; w < summary.warnings.size(); ++w)
            std::fprintf(stderr, "brisquel-cli: warning: %s: %s\n", file.c_str(),
                         PrintableText(summary.warnings[w]).c_str());
        gameOfRow.resize(rows.size(), GameName(games, g));
        const coach::AllInAdjustedResult adjusted = coach::AllInAdjusted(games[g], seats[g]);
        luck.actualChips += adjusted.actualChips;
        luck.adjustedChips += adjusted.adjustedChips;
        luck.allIns += adjusted.allIns;
    }
    PrintReview(rows, gameOfRow, summary, luck);
    return kExitOk;
}
