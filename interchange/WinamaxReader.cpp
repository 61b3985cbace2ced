// Winamax's hand histories: "Winamax Poker - CashGame - HandId: #5334642-851-1383822088 -
// Holdem no limit (3€/6€) - 2013/11/07 11:01:28 UTC", names without a colon before the verb,
// the currency after the amount, and a summary whose total pot is what was paid out.
#include "interchange/Interchange.h"
#include "interchange/RoomHand.h"

#include <cstdio>

namespace interchange {

namespace {

using detail::BareAmount;
using detail::EndsWith;
using detail::RoomHand;
using detail::StartsWith;

bool IsHandStart(const std::string &line)
{
    return StartsWith(line, "Winamax Poker - ") && line.find("HandId: #") != std::string::npos;
}

bool Header(RoomHand &hand, const std::string &line)
{
    const size_t id = line.find("HandId: #") + 9;
    const size_t idEnd = line.find(' ', id);
    const size_t game = line.find(" - Holdem no limit (", id);
    if (game == std::string::npos)
        return hand.Fail(0, "not a No-Limit Hold'em hand");
    hand.hand.id = line.substr(id, idEnd - id);
    if (line.compare(16, 11, "Tournament ") == 0)
        hand.table = line.substr(16, line.find(" buyIn") - 16) + " ";
    const size_t open = game + 19;
    const size_t close = line.find(')', open);
    if (close == std::string::npos)
        return hand.Fail(0, "the hand's first line has no blinds");
    // "(3€/6€)", "(0.25€/0.50€)", or with the ante first in tournaments: "(25/150/300)".
    const std::string blinds = line.substr(open + 1, close - open - 1);
    hand.cents = blinds.find_first_not_of("0123456789/") != std::string::npos;
    if (hand.cents)
        hand.moneyUnit =
            blinds.find("\xE2\x82\xAC") != std::string::npos ? "\xE2\x82\xAC" : "units";
    const size_t last = blinds.rfind('/');
    const size_t before =
        last == std::string::npos || last == 0 ? std::string::npos : blinds.rfind('/', last - 1);
    const size_t from = before == std::string::npos ? 0 : before + 1;
    if (last == std::string::npos)
        return hand.Fail(0, "\"" + blinds + "\" are not blinds");
    if (!hand.Amount(0, BareAmount(blinds.substr(from, last - from)), hand.hand.smallBlind) ||
        !hand.Amount(0, BareAmount(blinds.substr(last + 1)), hand.hand.bigBlind))
        return false;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(line.c_str() + close, ") - %d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) == 6)
        hand.hand.timeText = detail::TimeText(y, mo, d, h, mi, s);
    return true;
}

// "Table: 'Dublin' 5-max (real money) Seat #5 is the button"
bool TableLine(RoomHand &hand, const std::string &line, int &button)
{
    const size_t end = line.find("' ", 8);
    const size_t seat = line.find("Seat #");
    if (!StartsWith(line, "Table: '") || end == std::string::npos || seat == std::string::npos ||
        std::sscanf(line.c_str() + seat, "Seat #%d", &button) != 1)
        return hand.Fail(1, "the hand's second line is not its table");
    hand.table += line.substr(8, end - 8);
    int max = 0;
    if (std::sscanf(line.c_str() + end + 2, "%d-max", &max) == 1 && max >= 2 && max <= 10)
        hand.seatCount = max;
    return true;
}

// "Seat 2: TORINOFA (531.21€)"; false at the first line that is no seat.
bool SeatLine(RoomHand &hand, size_t index, const std::string &line, bool &seat)
{
    int number = 0, used = 0;
    const size_t open = line.rfind(" (");
    seat = std::sscanf(line.c_str(), "Seat %d: %n", &number, &used) == 1 && used > 0 &&
           open != std::string::npos && open >= static_cast<size_t>(used) &&
           line.find(')', open) != std::string::npos;
    if (!seat)
        return true;
    // "(20000)", or with a bounty after a comma.
    std::string stack = line.substr(open + 2, line.find(')', open) - open - 2);
    stack = stack.substr(0, stack.find(", "));
    return hand.AddSeat(index, number,
                        line.substr(static_cast<size_t>(used), open - static_cast<size_t>(used)),
                        stack.empty() ? "0" : BareAmount(stack), !stack.empty());
}

bool PlayerLine(RoomHand &hand, size_t index, int seat, const std::string &said)
{
    std::string rest = said;
    if (EndsWith(rest, " and is all-in"))
        rest.erase(rest.size() - 14);
    const auto after = [&](const char *verb) {
        return BareAmount(rest.substr(std::string(verb).size()));
    };
    if (StartsWith(rest, "posts ante "))
        return hand.Posts(index, seat, RoomHand::Post::Ante, after("posts ante "));
    // A blind out of its place: the small one is dead, the big one live.
    const bool outOfPlace = EndsWith(rest, " out of position");
    if (outOfPlace)
        rest.erase(rest.size() - 16);
    if (StartsWith(rest, "posts small blind "))
        return hand.Posts(index, seat,
                          outOfPlace ? RoomHand::Post::Dead : RoomHand::Post::SmallBlind,
                          after("posts small blind "));
    if (StartsWith(rest, "posts big blind "))
        return hand.Posts(index, seat, RoomHand::Post::BigBlind, after("posts big blind "));
    if (rest == "folds")
        return hand.Folds(index, seat);
    if (rest == "checks")
        return hand.Checks(index, seat);
    if (StartsWith(rest, "calls "))
        return hand.Calls(index, seat, after("calls "));
    if (StartsWith(rest, "bets "))
        return hand.Bets(index, seat, after("bets "));
    if (StartsWith(rest, "raises ")) {
        const size_t to = rest.find(" to ");
        return to == std::string::npos
                   ? hand.Fail(index, "a raise without its total")
                   : hand.RaisesTo(index, seat, BareAmount(rest.substr(to + 4)));
    }
    std::vector<int> cards;
    if (StartsWith(rest, "shows ") && detail::LastCards(rest.substr(0, rest.find(']') + 1), cards))
        return hand.Shows(index, seat, cards);
    if (StartsWith(rest, "collected ")) {
        const size_t from = rest.find(" from ");
        return hand.Collects(index, seat, BareAmount(rest.substr(10, from - 10)));
    }
    return true; // "mucks", "doesn't show", chat: no chips
}

bool ReadHand(RoomHand &hand, const std::vector<std::string> &lines)
{
    int button = 0;
    if (!Header(hand, lines[0]))
        return false;
    if (lines.size() < 2 || !TableLine(hand, lines[1], button))
        return lines.size() >= 2 ? false : hand.Fail(0, "the hand ends after its first line");
    size_t index = 2;
    for (bool seat = true; index < lines.size(); ++index) {
        if (!SeatLine(hand, index, lines[index], seat))
            return false;
        if (!seat)
            break;
    }
    if (!hand.Deal(index, button))
        return false;
    detail::PotText pot;
    pot.totalAfterRake = true;
    size_t summary = 0;
    bool holeCards = false;
    for (; index < lines.size(); ++index) {
        const std::string &line = lines[index];
        std::vector<int> cards;
        if (summary > 0) {
            if (StartsWith(line, "Total pot ")) {
                const size_t bar = line.find(" | ");
                if (!hand.Amount(index, BareAmount(line.substr(10, bar - 10)), pot.total))
                    return false;
                const size_t rake = line.find("| Rake ");
                if (rake != std::string::npos &&
                    !hand.Amount(index, BareAmount(line.substr(rake + 7)), pot.rake))
                    return false;
            }
        } else if (StartsWith(line, "*** ")) {
            if (StartsWith(line, "*** SUMMARY ***"))
                summary = index;
            else if (StartsWith(line, "*** PRE-FLOP ***"))
                holeCards = true;
            else if ((StartsWith(line, "*** FLOP ***") || StartsWith(line, "*** TURN ***") ||
                      StartsWith(line, "*** RIVER ***")) &&
                     (!holeCards || !detail::LastCards(line, cards) || !hand.Board(index, cards)))
                return hand.error.empty()
                           ? hand.Fail(index, "a street out of order: \"" + line + "\"")
                           : false;
        } else if (StartsWith(line, "Dealt to ")) {
            if (!hand.DealtTo(index, line))
                return false;
        } else if (!hand.PlayerSays(index, line, PlayerLine)) {
            return false;
        }
    }
    return hand.Finish(summary, lines.size() - 1, pot);
}

} // namespace

bool LooksLikeWinamax(const std::string &text)
{
    return detail::AnyLine(text, IsHandStart);
}

bool ImportWinamax(const std::string &text, const std::string &source, ImportResult &result,
                   std::string &error)
{
    return detail::ImportHands(text, source, "Winamax", IsHandStart, ReadHand, result, error);
}

} // namespace interchange
