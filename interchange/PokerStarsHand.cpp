#include "interchange/PokerStarsHand.h"

#include "interchange/HandMath.h"
#include "lineformat/TextFormat.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace interchange::detail {

using history::ActionKind;
using history::Street;

namespace {

// "2023/11/14 22:13:20 ET" (or the first time of "... CET [... ET]") -> "2023.11.14  22:13:20".
std::string TimeText(const std::string &text)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) != 6)
        return "";
    return detail::TimeText(y, mo, d, h, mi, s);
}

} // namespace

bool HandReader::Header(const std::string &raw)
{
    const std::string line = StartsWith(raw, "\xEF\xBB\xBF") ? raw.substr(3) : raw;
    size_t hash = line.find(" Hand #");
    if (hash == std::string::npos)
        hash = line.find(" Game #");
    const size_t colon = line.find(':', hash);
    if (colon == std::string::npos)
        return Fail(0, "the hand's first line has no hand number");
    const std::string rest = line.substr(colon + 1);
    const size_t game = rest.find("Hold'em No Limit");
    if (game == std::string::npos)
        return Fail(0, "not a No-Limit Hold'em hand");
    const std::string id = line.substr(hash + 7, colon - hash - 7);
    long long number = 0;
    for (char c : id) {
        if (c < '0' || c > '9')
            return Fail(0, gamelines::Quote(id) + " is not a hand number");
        number = std::min(number * 10 + (c - '0'), static_cast<long long>(LLONG_MAX / 20));
    }
    // Numbers past an int (every room's today) stay whole in the id; the file's hands are
    // then counted instead.
    hand.id = id;
    hand.number = number <= INT_MAX ? static_cast<int>(number) : 0;
    const size_t open = rest.find('(', game);
    const size_t close = open == std::string::npos ? open : rest.find(')', open);
    if (close == std::string::npos)
        return Fail(0, "the hand's first line has no blinds");
    std::string blinds = rest.substr(open + 1, close - open - 1);
    const size_t space = blinds.find(' ');
    if (space != std::string::npos)
        blinds = blinds.substr(0, space); // "$0.01/$0.02 USD"
    m_cents = blinds.find('.') != std::string::npos ||
              blinds.find_first_not_of("0123456789/,") != std::string::npos;
    if (m_cents) {
        // The currency's sign, else its code ("($0.01/$0.02 USD)", "(€1/€2 EUR)", "(1.5/3 SEK)").
        const std::string inside = rest.substr(open + 1, close - open - 1);
        moneyUnit = inside.substr(0, inside.find_first_of("0123456789"));
        const size_t code = inside.rfind(' ');
        if (moneyUnit.empty() && code != std::string::npos)
            moneyUnit = inside.substr(code + 1);
        if (moneyUnit.empty())
            moneyUnit = "units";
    }
    const size_t slash = blinds.find('/');
    const auto small = detail::ParseAmount(blinds.substr(0, slash), m_cents);
    const auto big = slash == std::string::npos
                         ? std::nullopt
                         : detail::ParseAmount(blinds.substr(slash + 1), m_cents);
    if (!small || !big)
        return Fail(0, gamelines::Quote(blinds) + " are not blinds");
    hand.smallBlind = *small;
    hand.bigBlind = *big;
    const size_t dash = rest.find(" - ", close);
    if (dash != std::string::npos)
        hand.timeText = TimeText(rest.substr(dash + 3));
    const size_t tournament = rest.find("Tournament #");
    if (tournament != std::string::npos)
        table = rest.substr(tournament, rest.find(',', tournament) - tournament) + " ";
    return true;
}

bool HandReader::TableLine(const std::string &line)
{
    const size_t end = line.find("' ", 7);
    const size_t button = line.find("Seat #");
    if (!StartsWith(line, "Table '") || end == std::string::npos || button == std::string::npos)
        return Fail(1, "the hand's second line is not its table");
    table += line.substr(7, end - 7);
    const size_t max = line.find("-max", end);
    if (max != std::string::npos) {
        const size_t from = line.rfind(' ', max) + 1;
        const std::string count = line.substr(from, max - from);
        const std::optional<int> number = detail::ParseSeatNumber(count);
        if (!number)
            return Fail(1, "a table of " + count + " seats");
        seatCount = *number;
    }
    const size_t from = button + 6;
    const std::string buttonText = line.substr(from, line.find(' ', from) - from);
    const std::optional<int> buttonSeat = detail::ParseSeatNumber(buttonText);
    if (!buttonSeat)
        return Fail(1, "the button's seat " + buttonText + " is not at the table");
    hand.button = *buttonSeat - 1;
    return true;
}

bool HandReader::SeatLine(size_t index, const std::string &line, bool &done)
{
    int number = 0;
    int used = 0;
    done = true;
    if (std::sscanf(line.c_str(), "Seat %d:%n", &number, &used) != 1 || used == 0)
        return true;
    // One space, and the name is the rest as written: the action lines give it so, blanks
    // and all.
    if (static_cast<size_t>(used) < line.size() && line[static_cast<size_t>(used)] == ' ')
        ++used;
    const size_t chips = line.rfind(" in chips");
    const size_t open = chips == std::string::npos ? chips : line.rfind(" (", chips);
    if (open == std::string::npos || open < static_cast<size_t>(used))
        return true; // a summary seat line
    done = false;
    if (number < 1 || number > 10)
        return Fail(index, "seat " + std::to_string(number) + " does not exist");
    history::HandSeat seat;
    seat.seat = number - 1;
    seat.name = line.substr(static_cast<size_t>(used), open - static_cast<size_t>(used));
    int stack = 0;
    if (seat.name.empty())
        return Fail(index, "seat " + std::to_string(number) + " without a name");
    // The action lines tell the players apart by name alone.
    for (const history::HandSeat &other : hand.seats) {
        if (other.name == seat.name)
            return Fail(index, "two players named " + seat.name);
    }
    if (!Amount(index, line.substr(open + 2, chips - open - 2), stack))
        return false;
    seat.startStack = stack;
    const std::string after = line.substr(chips);
    seat.inHand = stack > 0 && after.find("sitting out") == std::string::npos &&
                  after.find("out of hand") == std::string::npos;
    seatCount = std::max(seatCount, number);
    detail::FillSeats(hand, static_cast<size_t>(number));
    if (!hand.seats[static_cast<size_t>(seat.seat)].name.empty())
        return Fail(index, "seat " + std::to_string(number) + " is listed twice");
    hand.seats[static_cast<size_t>(seat.seat)] = seat;
    return true;
}

bool HandReader::PlayerLine(size_t index, int seat, const std::string &text)
{
    const size_t s = static_cast<size_t>(seat);
    const bool allIn = EndsWith(text, " and is all-in");
    const std::string rest = allIn ? text.substr(0, text.size() - 14) : text;
    // A folded hand may still be shown, never played.
    const bool plays = StartsWith(rest, "posts ") || StartsWith(rest, "folds") ||
                       rest == "checks" || StartsWith(rest, "calls ") ||
                       StartsWith(rest, "bets ") || StartsWith(rest, "raises ");
    if (plays && hand.seats[s].folded)
        return Fail(index, hand.seats[s].name + " acts after folding");
    if (!hand.seats[s].inHand && !StartsWith(rest, "posts "))
        return plays && !StartsWith(rest, "folds")
                   ? Fail(index, hand.seats[s].name + " acts without being dealt in")
                   : true; // a sitting-out player folded by the room
    if (StartsWith(rest, "posts "))
        return PostLine(index, seat, rest);
    if (plays)
        return BetLine(index, seat, rest, text);
    int amount = 0;
    if (StartsWith(rest, "Pays Cashout Risk (")) {
        // Having cashed out earlier, the pot's winner pays the room back from outside it.
        const std::string risk = rest.substr(std::strlen("Pays Cashout Risk ("));
        if (!Amount(index, risk.substr(0, risk.find(')')), amount))
            return false;
        hand.seats[s].chipsAdded -= amount;
    } else if (StartsWith(rest, "shows ") || StartsWith(rest, "mucks ")) {
        std::vector<int> cards;
        if (LastCards(rest, cards) && cards.size() == 2) {
            hand.seats[s].cards = {cards[0], cards[1]};
            return CardsOnce(index);
        }
    }
    // Anything else a player line says (chat, "doesn't show hand", "sits out", time-outs)
    // changes no chips.
    return true;
}

bool HandReader::StackHolds(size_t index, int seat, const std::string &rest, int chips)
{
    history::HandSeat &player = hand.seats[static_cast<size_t>(seat)];
    if (chips > m_chips.Behind(seat))
        return Fail(index, player.name + " puts in " + std::to_string(chips) + " with " +
                               std::to_string(m_chips.Behind(seat)) + " left");
    // A player listed as sitting out who posts is dealt in, and folds when it is his turn.
    if (!player.inHand && player.startStack > 0 && StartsWith(rest, "posts "))
        player.inHand = true;
    if (!player.inHand)
        return Fail(index, player.name + " acts without being dealt in");
    return true;
}

// The amount after `prefix`, which the seat's stack must hold.
bool HandReader::PutAmount(size_t index, int seat, const std::string &rest,
                           const std::string &prefix, int &amount)
{
    return Amount(index, rest.substr(prefix.size()), amount) &&
           StackHolds(index, seat, rest, amount);
}

bool HandReader::PostLine(size_t index, int seat, const std::string &rest)
{
    int amount = 0;
    if (StartsWith(rest, "posts the ante ")) {
        if (!PutAmount(index, seat, rest, "posts the ante ", amount))
            return false;
        m_chips.Put(seat, ActionKind::Ante, amount);
    } else if (StartsWith(rest, "posts small blind ") && (m_smallBlindPosted || m_bigBlindPosted)) {
        // A small blind out of its place (a player coming back) is dead: it counts as an ante.
        if (!PutAmount(index, seat, rest, "posts small blind ", amount))
            return false;
        m_chips.Put(seat, ActionKind::Ante, amount);
    } else if (StartsWith(rest, "posts small blind ")) {
        if (!PutAmount(index, seat, rest, "posts small blind ", amount))
            return false;
        m_chips.Put(seat, ActionKind::SmallBlind, amount);
        m_smallBlindPosted = true;
    } else if (StartsWith(rest, "posts big blind ")) {
        if (!PutAmount(index, seat, rest, "posts big blind ", amount))
            return false;
        // A second big blind is a new player's, live like the first. Whoever is short, the bet
        // to call is the big blind.
        m_chips.Put(seat, ActionKind::BigBlind, amount);
        m_chips.SetFloor(hand.bigBlind);
        m_bigBlindPosted = true;
    } else if (StartsWith(rest, "posts small & big blinds ")) {
        // The small blind part is dead money: it counts as an ante, the rest as the big blind.
        if (!PutAmount(index, seat, rest, "posts small & big blinds ", amount))
            return false;
        const int live = std::min(amount, hand.bigBlind);
        if (amount > live)
            m_chips.Put(seat, ActionKind::Ante, amount - live);
        m_chips.Put(seat, ActionKind::BigBlind, live);
        m_chips.SetFloor(hand.bigBlind);
        m_bigBlindPosted = true;
    }
    return true;
}

bool HandReader::BetLine(size_t index, int seat, const std::string &rest, const std::string &text)
{
    const std::string &name = hand.seats[static_cast<size_t>(seat)].name;
    int amount = 0;
    if (StartsWith(rest, "folds")) {
        std::vector<int> cards;
        if (LastCards(rest, cards) && cards.size() == 2) {
            hand.seats[static_cast<size_t>(seat)].cards = {cards[0], cards[1]};
            if (!CardsOnce(index))
                return false;
        }
        m_chips.Put(seat, ActionKind::Fold, 0);
    } else if (rest == "checks") {
        // Over a big blind all in for less, what is in may be matched already.
        if (m_chips.OwedPut(seat) > 0)
            return Fail(index, name + " checks facing a bet");
        m_chips.Put(seat, ActionKind::Check, 0);
    } else if (StartsWith(rest, "calls ")) {
        if (!PutAmount(index, seat, rest, "calls ", amount))
            return false;
        // Less than owed only all in; over a short big blind, the whole big blind or the rest
        // of what is in.
        const int owed = m_chips.Owed(seat);
        if (amount > owed || amount == 0 ||
            (amount < owed && amount != m_chips.OwedPut(seat) && amount < m_chips.Behind(seat)))
            return Fail(index,
                        name + " calls " + rest.substr(6) + " but owes " + std::to_string(owed));
        m_chips.Put(seat, ActionKind::Call, amount);
    } else if (StartsWith(rest, "bets ")) {
        if (!PutAmount(index, seat, rest, "bets ", amount))
            return false;
        if (m_chips.Largest() > 0 || amount == 0)
            return Fail(index, name + " bets facing a bet");
        m_chips.Put(seat, ActionKind::Bet, amount);
    } else if (StartsWith(rest, "raises ")) {
        return RaiseLine(index, seat, rest, text);
    }
    return true;
}

bool HandReader::RaiseLine(size_t index, int seat, const std::string &rest, const std::string &text)
{
    const size_t to = rest.find(" to ");
    int total = 0, increase = 0;
    if (to == std::string::npos)
        return Fail(index, "a raise without its total: " + gamelines::Quote(text));
    if (!Amount(index, rest.substr(7, to - 7), increase) ||
        !Amount(index, rest.substr(to + 4), total))
        return false;
    const int amount = total - m_chips.InFront(seat);
    if (total <= m_chips.Largest() || amount <= 0)
        return Fail(index, hand.seats[static_cast<size_t>(seat)].name + " raises to " +
                               rest.substr(to + 4) + " without topping the bet");
    if (!StackHolds(index, seat, rest, amount))
        return false;
    // Over a short big blind, rooms raise from the big blind, Brisquel from what is in.
    if (total - increase != m_chips.Largest() && total - increase != m_chips.LargestPut())
        warnings.push_back(m_source + ":" + std::to_string(m_text.firstLine + index) +
                           ": the raise's two amounts disagree; the total is kept");
    m_chips.Put(seat, m_chips.BetOrRaise(), amount);
    return true;
}

// Each street once, in order, before the summary: the board grows 0, 3, 4, 5.
bool HandReader::StreetLine(size_t index, const std::string &line)
{
    const char name = line[4]; // 'H'ole cards, 'F'lop, 'T'urn, 'R'iver
    const size_t before = name == 'T' ? 3 : name == 'R' ? 4 : 0; // board cards before it
    const bool again = name == 'H' ? m_holeCards : hand.board.size() > before;
    if (again || m_summary || hand.board.size() < before || (name != 'H' && !m_holeCards))
        return Fail(index, (again ? "a street again: " : "a street out of order: ") +
                               gamelines::Quote(line));
    if (name == 'H') {
        m_holeCards = true;
        return true;
    }
    std::vector<int> cards;
    const size_t want = name == 'F' ? 3 : 1;
    if (!LastCards(line, cards) || cards.size() != want)
        return Fail(index, "unreadable board cards: " + gamelines::Quote(line));
    hand.board.insert(hand.board.end(), cards.begin(), cards.end());
    const size_t n = hand.board.size();
    m_chips.NextStreet(n == 3 ? Street::Flop : n == 4 ? Street::Turn : Street::River);
    return CardsOnce(index);
}

bool HandReader::Body(size_t index, const std::string &line)
{
    std::vector<int> cards;
    if (StartsWith(line, "*** SECOND ")) {
        // Run twice: the hand keeps its first board; the pots are paid as written, both runs.
        return true;
    }
    if (StartsWith(line, "*** FIRST "))
        return Body(index, "*** " + line.substr(10));
    if (StartsWith(line, "*** ")) {
        if (StartsWith(line, "*** HOLE CARDS ***") || StartsWith(line, "*** FLOP ***") ||
            StartsWith(line, "*** TURN ***") || StartsWith(line, "*** RIVER ***")) {
            return StreetLine(index, line);
        } else if (StartsWith(line, "*** SHOW DOWN ***")) {
            hand.showdown = true;
        } else if (StartsWith(line, "*** SUMMARY ***")) {
            m_summary = true;
            m_summaryLine = index;
        } else {
            return Fail(index, "not a hand of one board: " + gamelines::Quote(line));
        }
        return true;
    }
    std::string rest;
    if (m_summary) {
        int seatNumber = 0;
        if (StartsWith(line, "Total pot ")) {
            const size_t bar = line.find(" | Rake ");
            const size_t end = line.find(' ', 10);
            int total = 0;
            if (!Amount(index, line.substr(10, end - 10), total))
                return false;
            m_totalPot = total;
            if (bar != std::string::npos) {
                const std::string rake = line.substr(bar + 8);
                if (!Amount(index, rake.substr(0, rake.find(' ')), m_rake))
                    return false;
            }
        } else if (std::sscanf(line.c_str(), "Seat %d:", &seatNumber) == 1 && seatNumber >= 1 &&
                   seatNumber <= static_cast<int>(hand.seats.size()) &&
                   (line.find(" (small blind)") != std::string::npos ||
                    line.find(" (big blind)") != std::string::npos) &&
                   !HasBlindPost(seatNumber - 1)) {
            // A blind too short to post anything is only named here.
            (line.find(" (big blind)") != std::string::npos ? hand.bigBlindSeat
                                                            : hand.smallBlindSeat) = seatNumber - 1;
        }
        if (m_summary && std::sscanf(line.c_str(), "Seat %d:", &seatNumber) == 1 &&
            seatNumber >= 1 && seatNumber <= static_cast<int>(hand.seats.size()) &&
            (line.find(" showed [") != std::string::npos ||
             line.find(" mucked [") != std::string::npos)) {
            const size_t s = static_cast<size_t>(seatNumber - 1);
            const size_t open = line.find(
                '[',
                line.find(line.find(" showed [") != std::string::npos ? " showed [" : " mucked ["));
            const size_t close = line.find(']', open);
            if (LastCards(line.substr(0, close + 1), cards) && cards.size() == 2) {
                hand.seats[s].cards = {cards[0], cards[1]};
                return CardsOnce(index);
            }
        }
        return true;
    }
    if (StartsWith(line, "Dealt to "))
        return DealtTo(index, line);
    if (StartsWith(line, "Uncalled bet (")) {
        const size_t close = line.find(") returned to ");
        int amount = 0;
        if (close == std::string::npos || !Amount(index, line.substr(14, close - 14), amount))
            return Fail(index, "unreadable line: " + gamelines::Quote(line));
        const int seat = SeatStarting(line.substr(close + 14), "", rest);
        if (seat < 0 || !rest.empty())
            return Fail(index, "an uncalled bet returned to nobody at the table");
        if (amount > hand.seats[static_cast<size_t>(seat)].startStack - m_chips.Behind(seat))
            return Fail(index, "more returned than was bet");
        m_returned += amount;
        return Pay(index, seat, amount);
    }
    int seat = SeatStarting(line, ": ", rest);
    if (seat >= 0)
        return PlayerLine(index, seat, rest);
    seat = SeatStarting(line, " cashed out the hand for ", rest);
    if (seat >= 0) {
        // Paid by the room, from outside the pot.
        int amount = 0;
        if (!Amount(index, rest.substr(0, rest.find(' ')), amount))
            return false;
        hand.seats[static_cast<size_t>(seat)].chipsAdded += amount;
        return true;
    }
    seat = SeatStarting(line, " collected ", rest);
    if (seat >= 0) {
        const size_t from = rest.find(" from ");
        int amount = 0;
        if (!Amount(index, rest.substr(0, from), amount))
            return false;
        return Pay(index, seat, amount);
    }
    return OtherLine(index, line);
}

bool HandReader::DealtTo(size_t index, const std::string &line)
{
    std::string rest;
    std::vector<int> cards;
    int seat = SeatStarting(line.substr(9), " [", rest);
    // Rooms that list every player dealt in give the others without their cards.
    if (seat < 0 && SeatStarting(line.substr(9), "", rest) >= 0 &&
        rest.find_first_not_of(" \t\r") == std::string::npos)
        return true;
    if (seat < 0)
        return Fail(index, "cards dealt to no one seated at the table: " + gamelines::Quote(line));
    if (!LastCards(line, cards) || cards.size() != 2)
        return Fail(index, "a damaged line of the cards dealt to " +
                               gamelines::Quote(line.substr(9)) + ": two cards are wanted");
    hand.seats[static_cast<size_t>(seat)].cards = {cards[0], cards[1]};
    human = hand.seats[static_cast<size_t>(seat)].name;
    return CardsOnce(index);
}

// A line that names no seated player first: an action by someone not at the table is refused;
// comings and goings and talk are left as they are, anything else left out with a warning.
bool HandReader::OtherLine(size_t index, const std::string &line)
{
    static const char *const kPlays[] = {"posts ", "folds",   "checks", "calls ",
                                         "bets ",  "raises ", "shows ", "mucks "};
    const size_t colon = line.find(": ");
    const bool talk = line.find(" said, \"") < colon; // what is said may look like an action
    for (const char *verb : kPlays) {
        if (colon != std::string::npos && !talk && StartsWith(line.substr(colon + 2), verb))
            return Fail(index,
                        gamelines::Quote(line.substr(0, colon)) +
                            ", who has no seat at the table, acts: " + gamelines::Quote(line));
    }
    static const char *const kTableTalk[] = {" said, \"",
                                             " joins the table",
                                             " leaves the table",
                                             " is disconnected",
                                             " is connected",
                                             " has timed out",
                                             " has returned",
                                             " is sitting out",
                                             " sits out",
                                             " will be allowed to play",
                                             " was removed from the table",
                                             " finished the tournament",
                                             " wins the tournament",
                                             " wins ",
                                             " re-buys",
                                             " adds on",
                                             " is feeling "};
    for (const char *phrase : kTableTalk) {
        if (line.find(phrase) != std::string::npos)
            return true;
    }
    if (line.find_first_not_of(" \t\r") != std::string::npos)
        warnings.push_back(m_source + ":" + std::to_string(m_text.firstLine + index) +
                           ": a line not understood is left out: " + gamelines::Quote(line));
    return true;
}

bool HandReader::Read()
{
    const std::vector<std::string> &lines = m_text.lines;
    if (!Header(lines[0]))
        return false;
    if (lines.size() < 2 || !TableLine(lines[1]))
        return lines.size() < 2 ? Fail(0, "the hand ends after its first line") : false;
    size_t index = 2;
    for (; index < lines.size(); ++index) {
        bool done = false;
        if (!SeatLine(index, lines[index], done))
            return false;
        if (done)
            break;
    }
    if (hand.seats.empty())
        return Fail(2, "a hand without seats");
    if (seatCount < static_cast<int>(hand.seats.size()))
        return Fail(1, "more seats than the table has");
    const auto dealtIn = std::count_if(hand.seats.begin(), hand.seats.end(),
                                       [](const history::HandSeat &seat) { return seat.inHand; });
    if (dealtIn < 2)
        return Fail(2, "a hand needs two players dealt in, not " + std::to_string(dealtIn));
    if (hand.button >= seatCount)
        return Fail(1, "the button's seat " + std::to_string(hand.button + 1) +
                           " is not at the table");
    detail::FillSeats(hand, static_cast<size_t>(seatCount));
    m_chips.Start();
    for (const history::HandSeat &seat : hand.seats)
        m_tableChips += seat.startStack;
    for (; index < lines.size(); ++index) {
        if (!lines[index].empty() && !Body(index, lines[index]))
            return false;
    }
    if (!m_summary)
        return Fail(lines.size() - 1, "the hand ends before its summary");
    detail::PotText pot;
    pot.total = m_totalPot;
    pot.rake = m_rake;
    pot.returned = m_returned;
    const std::string why = detail::SettleChips(hand, m_chips, pot);
    if (!why.empty())
        return Fail(m_summaryLine, why);
    return true;
}

} // namespace interchange::detail
