// The import of other programs' hand histories on any bytes, read by each reader: PokerStars,
// PHH, GGPoker, Winamax and 888poker. Whatever is accepted must hold only boards, seats and chips
// that can be, and must go out again through both writers and come back in whole: every hand, with
// the same pot.
#include "interchange/Interchange.h"

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

void CheckGame(const history::Game &game)
{
    for (const history::Hand &hand : game.hands) {
        Require(hand.board.size() <= 5 && hand.pot >= 0);
        // A hand holds the table's seats; the game also lists the players who came later.
        Require(hand.seats.size() <= game.seats.size() && hand.seats.size() <= 10);
        Require(hand.button >= -1 && hand.button < static_cast<int>(hand.seats.size()));
        for (std::size_t i = 0; i < hand.board.size(); ++i) {
            Require(hand.board[i] >= 0 && hand.board[i] < 52);
            Require(std::count(hand.board.begin(), hand.board.end(), hand.board[i]) == 1);
        }
        long long invested = 0;
        for (const history::HandSeat &seat : hand.seats) {
            Require(seat.invested >= 0 && seat.won >= 0 && seat.invested <= hand.pot);
            invested += seat.invested;
        }
        Require(invested == hand.pot);
        for (const history::Action &action : hand.actions)
            Require(action.amount >= 0 && action.potBefore >= 0 && action.seat >= 0 &&
                    action.seat < static_cast<int>(hand.seats.size()) &&
                    static_cast<int>(action.street) <= 3);
    }
}

std::vector<int> Pots(const std::vector<history::Game> &games)
{
    std::vector<int> pots;
    for (const history::Game &game : games) {
        for (const history::Hand &hand : game.hands)
            pots.push_back(hand.pot);
    }
    // Tables may come back in another order (the writers name them by their start).
    std::sort(pots.begin(), pots.end());
    return pots;
}

// Writes the games out in both formats, as every file is written, and reads each text back:
// every hand comes back with its pot, or is named as left out (a hand whose chips do not add
// up, which a fuzzed file can make the readers accept).
void RoundTrip(const std::vector<history::Game> &games)
{
    const std::vector<int> before = Pots(games);
    for (interchange::Format format : {interchange::Format::PokerStars, interchange::Format::Phh}) {
        std::vector<std::string> leftOut;
        const std::string text = interchange::ExportReadable(games, format, leftOut);
        if (leftOut.size() == before.size())
            continue;
        interchange::ImportResult again;
        std::string error;
        Require(interchange::ImportText(text, "again", again, error));
        const std::vector<int> back = Pots(again.games);
        Require(again.skipped == 0 && back.size() + leftOut.size() == before.size() &&
                std::includes(before.begin(), before.end(), back.begin(), back.end()));
    }
}

void Import(bool (*reader)(const std::string &, const std::string &, interchange::ImportResult &,
                           std::string &),
            const std::string &text)
{
    interchange::ImportResult result;
    std::string error;
    if (!reader(text, "fuzz.txt", result, error)) {
        Require(error.rfind("fuzz.txt:", 0) == 0);
        return;
    }
    Require(!result.games.empty());
    for (const history::Game &game : result.games)
        CheckGame(game);
    // A file with a NUL byte is refused as binary before either reader sees it.
    if (text.find('\0') == std::string::npos)
        RoundTrip(result.games);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    Import(interchange::ImportPokerStars, text);
    Import(interchange::ImportPhh, text);
    Import(interchange::ImportGgPoker, text);
    Import(interchange::ImportWinamax, text);
    Import(interchange::Import888, text);
    return 0;
}
