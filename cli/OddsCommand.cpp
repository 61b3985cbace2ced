#include "cli/Commands.h"

#include "cli/args/CommandLine.h"
#include "pokerlib/CardCodes.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/EquityCalculator.h"

#include <cstdio>
#include <random>

namespace {

constexpr int kMinPlayers = 2;
using brisquel::kMaxSeats;
constexpr long long kMaxTrials = 2000000000;
constexpr long long kMaxThreads = 64;            // as the README says
constexpr std::uint64_t kDefaultTrials = 100000; // as the desktop calculator

// One player as the command line gave it.
struct Seat
{
    std::string label; // shown by --detail
    brisquel::EquityPlayer player;
};

std::uint64_t Bits(const std::vector<int> &cards)
{
    std::uint64_t mask = 0;
    for (const int c : cards)
        mask |= 1ull << c;
    return mask;
}

std::string HandLabel(int first, int second)
{
    return brisquel::Narrow(brisquel::CardName(first)) +
           brisquel::Narrow(brisquel::CardName(second));
}

// The players as typed, `names[i]` prefixing player i's messages: known hands first take their
// cards out of the deck, then each range drops the hands that clash with the known cards.
// Empty string when all is well.
std::string ReadPlayers(const std::vector<std::string> &texts,
                        const std::vector<std::string> &names, std::uint64_t known,
                        std::vector<Seat> &seats)
{
    std::vector<brisquel::ComboList> ranges(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::string error;
        if (!brisquel::ParseRange(texts[i], ranges[i], error))
            return names[i] + ": " + error;
        if (ranges[i].size() != 1)
            continue;
        const std::uint64_t cards = Bits({ranges[i][0].first, ranges[i][0].second});
        if (cards & known)
            return names[i] + " holds a card that is already dealt";
        known |= cards;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        Seat seat{texts[i], {ranges[i]}};
        if (ranges[i].size() == 1) {
            seat.label = HandLabel(ranges[i][0].first, ranges[i][0].second);
        } else {
            seat.player.combos = brisquel::DropClashing(ranges[i], known);
            if (seat.player.combos.empty())
                return names[i] + ": every hand of the range clashes with the known cards";
        }
        seats.push_back(std::move(seat));
    }
    return {};
}

void PrintDetail(const std::vector<Seat> &seats, const brisquel::EquityResult &r,
                 std::uint64_t seed)
{
    std::printf("player  win     tie     equity  std.error  hand\n");
    for (std::size_t p = 0; p < seats.size(); ++p) {
        const brisquel::PlayerEquity &e = r.players[p];
        char error[16] = "exact";
        if (!r.exact)
            std::snprintf(error, sizeof error, "%.4f", e.stdError);
        std::printf("%-7zu %.4f  %.4f  %.4f  %-9s  %s\n", p + 1, e.win, e.tie, e.equity, error,
                    seats[p].label.c_str());
    }
    if (r.exact)
        std::printf("exact: %llu deals\n", static_cast<unsigned long long>(r.deals));
    else
        std::printf("sampled: %llu trials, seed %llu, %d threads\n",
                    static_cast<unsigned long long>(r.deals), static_cast<unsigned long long>(seed),
                    r.threads);
}

} // namespace

const char kOddsUsage[] =
    "usage: brisquel-cli odds AhKd|RANGE [--board \"Qs Jd 2c\"] [--dead \"7h 2s\"] [--players N]\n"
    "                         [--vs HAND|RANGE]... [--exact | --trials T [--seed S]]\n"
    "                         [--threads N] [--detail]\n"
    "  AhKd      your hole cards, or a range as for --vs\n"
    "  --vs      one opponent: a hand (QsQd), a range (\"22+,A2s+,KTo+,QJs\", T6s-T9s) or\n"
    "            the best share of hands (top15%); --players adds random opponents\n"
    "  --board   3, 4 or 5 board cards; --dead: cards out of play\n"
    "  --exact   count every board and every hand of the ranges instead of sampling\n"
    "  --detail  win, tie and equity of every player with the standard error\n";

namespace {

// The cards of the command: the hole cards (none where the first player is a range), the
// board and the dead cards. False with the message to give.
bool ReadCards(const std::string &holeText, const std::string &boardText,
               const std::string &deadText, std::vector<int> &hole, std::vector<int> &board,
               std::vector<int> &dead, std::string &error)
{
    // Two cards are a hand; anything else that reads as a range of several hands is one (a
    // single hand must read as two cards: "A hK d" is a typing slip, not AhKd).
    brisquel::ComboList firstRange;
    if (!ParseCardList(holeText, hole, error)) {
        std::string rangeError;
        if (!brisquel::ParseRange(holeText, firstRange, rangeError) || firstRange.size() < 2)
            return false;
        hole.clear();
    } else if (hole.size() != 2) {
        error = "odds needs exactly two hole cards, got " + std::to_string(hole.size());
        return false;
    }
    if (!ParseCardList(boardText, board, error, hole))
        return false;
    if (board.size() != 0 && (board.size() < 3 || board.size() > 5)) {
        error = "the board holds 3, 4 or 5 cards, got " + std::to_string(board.size());
        return false;
    }
    std::vector<int> seen = hole;
    seen.insert(seen.end(), board.begin(), board.end());
    if (!ParseCardList(deadText, dead, error, seen)) {
        error = "--dead: " + error;
        return false;
    }
    return true;
}

// How the equity is counted: every deal, or samples; from a seed; on threads; for each player
// or the first only.
void SetCounting(brisquel::EquitySetup &setup, bool exact, long long trials,
                 std::optional<std::uint64_t> seed, long long threads, bool detail)
{
    setup.exact = exact;
    setup.trials = trials > 0 ? std::uint64_t(trials) : kDefaultTrials;
    setup.seed =
        seed ? *seed : (std::uint64_t(std::random_device{}()) << 32) ^ std::random_device{}();
    setup.threads = int(threads);
    setup.firstPlayerOnly = !detail;
}

} // namespace

// odds AhKd|RANGE [--board "Qs Jd 2c"] [--dead "7h"] [--players N] [--vs R]... [--exact]
//           [--trials T] [--seed S] [--threads N] [--detail]
int RunOddsCommand(const CommandArgs &args)
{
    std::string holeText, boardText, deadText;
    std::vector<std::string> vsTexts;
    int players = 0; // counted from --vs unless given
    long long trials = -1;
    long long threads = 0; // one per core
    bool exact = false, detail = false;
    std::optional<std::uint64_t> seed;
    try {
        const ParsedArgs parsed = CommandLine()
                                      .Value("--board", true)
                                      .Value("--dead", true)
                                      .Value("--players")
                                      .Value("--trials")
                                      .Value("--seed")
                                      .Value("--threads")
                                      .Repeated("--vs")
                                      .Flag("--exact")
                                      .Flag("--detail")
                                      .Positional(1)
                                      .Parse(args);
        if (parsed.Help())
            return PrintHelp(kOddsUsage);
        if (!parsed.Positional().empty())
            holeText = parsed.Positional()[0];
        boardText = parsed.Text("--board").value_or("");
        deadText = parsed.Text("--dead").value_or("");
        players = int(parsed.Integer("--players", kMinPlayers, kMaxSeats, 0));
        trials = parsed.Integer("--trials", 1, kMaxTrials, -1);
        threads = parsed.Integer("--threads", 1, kMaxThreads, 0);
        seed = parsed.Unsigned64("--seed");
        vsTexts = parsed.Texts("--vs");
        exact = parsed.Has("--exact");
        detail = parsed.Has("--detail");
    } catch (const ArgError &e) {
        return Fail(e.what());
    }
    if (holeText.empty())
        return Fail("odds needs two hole cards, e.g. AhKd");
    if (exact && trials > 0)
        return Fail("--exact counts every deal and takes no --trials");
    const int opponents = int(vsTexts.size());
    if (opponents + 1 > kMaxSeats)
        return Fail("at most " + std::to_string(kMaxSeats - 1) + " --vs opponents");
    if (players == 0)
        players = std::max(kMinPlayers, opponents + 1);
    if (players < opponents + 1)
        return Fail("--players " + std::to_string(players) + " leaves no seat for " +
                    std::to_string(opponents) + " --vs opponents besides you");

    std::vector<int> hole, board, dead;
    std::string error;
    if (!ReadCards(holeText, boardText, deadText, hole, board, dead, error))
        return Fail(error);

    std::vector<Seat> seats;
    std::vector<std::string> texts{hole.empty() ? holeText : HandLabel(hole[0], hole[1])};
    std::vector<std::string> names{"'" + holeText + "'"};
    for (const std::string &text : vsTexts) {
        texts.push_back(text);
        names.push_back("--vs '" + text + "'");
    }
    error = ReadPlayers(texts, names, Bits(board) | Bits(dead), seats);
    if (!error.empty())
        return Fail(error);
    if (!hole.empty())
        seats[0] = {HandLabel(hole[0], hole[1]), {{{hole[0], hole[1]}}}};
    while (int(seats.size()) < players)
        seats.push_back({"random", {}});

    brisquel::EquitySetup setup;
    for (const Seat &seat : seats)
        setup.players.push_back(seat.player);
    setup.board = board;
    setup.dead = dead;
    SetCounting(setup, exact, trials, seed, threads, detail);
    if (exact) {
        const std::uint64_t showdowns = brisquel::CountExactShowdowns(setup);
        if (showdowns > brisquel::kMaxExactShowdowns)
            return Fail("--exact would count more than " +
                        std::to_string(brisquel::kMaxExactShowdowns) +
                        " showdowns; leave it out to sample, or narrow the ranges or add board "
                        "cards");
    }
    const brisquel::EquityResult result = brisquel::CalculateEquity(setup);
    if (!result.ok)
        return Fail(result.error);
    if (detail)
        PrintDetail(seats, result, setup.seed);
    else
        std::printf("%.4f\n", result.players[0].equity);
    return kExitOk;
}
