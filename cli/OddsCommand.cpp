#include "Commands.h"

#include "Carrowby.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr int kMinPlayers = 2;
constexpr int kMaxPlayers = 10;

template <typename T>
bool ParseNumber(const std::string &text, T &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

} // namespace

// odds AhKd [--board "Qs Jd 2c"] --players N [--trials T] [--seed S]
int RunOddsCommand(const CommandArgs &args)
{
    std::string holeText, boardText;
    int players = kMinPlayers;
    long long trials = -1; // the library's own count unless given
    bool seeded = false;
    unsigned long long seed = 0;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--board" || arg == "--players" || arg == "--trials" || arg == "--seed") {
            if (!hasValue)
                return Fail(arg + " needs a value");
            const std::string &value = args[++i];
            if (arg == "--board") {
                boardText = value;
            } else if (arg == "--players") {
                if (!ParseNumber(value, players) || players < kMinPlayers
                    || players > kMaxPlayers)
                    return Fail("players must be a whole number from 2 to 10, not '" + value
                                + "'");
            } else if (arg == "--trials") {
                if (!ParseNumber(value, trials) || trials <= 0 || trials > 2000000000)
                    return Fail("trials must be a positive whole number, not '" + value + "'");
            } else {
                if (!ParseNumber(value, seed))
                    return Fail("seed must be a non-negative whole number, not '" + value + "'");
                seeded = true;
            }
        } else if (!arg.empty() && arg[0] == '-' && arg.size() > 1) {
            return Fail("unknown option '" + arg + "'");
        } else if (holeText.empty()) {
            holeText = arg;
        } else {
            return Fail("unexpected argument '" + arg + "'");
        }
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

    if (seeded)
        SeedPokerLibrary(seed);
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
