#include "PlayCommand.h"

#include "BotGame.h"
#include "PokerTables.h"
#include "Roster.h"
#include "SessionSave.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>

namespace {

constexpr int kMinSeats = 2;
constexpr int kMaxSeats = 10;
constexpr int kDefaultStack = 1000;
constexpr int kDefaultSmallBlind = 10;
constexpr int kDefaultBigBlind = 20;

const char kUsage[] =
    "usage: brisquel-cli play [--seats N] [--names A,B,...] [--stacks S | S1,S2,...]\n"
    "                         [--blinds SB/BB | --type \"9 players\" | --type \"9 players "
    "Turbo\"]\n"
    "                         [--hands H] [--seed S] [--out DIR]\n";

struct UsageError
{
    std::string message;
};

template <typename T> T Number(const std::string &text, const std::string &option)
{
    T value{};
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty())
        throw UsageError{option + ": \"" + text + "\" is not a number"};
    return value;
}

std::vector<std::string> SplitList(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

struct PlayOptions
{
    int seats = 0;
    std::vector<std::string> names;
    std::vector<int> stacks;
    bool blindsGiven = false;
    int smallBlind = kDefaultSmallBlind;
    int bigBlind = kDefaultBigBlind;
    int gameTypeId = 0;
    int hands = 0;
    std::optional<std::uint64_t> seed;
    std::string out = ".";
};

PlayOptions Parse(const std::vector<std::string> &args)
{
    PlayOptions o;
    std::vector<std::string> stackTexts;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &option = args[i];
        if (i + 1 >= args.size())
            throw UsageError{option.rfind("--", 0) == 0 ? option + " needs a value"
                                                        : "unknown argument " + option};
        const std::string value = args[++i];
        if (value.rfind("--", 0) == 0)
            throw UsageError{option + " needs a value"};
        if (option == "--seats") {
            o.seats = Number<int>(value, option);
            if (o.seats < kMinSeats || o.seats > kMaxSeats)
                throw UsageError{"--seats must be 2 to 10"};
        } else if (option == "--names") {
            o.names = SplitList(value, ',');
        } else if (option == "--stacks") {
            stackTexts = SplitList(value, ',');
        } else if (option == "--blinds") {
            const auto parts = SplitList(value, '/');
            if (parts.size() != 2)
                throw UsageError{"--blinds must be SB/BB, for example 10/20"};
            o.smallBlind = Number<int>(parts[0], option);
            o.bigBlind = Number<int>(parts[1], option);
            if (o.bigBlind < 1 || o.smallBlind < 0 || o.smallBlind > o.bigBlind)
                throw UsageError{"--blinds: need 0 <= SB <= BB and BB >= 1"};
            o.blindsGiven = true;
        } else if (option == "--type") {
            if (value == "9 players")
                o.gameTypeId = 3;
            else if (value == "9 players Turbo")
                o.gameTypeId = 4;
            else
                throw UsageError{"--type must be \"9 players\" or \"9 players Turbo\""};
        } else if (option == "--hands") {
            o.hands = Number<int>(value, option);
            if (o.hands < 1)
                throw UsageError{"--hands must be at least 1"};
        } else if (option == "--seed") {
            o.seed = Number<std::uint64_t>(value, option);
        } else if (option == "--out") {
            if (value.empty())
                throw UsageError{"--out needs a folder"};
            o.out = value;
        } else {
            throw UsageError{"unknown option " + option};
        }
    }
    if (o.blindsGiven && o.gameTypeId != 0)
        throw UsageError{"--blinds and --type cannot be combined"};

    if (!o.names.empty()) {
        const int count = static_cast<int>(o.names.size());
        if (o.seats != 0 && o.seats != count)
            throw UsageError{"--names gives " + std::to_string(count) + " names for " +
                             std::to_string(o.seats) + " seats"};
        if (count < kMinSeats || count > kMaxSeats)
            throw UsageError{"--names must give 2 to 10 names"};
        o.seats = count;
        for (const std::string &name : o.names) {
            if (name.empty())
                throw UsageError{"--names: a name is empty"};
            if (name == "Hero")
                throw UsageError{"\"Hero\" is the human player; play runs computer opponents "
                                 "only"};
        }
    }
    if (o.seats == 0)
        o.seats = 9;
    if (o.names.empty())
        o.names = DefaultBotNames(o.seats);

    const int defaultStack = o.gameTypeId == 3 || o.gameTypeId == 4 ? 1500 : kDefaultStack;
    if (stackTexts.empty()) {
        o.stacks.assign(static_cast<size_t>(o.seats), defaultStack);
    } else if (stackTexts.size() == 1) {
        o.stacks.assign(static_cast<size_t>(o.seats), Number<int>(stackTexts[0], "--stacks"));
    } else if (static_cast<int>(stackTexts.size()) == o.seats) {
        for (const std::string &text : stackTexts)
            o.stacks.push_back(Number<int>(text, "--stacks"));
    } else {
        throw UsageError{"--stacks gives " + std::to_string(stackTexts.size()) + " stacks for " +
                         std::to_string(o.seats) + " seats"};
    }
    long long total = 0;
    for (int stack : o.stacks) {
        if (stack < 1)
            throw UsageError{"--stacks: every stack must be at least 1"};
        total += stack;
    }
    if (total > 2000000000LL)
        throw UsageError{"--stacks: the chips at the table must stay below 2000000000"};
    return o;
}

double Percent(int part, int whole)
{
    return whole > 0 ? 100.0 * part / whole : 0.0;
}

} // namespace

int RunPlayCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    PlayOptions o;
    try {
        o = Parse(args);
    } catch (const UsageError &e) {
        err << "brisquel-cli play: " << e.message << "\n" << kUsage;
        return kPlayExitUsage;
    }

    std::error_code error;
    std::filesystem::create_directories(o.out, error);
    if (error || !std::filesystem::is_directory(o.out)) {
        err << "brisquel-cli play: cannot use the folder " << o.out << "\n";
        return kPlayExitUsage;
    }
    if (!o.seed)
        o.seed = std::random_device{}();

    CPokerDatabase db;
    const bool saving = OpenDatabase(db, o.out);
    if (!saving)
        err << "brisquel-cli play: " << kDatabaseFileName << " cannot be used; results are not "
            << "saved\n";

    BotGameOptions game;
    game.names = o.names;
    game.stacks = o.stacks;
    game.smallBlind = o.smallBlind;
    game.bigBlind = o.bigBlind;
    game.gameTypeId = o.gameTypeId;
    game.lastHand = o.hands;
    game.seed = o.seed;
    game.outputFolder = o.out;
    if (saving)
        game.saveResults = [&db](CDunmereGame &g) { SaveSessionResults(db, g); };
    const BotGameResult result = RunBotGame(game);

    out << "Seed: " << *o.seed << "\n";
    out << "Hands played: " << result.handsPlayed << "\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-4s %-14s %-10s %8s %6s %6s %6s %6s\n", "Seat", "Name",
                  "Strategy", "Stack", "N", "VPIP", "PFR", "3-bet");
    out << line;
    for (size_t s = 0; s < result.seats.size(); ++s) {
        const BotSeatResult &seat = result.seats[s];
        const CPokerStat &st = seat.stat;
        std::snprintf(line, sizeof line, "%-4zu %-14s %-10s %8d %6d %5.1f%% %5.1f%% %5.1f%%\n", s,
                      seat.name.c_str(), StrategyLogName(seat.persona).c_str(), seat.finalStack,
                      st.m_N, Percent(st.m_VPIP, st.m_vpipOpportunities), Percent(st.m_PFR, st.m_N),
                      Percent(st.m_3bet, st.m_N));
        out << line;
    }
    out << "Chips: " << result.startChips() << " at the start, " << result.finalChips()
        << " at the end\n";
    if (result.startChips() != result.finalChips()) {
        err << "brisquel-cli play: chips were lost or made during the game\n";
        return kPlayExitFault;
    }
    return kPlayExitOk;
}

int RunPlayCommand(const std::vector<std::string> &args)
{
    return RunPlayCommand(args, std::cout, std::cerr);
}
