// 888poker's hand histories (and the older ones of its Cassava software): "***** 888poker Hand
// History for Game 349444554 *****", then "$0.50/$1 Blinds No Limit Holdem - *** 06 01 2014
// 10:56:05"; a tournament's hands name it before their table. Amounts stand in brackets, a raise
// gives the chips it puts in, uncalled bets go back without a line and the rake is not written:
// what nobody collected was raked.
#include "interchange/Interchange.h"
#include "interchange/RoomHand.h"

#include <cstdio>

namespace interchange {

namespace {

using detail::BareAmount;
using detail::RoomHand;
using detail::StartsWith;

bool IsHandStart(const std::string &line)
{
    return StartsWith(line, "***** ") && line.find(" Hand History for Game ") != std::string::npos;
}

// "***** 888poker Hand History for Game 349444554 *****" and the game's line after it.
bool Header(RoomHand &hand, const std::vector<std::string> &lines)
{
    const std::string &first = lines[0];
    const size_t number = first.find(" for Game ") + 10;
    hand.hand.id = first.substr(number, first.find(' ', number) - number);
    if (lines.size() < 2)
        return hand.Fail(0, "the hand ends after its first line");
    const std::string &line = lines[1];
    const size_t blinds = line.find(" Blinds ");
    if (blinds == std::string::npos || line.find(" No Limit Holdem", blinds) != blinds + 7)
        return hand.Fail(1, "not a No-Limit Hold'em hand");
    const std::string stakes = line.substr(0, blinds);
    const size_t slash = stakes.find('/');
    // A tournament's chips are written as money ("$10/$20 Blinds", "( $1,000 )").
    const bool tournament = lines.size() > 2 && StartsWith(lines[2], "Tournament #");
    hand.cents = !tournament && stakes.find_first_not_of("0123456789/,") != std::string::npos;
    if (hand.cents)
        hand.moneyUnit = stakes.substr(0, stakes.find_first_of("0123456789"));
    if (hand.cents && hand.moneyUnit.empty())
        hand.moneyUnit = "units";
    if (slash == std::string::npos)
        return hand.Fail(1, "\"" + stakes + "\" are not blinds");
    if (!hand.Amount(1, stakes.substr(0, slash), hand.hand.smallBlind) ||
        !hand.Amount(1, stakes.substr(slash + 1), hand.hand.bigBlind))
        return false;
    int d = 0, mo = 0, y = 0, h = 0, mi = 0, s = 0;
    const size_t date = line.find(" *** ");
    if (date != std::string::npos &&
        std::sscanf(line.c_str() + date + 5, "%d %d %d %d:%d:%d", &d, &mo, &y, &h, &mi, &s) == 6)
        hand.hand.timeText = detail::TimeText(y, mo, d, h, mi, s);
    return true;
}

// "Table Valledupar 6 Max (Real Money)", "Table Amersfoort (Real Money)", or a tournament's
// "Tournament #78669312 $0.01 - Table #3 9 Max (Real Money)" (its table "78669312 #3").
bool TableLine(RoomHand &hand, const std::string &written)
{
    std::string line = written;
    const size_t tableAt = line.find(" - Table ");
    if (StartsWith(line, "Tournament #") && tableAt != std::string::npos)
        line = "Table " + line.substr(12, line.find(' ', 12) - 12) + " " + line.substr(tableAt + 9);
    const size_t open = line.rfind(" (");
    if (!StartsWith(line, "Table ") || open == std::string::npos || open < 6)
        return hand.Fail(2, "the hand's third line is not its table");
    std::string name = line.substr(6, open - 6);
    const size_t max = name.rfind(" Max");
    const size_t space = max == std::string::npos || max == 0 ? max : name.rfind(' ', max - 1);
    int seats = 0;
    if (space != std::string::npos && max + 4 == name.size() &&
        std::sscanf(name.c_str() + space, " %d Max", &seats) == 1 && seats >= 2 && seats <= 10) {
        hand.seatCount = seats;
        name.erase(space);
    }
    hand.table += name;
    return true;
}

bool PlayerLine(RoomHand &hand, size_t index, int seat, const std::string &rest)
{
    const auto after = [&](const char *verb) {
        return BareAmount(rest.substr(std::string(verb).size()));
    };
    if (StartsWith(rest, "posts ante "))
        return hand.Posts(index, seat, RoomHand::Post::Ante, after("posts ante "));
    if (StartsWith(rest, "posts small blind "))
        return hand.Posts(index, seat, RoomHand::Post::SmallBlind, after("posts small blind "));
    if (StartsWith(rest, "posts big blind "))
        return hand.Posts(index, seat, RoomHand::Post::BigBlind, after("posts big blind "));
    if (StartsWith(rest, "posts dead blind ")) {
        // "[$1 + $2]": the small blind's part is dead, the big blind's live.
        const std::string both = after("posts dead blind ");
        const size_t plus = both.find(" + ");
        if (plus == std::string::npos)
            return hand.Posts(index, seat, RoomHand::Post::Dead, both);
        return hand.Posts(index, seat, RoomHand::Post::Dead, both.substr(0, plus)) &&
               hand.Posts(index, seat, RoomHand::Post::BigBlind, both.substr(plus + 3));
    }
    if (rest == "folds")
        return hand.Folds(index, seat);
    if (rest == "checks")
        return hand.Checks(index, seat);
    if (StartsWith(rest, "calls "))
        return hand.Calls(index, seat, after("calls "));
    if (StartsWith(rest, "bets "))
        return hand.Bets(index, seat, after("bets "));
    if (StartsWith(rest, "raises "))
        return hand.RaisesBy(index, seat, after("raises "));
    std::vector<int> cards;
    if ((StartsWith(rest, "shows ") || StartsWith(rest, "mucks ")) &&
        detail::LastCards(rest, cards))
        return hand.Shows(index, seat, cards);
    if (StartsWith(rest, "collected "))
        return hand.Collects(index, seat, after("collected "));
    return true; // "did not show his hand", chat: no chips
}

bool ReadHand(RoomHand &hand, const std::vector<std::string> &lines)
{
    if (!Header(hand, lines))
        return false;
    int button = 0;
    if (lines.size() < 4 || !TableLine(hand, lines[2]))
        return lines.size() >= 4 ? false
                                 : hand.Fail(lines.size() - 1, "the hand ends before its seats");
    if (std::sscanf(lines[3].c_str(), "Seat %d is the button", &button) != 1)
        return hand.Fail(3, "the hand's fourth line is not its button");
    size_t index = 4;
    if (index < lines.size() && StartsWith(lines[index], "Total number of players"))
        ++index;
    for (; index < lines.size(); ++index) {
        // "Seat 1: Hurricane888 ( $324.25 )"
        const std::string &line = lines[index];
        int number = 0, used = 0;
        const size_t open = line.rfind(" ( ");
        if (std::sscanf(line.c_str(), "Seat %d: %n", &number, &used) != 1 || used == 0 ||
            open == std::string::npos || open < static_cast<size_t>(used))
            break;
        if (!hand.AddSeat(index, number,
                          line.substr(static_cast<size_t>(used), open - static_cast<size_t>(used)),
                          BareAmount(line.substr(open)), true))
            return false;
    }
    if (!hand.Deal(index, button))
        return false;
    size_t summary = 0;
    for (; index < lines.size(); ++index) {
        const std::string &line = lines[index];
        std::vector<int> cards;
        if (StartsWith(line, "** Dealing ") && !StartsWith(line, "** Dealing down cards")) {
            if (summary > 0 || !detail::LastCards(line, cards) || !hand.Board(index, cards))
                return hand.error.empty()
                           ? hand.Fail(index, "unreadable board cards: \"" + line + "\"")
                           : false;
        } else if (StartsWith(line, "** Summary **")) {
            summary = index;
        } else if (StartsWith(line, "Dealt to ")) {
            if (!hand.DealtTo(index, line))
                return false;
        } else if (!hand.PlayerSays(index, line, PlayerLine)) {
            return false;
        }
    }
    detail::PotText pot;
    pot.rake = -1;
    return hand.Finish(summary, lines.size() - 1, pot);
}

} // namespace

bool LooksLike888(const std::string &text)
{
    return detail::AnyLine(text, IsHandStart);
}

bool Import888(const std::string &text, const std::string &source, ImportResult &result,
               std::string &error)
{
    return detail::ImportHands(text, source, "888poker", IsHandStart, ReadHand, result, error);
}

} // namespace interchange
