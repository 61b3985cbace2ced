// The hand-history reader on any bytes: a hand history, then (after a 0x1E byte) a game log.
// Besides the sanitizers' reports, a game it accepts must hold only boards and chips that can be.
#include "history/HistoryReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find('\x1e');
    const std::string historyText = input.substr(0, split);
    const std::string logText =
        split == std::string::npos ? std::string() : input.substr(split + 1);
    history::Game game;
    std::string error;
    if (!history::ParseGame(historyText, logText, game, error, "fuzz.txt")) {
        Require(!error.empty());
        return 0;
    }
    for (const history::Hand &hand : game.hands) {
        Require(hand.board.size() <= 5 && hand.pot >= 0);
        for (std::size_t i = 0; i < hand.board.size(); ++i) {
            Require(hand.board[i] >= 0 && hand.board[i] < 52);
            Require(std::count(hand.board.begin(), hand.board.end(), hand.board[i]) == 1);
        }
        for (const history::HandSeat &seat : hand.seats)
            Require(seat.invested >= 0 && seat.won >= 0 && seat.invested <= hand.pot);
        for (const history::Action &action : hand.actions)
            Require(action.amount >= 0 && action.potBefore >= 0 &&
                    static_cast<int>(action.street) <= 3);
    }
    return 0;
}
