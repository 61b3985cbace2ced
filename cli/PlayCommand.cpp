#include "cli/PlayCommand.h"

#include "cli/DataFolder.h"
#include "cli/args/CommandLine.h"
#include "interchange/Interchange.h"
#include "opponents/BotGame.h"
#include "opponents/Roster.h"
#include "places/FilePlaces.h"
#include "playout/Advisor.h"
#include "pokerlib/CardCodes.h"
#include "storage/PokerTables.h"
#include "storage/SessionSave.h"
#include "storage/UnsavedResults.h"
#include "validation/PlayerName.h"
#include "vocabulary/GameVocabulary.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <random>

namespace {

constexpr int kMinSeats = 2;
using brisquel::kMaxSeats;
constexpr int kDefaultStack = 1000;
constexpr int kDefaultSmallBlind = 10;
constexpr int kDefaultBigBlind = 20;

const CommandLine kPlayOptions = CommandLine()
                                     .Value("--seats")
                                     .Value("--names")
                                     .Value("--stacks")
                                     .Value("--blinds")
                                     .Value("--type")
                                     .Value("--hands")
                                     .Value("--seed")
                                     .Value("--out")
                                     .Value("--export-format")
                                     .Value("--coach-seat")
                                     .Value("--coach-samples");

struct UsageError
{
    std::string message;
};

constexpr int kTournamentStack = 1500;
// Play-outs per option of the coach's seat: enough to rank the options of most decisions.
constexpr int kDefaultCoachSamples = 60;
// All chips at the table, pot included, within what the hand-history readers read back.
constexpr long long kMaxTableChips = kMaxChips;

struct PlayOptions
{
    int seats = 0;
    std::vector<std::string> names;
    std::vector<int> stacks;
    int smallBlind = kDefaultSmallBlind;
    int bigBlind = kDefaultBigBlind;
    int gameTypeId = 0;
    int hands = 0;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> out;                  // without it, the data folder
    std::optional<interchange::Format> exportFormat; // a copy beside the hand history
    std::optional<int> coachSeat;                    // played by the advisor's best option
    int coachSamples = kDefaultCoachSamples;
};

void CheckNames(const std::vector<std::string> &names, int seats)
{
    const int count = static_cast<int>(names.size());
    if (seats != 0 && seats != count)
        throw UsageError{"--names gives " + std::to_string(count) + " names for " +
                         std::to_string(seats) + " seats"};
    if (count < kMinSeats || count > kMaxSeats)
        throw UsageError{"--names must give 2 to 10 names, separated by commas"};
    for (int i = 0; i < count; ++i) {
        const std::string &name = names[static_cast<size_t>(i)];
        // The name itself is not repeated: it may hold the very escape refused here.
        const std::string problem = PlayerNameProblem(name);
        if (!problem.empty())
            throw UsageError{"--names: name " + std::to_string(i + 1) + " " + problem};
        if (name == "Hero")
            throw UsageError{"\"Hero\" is the human player; play runs computer opponents "
                             "only"};
    }
}

std::vector<int> ParseStacks(const std::string &text, int seats, int defaultStack)
{
    std::vector<int> stacks;
    if (text.empty()) {
        stacks.assign(static_cast<size_t>(seats), defaultStack);
        return stacks;
    }
    const std::vector<std::string> parts = SplitList(text, ',');
    if (parts.size() != 1 && static_cast<int>(parts.size()) != seats)
        throw UsageError{"--stacks gives " + std::to_string(parts.size()) + " stacks for " +
                         std::to_string(seats) + " seats"};
    for (const std::string &part : parts)
        stacks.push_back(static_cast<int>(ParseInteger("--stacks", part, 1, kMaxChips)));
    if (stacks.size() == 1)
        stacks.assign(static_cast<size_t>(seats), stacks[0]);
    long long total = 0;
    for (int stack : stacks)
        total += stack;
    if (total > kMaxTableChips)
        throw UsageError{"--stacks: the chips at the table must stay at most " +
                         std::to_string(kMaxTableChips) + ", these add up to " +
                         std::to_string(total)};
    return stacks;
}

PlayOptions Parse(const ParsedArgs &args)
{
    PlayOptions o;
    o.seats = static_cast<int>(args.Integer("--seats", kMinSeats, kMaxSeats, 0));
    if (const auto names = args.Text("--names")) {
        o.names = SplitList(*names, ',');
        CheckNames(o.names, o.seats);
        o.seats = static_cast<int>(o.names.size());
    }
    if (const auto blinds = args.Text("--blinds")) {
        const auto parts = SplitList(*blinds, '/');
        if (parts.size() != 2)
            throw UsageError{"--blinds must be SB/BB, for example 10/20"};
        o.smallBlind =
            static_cast<int>(ParseInteger("--blinds: the small blind", parts[0], 0, kMaxChips));
        o.bigBlind =
            static_cast<int>(ParseInteger("--blinds: the big blind", parts[1], 1, kMaxChips));
        if (o.smallBlind > o.bigBlind)
            throw UsageError{"--blinds: the small blind is larger than the big blind"};
    }
    if (const auto type = args.Text("--type")) {
        if (*type == "9 players")
            o.gameTypeId = kGameTypeNinePlayers;
        else if (*type == "9 players Turbo")
            o.gameTypeId = kGameTypeNinePlayersTurbo;
        else
            throw UsageError{"--type must be \"9 players\" or \"9 players Turbo\""};
        if (args.Has("--blinds"))
            throw UsageError{"--blinds and --type cannot be combined"};
    }
    o.hands = static_cast<int>(args.Integer("--hands", 1, INT_MAX, 0));
    o.seed = args.Unsigned64("--seed");
    o.out = args.Text("--out");
    if (const auto name = args.Text("--export-format")) {
        interchange::Format format;
        if (!interchange::FormatFromName(*name, format))
            throw UsageError{"--export-format must be \"pokerstars\" or \"phh\""};
        o.exportFormat = format;
    }

    if (o.seats == 0)
        o.seats = 9;
    if (o.names.empty())
        o.names = DefaultBotNames(o.seats);
    o.stacks = ParseStacks(args.Text("--stacks").value_or(""), o.seats,
                           o.gameTypeId != 0 ? kTournamentStack : kDefaultStack);
    if (args.Has("--coach-seat"))
        o.coachSeat = static_cast<int>(args.Integer("--coach-seat", 0, o.seats - 1, 0));
    o.coachSamples =
        static_cast<int>(args.Integer("--coach-samples", 1, 100000, kDefaultCoachSamples));
    if (args.Has("--coach-samples") && !o.coachSeat)
        throw UsageError{"--coach-samples needs --coach-seat"};
    return o;
}

int Refuse(std::ostream &err, const std::string &message)
{
    err << "brisquel-cli play: " << message << "\n" << kPlayUsage;
    return kPlayExitUsage;
}

// A name with its seat suffix fits; padded by characters, not bytes, for names beyond ASCII.
constexpr int kNameColumn = kMaxPlayerNameLength + 2;

std::string PadRight(const std::string &text, int width)
{
    int length = 0;
    for (const char c : text)
        length += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return text + std::string(static_cast<size_t>(std::max(0, width - length)), ' ');
}

double Percent(int part, int whole)
{
    return whole > 0 ? 100.0 * part / whole : 0.0;
}

// Each seat's result of every hand it played, in big blinds of that hand.
struct HandResults
{
    std::vector<int> stacks; // after the last hand
    std::vector<std::vector<double>> bb;

    explicit HandResults(const std::vector<int> &start)
        : stacks(start)
        , bb(start.size())
    {}
    void Add(const CGameTable &t)
    {
        for (size_t s = 0; s < stacks.size(); ++s) {
            const int now = t.m_stack[s];
            if (stacks[s] > 0 && t.m_bigBlind > 0)
                bb[s].push_back(static_cast<double>(now - stacks[s]) / t.m_bigBlind);
            stacks[s] = now;
        }
    }
};

// Big blinds per 100 hands with the 95 % interval of the mean (normal approximation).
void PrintWinRates(std::ostream &out, const BotGameResult &result, const HandResults &results,
                   int coachSeat, int samples)
{
    out << "Coach: seat " << coachSeat << " plays the best option of " << samples
        << " play-outs per option\n";
    char line[160];
    std::snprintf(line, sizeof line, "%8s %20s %6s\n", "bb/100", "95% interval", "Hands");
    out << "Seat " << PadRight("Name", kNameColumn) << " " << line;
    for (size_t s = 0; s < result.seats.size(); ++s) {
        const std::vector<double> &v = results.bb[s];
        const double n = static_cast<double>(v.size());
        double mean = 0.0;
        for (double x : v)
            mean += x;
        mean = n > 0 ? mean / n : 0.0;
        double squares = 0.0;
        for (double x : v)
            squares += (x - mean) * (x - mean);
        const double error = n > 1 ? std::sqrt(squares / (n - 1) / n) : 0.0;
        char interval[64];
        std::snprintf(interval, sizeof interval, "[%.1f, %.1f]", 100 * (mean - 1.96 * error),
                      100 * (mean + 1.96 * error));
        std::snprintf(line, sizeof line, "%8.1f %20s %6zu\n", 100 * mean, interval, v.size());
        out << PadRight(std::to_string(s), 4) << " " << PadRight(result.seats[s].name, kNameColumn)
            << " " << line;
    }
}

} // namespace

const char kPlayUsage[] =
    "usage: brisquel-cli play [--seats N] [--names A,B,...] [--stacks S | S1,S2,...]\n"
    "                         [--blinds SB/BB | --type \"9 players\" | --type \"9 players "
    "Turbo\"]\n"
    "                         [--hands H] [--seed S] [--out DIR]\n"
    "                         [--export-format pokerstars|phh]\n"
    "                         [--coach-seat N [--coach-samples S]]\n"
    "  --out DIR: the folder for the game's files instead of brisquel-cli's data folder\n"
    "  --export-format: also keeps a copy of the hand history in that format beside it,\n"
    "  brought up to date as the game goes (at most once a second) and at its end\n"
    "  --coach-seat N: seat N (from 0) plays the coach's best option at every decision,\n"
    "  valued by S play-outs per option (default 60); each seat's big blinds per 100\n"
    "  hands follow, with their 95 % interval\n";

namespace {

// The folder for the game's files: --out, made if need be, else the data folder. False (a
// usage fault, said on `err`) when --out cannot be used; `usable` false when the data folder
// cannot, which leaves the game without files.
bool ChooseFolder(const PlayOptions &o, std::ostream &err, std::string &folder, bool &usable)
{
    usable = true;
    if (o.out) {
        folder = *o.out;
        if (const std::string tooLong = FolderPathProblem(folder); !tooLong.empty()) {
            err << "brisquel-cli play: --out: " << tooLong << "\n";
            return false;
        }
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !std::filesystem::is_directory(folder)) {
            err << "brisquel-cli play: cannot use the folder " << folder
                << (error ? ": " + error.message() : std::string()) << "\n";
            return false;
        }
        return true;
    }
    // The data folder was not asked for by name: a game without files beats no game.
    folder = DataFolder();
    const std::string problem = PrepareFolder(folder);
    usable = problem.empty();
    if (!usable)
        err << "brisquel-cli play: " << problem << "; the game log, the hand history and "
            << "the results are not saved\n";
    return true;
}

BotGameOptions GameOptions(const PlayOptions &o, const std::string &folder)
{
    BotGameOptions game;
    game.names = o.names;
    game.stacks = o.stacks;
    game.smallBlind = o.smallBlind;
    game.bigBlind = o.bigBlind;
    game.gameTypeId = o.gameTypeId;
    game.lastHand = o.hands;
    game.seed = o.seed;
    game.outputFolder = folder;
    return game;
}

// The copy for trackers: this game's hand-history file is the one not there before. The
// whole game is read for each copy, so a fast game rewrites it at most once a second, and
// once more at its end.
class TrackerCopy
{
public:
    TrackerCopy(const std::string &folder, interchange::Format format)
        : m_folder(folder)
        , m_format(format)
    {
        std::string none;
        m_earlier = history::FindHistoryFiles(folder, none);
    }
    void Write()
    {
        std::string ignored, problem;
        for (const std::string &file : history::FindHistoryFiles(m_folder, ignored)) {
            if (std::find(m_earlier.begin(), m_earlier.end(), file) == m_earlier.end() &&
                !interchange::WriteCopyBeside(file, m_format, problem) && problems.empty())
                problems.push_back(problem);
        }
        m_lastCopy = std::chrono::steady_clock::now();
    }
    void WriteWhenDue()
    {
        if (std::chrono::steady_clock::now() - m_lastCopy >= std::chrono::seconds(1))
            Write();
    }

    std::vector<std::string> problems;

private:
    std::string m_folder;
    interchange::Format m_format;
    std::vector<std::string> m_earlier;
    std::chrono::steady_clock::time_point m_lastCopy;
};

void PrintSeats(std::ostream &out, const BotGameResult &result, std::uint64_t seed)
{
    out << "Seed: " << seed << "\n";
    out << "Hands played: " << result.handsPlayed << "\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-10s %8s %6s %6s %6s %6s\n", "Strategy", "Stack", "N",
                  "VPIP", "PFR", "3-bet");
    out << "Seat " << PadRight("Name", kNameColumn) << " " << line;
    for (size_t s = 0; s < result.seats.size(); ++s) {
        const BotSeatResult &seat = result.seats[s];
        const CPokerStat &st = seat.stat;
        std::snprintf(line, sizeof line, "%-10s %8d %6d %5.1f%% %5.1f%% %5.1f%%\n",
                      StrategyLogName(seat.persona).c_str(), seat.finalStack, st.m_N,
                      Percent(st.m_VPIP, st.m_vpipOpportunities), Percent(st.m_PFR, st.m_N),
                      Percent(st.m_3bet, st.m_N));
        out << PadRight(std::to_string(s), 4) << " " << PadRight(seat.name, kNameColumn) << " "
            << line;
    }
    out << "Chips: " << result.startChips() << " at the start, " << result.finalChips()
        << " at the end\n";
}

// What went wrong with the game's files and chips, and the exit status that says it.
int ReportProblems(std::ostream &err, const BotGameResult &result, bool folderUsable,
                   const std::vector<std::string> &copyProblems, const SaveOutcome &saved,
                   CPokerDatabase &db)
{
    if (folderUsable) { // else the folder's problem was said at the start
        for (const std::string &problem : result.fileProblems)
            err << "brisquel-cli play: could not write " << problem << "\n";
        for (const std::string &problem : copyProblems)
            err << "brisquel-cli play: " << problem << "\n";
        if (!saved.saved)
            err << "brisquel-cli play: " << SaveProblemText(saved, db) << "\n";
        if (const std::string kept = KeptText(saved); !kept.empty())
            err << "brisquel-cli play: " << kept << "\n";
    }
    if (result.startChips() != result.finalChips()) {
        err << "brisquel-cli play: chips were lost or made during the game\n";
        return kPlayExitFault;
    }
    if (!saved.saved)
        return kPlayExitNotSaved;
    if (!result.fileProblems.empty() || !copyProblems.empty())
        return kPlayExitFilesNotWritten;
    return kPlayExitOk;
}

} // namespace

int RunPlayCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    PlayOptions o;
    try {
        const ParsedArgs parsed = kPlayOptions.Parse(args);
        if (parsed.Help()) {
            out << kPlayUsage;
            return kPlayExitOk;
        }
        o = Parse(parsed);
    } catch (const ArgError &e) {
        return Refuse(err, e.what());
    } catch (const UsageError &e) {
        return Refuse(err, e.message);
    }

    std::string folder;
    bool folderUsable = true;
    if (!ChooseFolder(o, err, folder, folderUsable))
        return kPlayExitUsage;
    if (!o.seed)
        o.seed = std::random_device{}();

    CPokerDatabase db;
    if (folderUsable) // a failure is said with the save's, which opens it again
        OpenDatabase(db, folder);
    SaveOutcome saved;

    BotGameOptions game = GameOptions(o, folder);
    if (folderUsable) { // the game thread is joined before `saved` is read
        game.saveResults = [&db, &saved, &folder](CDunmereGame &g) {
            const UnsavedGame results{std::time(nullptr),
                                      CollectSessionResult(g.m_table, g.m_chipsAdded)};
            saved = SaveOrKeep(db, folder, results);
        };
    }
    std::optional<TrackerCopy> copy;
    if (o.exportFormat && folderUsable)
        copy.emplace(folder, *o.exportFormat);
    HandResults handResults(o.stacks);
    std::unique_ptr<playout::CCoachDecider> coach;
    if (o.coachSeat) {
        playout::AdviseSettings settings;
        settings.maxMillis = 0;
        settings.samplesPerOption = o.coachSamples;
        settings.seed = *o.seed;
        coach = std::make_unique<playout::CCoachDecider>(*o.coachSeat, settings);
        game.decider = coach.get();
    }
    if (copy || coach) {
        game.onHandEnd = [&](const CDunmereGame &g) {
            if (coach)
                handResults.Add(g.m_table);
            if (copy)
                copy->WriteWhenDue();
        };
    }
    const BotGameResult result = RunBotGame(game);
    if (copy)
        copy->Write();

    PrintSeats(out, result, *o.seed);
    if (coach)
        PrintWinRates(out, result, handResults, *o.coachSeat, o.coachSamples);
    return ReportProblems(err, result, folderUsable,
                          copy ? copy->problems : std::vector<std::string>(), saved, db);
}

int RunPlayCommand(const std::vector<std::string> &args)
{
    return RunPlayCommand(args, std::cout, std::cerr);
}
