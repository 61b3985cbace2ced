#include "Commands.h"

#include "Carrowby.h"
#include "CommandLine.h"

#include <cstdio>

namespace {

constexpr int kMinPlayers = 2;
constexpr int kMaxPlayers = 10;
constexpr long long kMaxTrials = 2000000000;

} // namespace

const char kOddsUsage[] = "usage: brisquel-cli odds AhKd [--board \"Qs Jd 2c\"] --players N "
                          "[--trials T] [--seed S]\n";

// odds AhKd [--board "Qs Jd 2c"] --players N [--trials T] [--seed S]
int RunOddsCommand(const CommandArgs &args)
{
    std::string holeText, boardText;
    int players = kMinPlayers;
    long long trials = -1; // the library's own count unless given
    std::optional<std::uint64_t> seed;
    try {
        const ParsedArgs parsed = CommandLine()
                                      .Value("--board", true)
                                      .Value("--players")
                                      .Value("--trials")
                                      .Value("--seed")
                                      .Positional(1)
                                      .Parse(args);
        if (parsed.Help())
            return PrintHelp(kOddsUsage);
        if (!parsed.Positional().empty())
            holeText = parsed.Positional()[0];
        boardText = parsed.Text("--board").value_or("");
        players = int(parsed.Integer("--players", kMinPlayers, kMaxPlayers, kMinPlayers));
        trials = parsed.Integer("--trials", 1, kMaxTrials, -1);
        seed = parsed.Unsigned64("--seed");
    } catch (const ArgError &e) {
        return Fail(e.what());
    }
    if (holeText.empty())
        return Fail("odds needs two hole cards, e.g. AhKd");

    std::vector<int> hole, board;
    std::string error;
    if (!ParseCardList(holeText, hole, error))
        return Fail(error);
    if (hole.size() != 2)
        return Fail("odds needs exactly two hole cards, got " + std::to_string(hole.size()));
    if (!ParseCardList(boardText, board, error, hole))
        return Fail(error);
    if (board.size() != 0 && (board.size() < 3 || board.size() > 5))
        return Fail("the board holds 3, 4 or 5 cards, got " + std::to_string(board.size()));

    if (seed)
        SeedPokerLibrary(*seed);
    PokerLogic logic;
    if (trials > 0)
        logic.trialCount = int(trials);
    int boardCards[5] = {-1, -1, -1, -1, -1};
    for (std::size_t i = 0; i < board.size(); ++i)
        boardCards[i] = board[i];
    const double p = logic.getProbabilityOfWin(hole.data(), boardCards, int(board.size()), players);
    std::printf("%.4f\n", p);
    return kExitOk;
}
