#include "cli/Commands.h"

#include "cli/DataFolder.h"
#include "cli/args/CommandLine.h"
#include "coach/Review.h"
#include "interchange/Interchange.h"
#include "practice/Store.h"
#include "practice/Variations.h"
#include "validation/PrintableText.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

namespace {

constexpr long long kMaxSamples = 100000;
constexpr long long kMaxLast = 1000;
constexpr int kDefaultLast = 10;
constexpr long long kMaxVariations = 20;

std::string StorePath()
{
    return (std::filesystem::path(DataFolder()) / practice::kStoreFileName).string();
}

bool OpenStore(practice::Store &store, std::string &error)
{
    if (!store.Open(StorePath(), error))
        return false;
    if (store.rebuilt())
        std::fprintf(stderr, "brisquel-cli: warning: %s\n", PrintableText(store.notice()).c_str());
    return true;
}

// The spots of `player` in the games of `path`, reviewed as `review` does.
// With `variations`, each spot is followed by that many with other cards of its class, as many
// other boards of its texture, and its stack halved and doubled.
bool SpotsOfPath(const std::string &path, const std::string &player, bool all,
                 const coach::ReviewOptions &options, int variations,
                 std::vector<practice::Spot> &spots, std::string &error)
{
    std::vector<history::Game> games;
    std::vector<std::string> warnings;
    if (!interchange::ReadAnyGames(path, all, games, error, warnings))
        return false;
    for (const std::string &warning : warnings)
        std::fprintf(stderr, "brisquel-cli: warning: %s\n", PrintableText(warning).c_str());
    coach::Estimator estimator(coach::kDefaultTrials, options.seed);
    for (const history::Game &game : games) {
        const int seat = coach::ReviewSeat(game, player, error);
        if (seat < 0)
            return false;
        std::vector<coach::ReviewRow> rows;
        coach::ReviewSummary summary;
        if (!coach::ReviewGame(game, seat, estimator, rows, summary, error, {}, options))
            return false;
        for (const practice::Spot &spot : practice::SpotsOfGame(game, seat, rows)) {
            spots.push_back(spot);
            const std::uint64_t seed = options.seed.value_or(0) ^
                                       (0x9E3779B97F4A7C15ULL * std::uint64_t(spot.hand + 1)) ^
                                       std::uint64_t(spot.decision);
            if (variations == 0)
                continue;
            const int samples = options.samplesPerOption;
            for (auto &&varied :
                 {practice::Variations(game, seat, spot, variations, samples, seed),
                  practice::BoardVariations(game, seat, spot, variations, samples, seed),
                  practice::StackVariations(game, seat, spot, samples, seed)})
                spots.insert(spots.end(), varied.begin(), varied.end());
        }
    }
    return true;
}

void PrintDeck(const std::vector<practice::Spot> &spots, std::int64_t now)
{
    std::printf("leak\tspots\tbb_lost\tdue\n");
    for (const practice::Leak &leak : practice::Leaks(spots)) {
        int due = 0;
        for (const practice::Spot *spot : leak.spots)
            due += spot->due <= now ? 1 : 0;
        std::printf("%s\t%zu\t%.2f\t%d\n", practice::LeakName(leak.key).c_str(), leak.spots.size(),
                    leak.lossBb, due);
        for (const practice::Spot *spot : leak.spots)
            std::printf(
                "\t%s\t%s\tlost %.2f bb\t%s\n", PrintableText(practice::SpotLine(*spot)).c_str(),
                spot->variant > 0 ? "variation" : ("played " + spot->played).c_str(), spot->lossBb,
                PrintableText(std::filesystem::path(spot->game).filename().string()).c_str());
    }
}

std::string DueText(std::int64_t due, std::int64_t now)
{
    if (due <= now)
        return "now";
    const long long days = (due - now + 86399) / 86400;
    return "in " + std::to_string(days) + (days == 1 ? " day" : " days");
}

// The next due spot, or a refusal naming when one will be.
bool NextDue(const std::vector<practice::Spot> &spots, std::int64_t now,
             const std::vector<practice::Try> &tries, size_t &index, std::string &error)
{
    if (spots.empty()) {
        error = "the practice deck is empty: drill --deck PATH adds the spots of your games";
        return false;
    }
    const std::optional<size_t> next =
        practice::NextSpot(spots, now, tries.empty() ? std::string() : tries.back().spot);
    if (next) {
        index = *next;
        return true;
    }
    std::int64_t soonest = spots.front().due;
    for (const practice::Spot &spot : spots)
        soonest = std::min(soonest, spot.due);
    error = "no spot is due now; the next is due " + DueText(soonest, now);
    return false;
}

int Answer(practice::Store &store, std::vector<practice::Spot> &spots,
           const std::vector<practice::Try> &tries, const std::string &text, std::int64_t now)
{
    practice::Answer answer;
    std::string error;
    size_t index = 0;
    if (!practice::ParseAnswer(text, answer, error) || !NextDue(spots, now, tries, index, error))
        return Fail(PrintableText(error));
    practice::Spot &spot = spots[index];
    practice::Graded graded;
    if (!practice::GradeAnswer(spot, answer, graded, error))
        return Fail(error);
    practice::Schedule(spot, graded, now);
    if (!store.Answered(spot, {spot.key(), now, graded.right, graded.advice.lossBb}, error))
        return Fail(PrintableText(StorePath() + ": the answer is not saved: " + error));
    const playout::Advice &advice = graded.advice;
    std::printf("spot\t%s\n", PrintableText(practice::SpotLine(spot)).c_str());
    // A size not valued is graded as the nearest one: "raise to 75 ≈ raise to 60".
    const std::string taken =
        playout::OptionLabel(advice.options[static_cast<size_t>(advice.chosen)]);
    std::printf("answer\t%s\n",
                graded.exact ? taken.c_str()
                             : ("raise to " + std::to_string(answer.to) + " ≈ " + taken).c_str());
    std::printf("grade\t%s\nloss_bb\t%.2f\n", playout::GradeName(advice.grade), advice.lossBb);
    std::printf("best\t%s\n",
                playout::OptionLabel(advice.options[static_cast<size_t>(advice.best)]).c_str());
    std::printf("options\t%s\n", playout::LiveLine(advice).c_str());
    std::printf("next\t%s\n", spot.again ? "again today" : DueText(spot.due, now).c_str());
    return kExitOk;
}

void PrintReport(const std::vector<practice::Spot> &spots, const std::vector<practice::Try> &tries,
                 int last, std::int64_t now)
{
    std::printf("leak\tspots\ttries\tright\tmastery\tbb_lost_per_try\tdue\n");
    int due = 0;
    for (const practice::Leak &leak : practice::Leaks(spots)) {
        const practice::Mastery m = practice::MasteryOf(leak, tries, last, now);
        due += m.due;
        const std::string share =
            m.tries > 0 ? std::to_string((100 * m.right + m.tries / 2) / m.tries) + "%" : "-";
        std::printf("%s\t%zu\t%d\t%d\t%s\t%.2f\t%d\n", practice::LeakName(leak.key).c_str(),
                    leak.spots.size(), m.tries, m.right, share.c_str(), m.lossPerTryBb, m.due);
    }
    std::printf("\ndue now\t%d\n", due);
    size_t next = 0;
    std::string none;
    if (NextDue(spots, now, tries, next, none))
        std::printf("next spot\t%s\n", PrintableText(practice::SpotLine(spots[next])).c_str());
    else if (!spots.empty())
        std::printf("next spot\t%s\n", none.c_str());
}

} // namespace

const char kDrillUsage[] =
    "usage: brisquel-cli drill --deck [PATH] [--player NAME] [--all] [--samples N] [--seed S]\n"
    "                          [--variations V]\n"
    "       brisquel-cli drill --next | --answer fold|call|raise N | --report [--last N]\n"
    "       --deck: the practice deck, its leaks costliest first with their spots; with PATH\n"
    "       (as review reads it; an empty deck reads the data folder) the player's decisions\n"
    "       graded a small mistake or worse are added first, each with V others of its hole\n"
    "       cards' class, V other boards of its texture and the player's stack halved and\n"
    "       doubled (default V 0: none)\n"
    "       --next: the spot due now; --answer: answers it, prints the grade and the best option\n"
    "       --report: each leak's share right over its last N answers (default 10) and what is\n"
    "       due. The deck and its schedule are kept in Practice.db3 in the data folder\n";

// drill --deck [PATH] ... | --next | --answer A | --report [--last N]
int RunDrillCommand(const CommandArgs &args)
{
    std::string path, player, answer;
    bool all = false;
    long long samples = coach::kDefaultReviewSamples, last = kDefaultLast, variations = 0;
    std::optional<std::uint64_t> seed;
    int modes = 0;
    ParsedArgs parsed;
    try {
        parsed = CommandLine()
                     .Flag("--deck")
                     .Flag("--next")
                     .Value("--answer")
                     .Flag("--report")
                     .Value("--player")
                     .Flag("--all")
                     .Value("--samples")
                     .Value("--seed")
                     .Value("--last")
                     .Value("--variations")
                     .Positional(1)
                     .Parse(args);
        if (parsed.Help())
            return PrintHelp(kDrillUsage);
        for (const char *mode : {"--deck", "--next", "--answer", "--report"})
            modes += parsed.Has(mode) ? 1 : 0;
        if (modes != 1)
            throw ArgError("give one of --deck, --next, --answer and --report");
        player = parsed.Text("--player").value_or("");
        all = parsed.Has("--all");
        samples = parsed.Integer("--samples", 1, kMaxSamples, coach::kDefaultReviewSamples);
        seed = parsed.Unsigned64("--seed");
        last = parsed.Integer("--last", 1, kMaxLast, kDefaultLast);
        variations = parsed.Integer("--variations", 0, kMaxVariations, 0);
        // "--answer raise 60": the size is the positional word.
        answer = parsed.Text("--answer").value_or("");
        const std::vector<std::string> &words = parsed.Positional();
        if (parsed.Has("--answer") && !words.empty())
            answer += " " + words[0];
        else if (parsed.Has("--deck") && !words.empty())
            path = words[0];
        else if (!words.empty())
            throw ArgError("unexpected argument '" + words[0] + "'");
        if (!parsed.Has("--deck") && (parsed.Has("--player") || all || parsed.Has("--samples") ||
                                      parsed.Has("--seed") || parsed.Has("--variations")))
            throw ArgError("--player, --all, --samples, --seed and --variations go with --deck");
        if (parsed.Has("--last") && !parsed.Has("--report"))
            throw ArgError("--last goes with --report");
    } catch (const ArgError &e) {
        return Fail(e.what());
    }
    practice::Store store;
    std::string error;
    std::vector<practice::Spot> spots;
    std::vector<practice::Try> tries;
    if (!OpenStore(store, error) || !store.Load(spots, error) || !store.Tries(tries, error))
        return Fail(PrintableText(error));
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (parsed.Has("--answer"))
        return Answer(store, spots, tries, answer, now);
    if (parsed.Has("--next")) {
        size_t index = 0;
        if (!NextDue(spots, now, tries, index, error))
            return Fail(PrintableText(error));
        std::printf("spot\t%s\noptions\t%s\n",
                    PrintableText(practice::SpotLine(spots[index])).c_str(),
                    practice::OptionsLine(spots[index]).c_str());
        return kExitOk;
    }
    if (parsed.Has("--report")) {
        PrintReport(spots, tries, static_cast<int>(last), now);
        return kExitOk;
    }
    if (!path.empty() || spots.empty()) {
        coach::ReviewOptions options;
        options.samplesPerOption = static_cast<int>(samples);
        options.seed = seed;
        std::vector<practice::Spot> found;
        if (!SpotsOfPath(path.empty() ? DataFolder() : path, player, all, options,
                         static_cast<int>(variations), found, error))
            return Fail(PrintableText(error));
        const int added = store.Add(found, error);
        if (added < 0)
            return Fail(PrintableText(StorePath() + ": the spots are not saved: " + error));
        std::fprintf(stderr, "brisquel-cli: %d new spot%s in the deck\n", added,
                     added == 1 ? "" : "s");
        spots.clear();
        if (!store.Load(spots, error))
            return Fail(PrintableText(error));
    }
    PrintDeck(spots, now);
    return kExitOk;
}
