#include "interchange/RoomHand.h"
#include "interchange/HandMath.h"

#include <algorithm>
#include <climits>

namespace interchange::detail {

using history::ActionKind;

bool LastCards(const std::string &text, std::vector<int> &cards)
{
    const size_t close = text.rfind(']');
    const size_t open = close == std::string::npos ? close : text.rfind('[', close);
    if (open == std::string::npos)
        return false;
    cards.clear();
    size_t pos = open + 1;
    while (pos < close) {
        const size_t end = std::min(text.find_first_of(" ,", pos), close);
        if (end > pos) {
            const int card = history::CardFromText(text.substr(pos, end - pos));
            if (card < 0)
                return false;
            cards.push_back(card);
        }
        pos = end + 1;
    }
    return true;
}

std::string BareAmount(const std::string &text)
{
    const size_t from = text.find_first_not_of(" [(");
    if (from == std::string::npos)
        return "";
    size_t to = text.find_last_not_of(" ])");
    if (to == std::string::npos || to < from)
        return ""; // brackets and blanks only: no amount
    // A currency sign after the digits: "€" is three bytes, each past ASCII.
    while (to > from && static_cast<unsigned char>(text[to]) >= 0x80)
        --to;
    return text.substr(from, to + 1 - from);
}

std::string SettleChips(history::Hand &hand, const ChipCount &chips, PotText &pot)
{
    // Each seat put in at most its stack and took at most the table's chips: the sums are
    // bounded, but not by an int.
    long long in = 0, paid = 0;
    std::vector<int> put;
    for (const history::HandSeat &seat : hand.seats) {
        put.push_back(seat.startStack - chips.Behind(seat.seat));
        in += put.back();
        paid += seat.won;
    }
    const long long total =
        pot.total >= 0 && pot.totalAfterRake ? pot.total + std::max(0, pot.rake) : pot.total;
    // Older and converted files leave out the line that returns an uncalled bet, and some rooms
    // never write it: when the pot as written lacks just that part, it went back to its owner.
    const auto top = static_cast<size_t>(std::max_element(put.begin(), put.end()) - put.begin());
    int second = 0;
    for (size_t s = 0; s < put.size(); ++s)
        second = s != top ? std::max(second, put[s]) : second;
    const int uncalled = put.empty() ? 0 : put[top] - second;
    if (pot.returned == 0 && uncalled > 0 &&
        (total >= 0      ? total == in - uncalled
         : pot.rake >= 0 ? paid + pot.rake + uncalled == in
                         : paid + uncalled <= in)) {
        history::HandSeat &owner = hand.seats[top];
        if (owner.won > INT_MAX - uncalled)
            return owner.name + " collects more chips than the table holds";
        owner.won += uncalled;
        pot.returned = uncalled;
        paid += uncalled;
    }
    if (total >= 0 && total != in - pot.returned)
        return "the summary's total pot " + std::to_string(total) + " is not the " +
               std::to_string(in - pot.returned) + " put in";
    // A room that does not write its rake kept what nobody was paid.
    const long long rake = pot.rake >= 0 ? pot.rake : std::max(0LL, in - paid);
    if (paid + rake != in)
        return "the chips do not add up: " + std::to_string(in) + " put in, " +
               std::to_string(paid) + " paid out and " + std::to_string(rake) + " rake";
    return "";
}

bool RoomHand::Fail(size_t index, const std::string &why)
{
    error = m_source + ":" + std::to_string(m_first + index) + ": " + why;
    return false;
}

bool RoomHand::Amount(size_t index, const std::string &text, int &value)
{
    const auto parsed = ParseAmount(text, cents);
    if (!parsed)
        return Fail(index, AmountError(text, cents));
    value = *parsed;
    return true;
}

bool RoomHand::AddSeat(size_t index, int number, const std::string &name, const std::string &stack,
                       bool dealtIn)
{
    if (number < 1 || number > 10)
        return Fail(index, "seat " + std::to_string(number) + " does not exist");
    if (name.empty())
        return Fail(index, "seat " + std::to_string(number) + " without a name");
    // The action lines tell the players apart by name alone.
    for (const history::HandSeat &other : hand.seats) {
        if (other.name == name)
            return Fail(index, "two players named " + name);
    }
    history::HandSeat seat;
    seat.seat = number - 1;
    seat.name = name;
    if (!Amount(index, stack, seat.startStack))
        return false;
    seat.inHand = dealtIn && seat.startStack > 0;
    FillSeats(hand, static_cast<size_t>(number));
    if (!hand.seats[static_cast<size_t>(seat.seat)].name.empty())
        return Fail(index, "seat " + std::to_string(number) + " is listed twice");
    hand.seats[static_cast<size_t>(seat.seat)] = seat;
    seatCount = std::max(seatCount, number);
    return true;
}

bool RoomHand::Deal(size_t index, int buttonNumber)
{
    if (hand.seats.empty())
        return Fail(index, "a hand without seats");
    const auto dealtIn = std::count_if(hand.seats.begin(), hand.seats.end(),
                                       [](const history::HandSeat &seat) { return seat.inHand; });
    if (dealtIn < 2)
        return Fail(index, "a hand needs two players dealt in, not " + std::to_string(dealtIn));
    seatCount = std::clamp(seatCount, static_cast<int>(hand.seats.size()), 10);
    if (buttonNumber < 1 || buttonNumber > seatCount)
        return Fail(index,
                    "the button's seat " + std::to_string(buttonNumber) + " is not at the table");
    hand.button = buttonNumber - 1;
    FillSeats(hand, static_cast<size_t>(seatCount));
    m_chips.Start();
    for (const history::HandSeat &seat : hand.seats)
        m_tableChips += seat.startStack;
    return true;
}

void FillSeats(history::Hand &hand, size_t count)
{
    while (hand.seats.size() < count) {
        history::HandSeat empty;
        empty.seat = static_cast<int>(hand.seats.size());
        hand.seats.push_back(empty);
    }
}

int SeatStarting(const history::Hand &hand, const std::string &text, const std::string &after,
                 std::string &rest)
{
    int best = -1;
    size_t length = 0;
    for (const history::HandSeat &seat : hand.seats) {
        if (!seat.name.empty() && seat.name.size() >= length &&
            StartsWith(text, seat.name + after)) {
            best = seat.seat;
            length = seat.name.size();
        }
    }
    if (best >= 0)
        rest = text.substr(length + after.size());
    return best;
}

bool RoomHand::PlayerSays(size_t index, const std::string &line,
                          bool (*act)(RoomHand &hand, size_t index, int seat,
                                      const std::string &rest))
{
    std::string rest;
    const int seat = SeatStarting(line, " ", rest);
    return seat < 0 || act(*this, index, seat, rest);
}

bool RoomHand::DealtTo(size_t index, const std::string &line)
{
    std::string rest;
    std::vector<int> cards;
    const int seat = SeatStarting(line.substr(9), " [", rest);
    if (seat < 0 || !LastCards(line, cards))
        return true;
    human = hand.seats[static_cast<size_t>(seat)].name;
    return Shows(index, seat, cards);
}

bool RoomHand::Plays(int seat) const
{
    const history::HandSeat &s = hand.seats[static_cast<size_t>(seat)];
    return s.inHand && !s.folded;
}

bool RoomHand::Put(size_t index, int seat, ActionKind kind, int amount)
{
    history::HandSeat &s = hand.seats[static_cast<size_t>(seat)];
    if (s.folded)
        return Fail(index, s.name + " acts after folding");
    if (!s.inHand)
        return Fail(index, s.name + " acts without being dealt in");
    if (amount > m_chips.Behind(seat))
        return Fail(index, s.name + " puts in " + std::to_string(amount) + " with " +
                               std::to_string(m_chips.Behind(seat)) + " left");
    m_chips.Put(seat, kind, amount);
    return true;
}

bool RoomHand::Posts(size_t index, int seat, Post kind, const std::string &text)
{
    int amount = 0;
    if (!Amount(index, text, amount))
        return false;
    history::HandSeat &s = hand.seats[static_cast<size_t>(seat)];
    // A player listed as sitting out who posts is dealt in, and folds when it is his turn.
    if (!s.inHand && s.startStack > 0 && !s.folded)
        s.inHand = true;
    // A small blind after the blinds (a player coming back) is dead: it counts as an ante.
    if (kind == Post::SmallBlind && m_smallBlind)
        kind = Post::Dead;
    switch (kind) {
    case Post::SmallBlind:
        m_smallBlind = true;
        return Put(index, seat, ActionKind::SmallBlind, amount);
    case Post::BigBlind:
        // A second big blind is a new player's, live like the first. Whoever is short, the bet
        // to call is the big blind.
        m_smallBlind = true;
        m_chips.SetFloor(hand.bigBlind);
        return Put(index, seat, ActionKind::BigBlind, amount);
    default:
        return Put(index, seat, ActionKind::Ante, amount);
    }
}

bool RoomHand::Folds(size_t index, int seat)
{
    // A sitting-out player folded by the room changes nothing.
    return !hand.seats[static_cast<size_t>(seat)].inHand || Put(index, seat, ActionKind::Fold, 0);
}

bool RoomHand::Checks(size_t index, int seat)
{
    // Over a big blind all in for less, what is in may be matched already.
    if (m_chips.OwedPut(seat) > 0)
        return Fail(index, hand.seats[static_cast<size_t>(seat)].name + " checks facing a bet");
    return Put(index, seat, ActionKind::Check, 0);
}

bool RoomHand::Calls(size_t index, int seat, const std::string &text)
{
    int amount = 0;
    if (!Amount(index, text, amount))
        return false;
    // Less than owed only all in; over a short big blind, the whole big blind or the rest of
    // what is in.
    const int owed = m_chips.Owed(seat);
    if (amount > owed || amount == 0 ||
        (amount < owed && amount != m_chips.OwedPut(seat) && amount < m_chips.Behind(seat)))
        return Fail(index, hand.seats[static_cast<size_t>(seat)].name + " calls " + text +
                               " but owes " + std::to_string(owed));
    return Put(index, seat, ActionKind::Call, amount);
}

bool RoomHand::Bets(size_t index, int seat, const std::string &text)
{
    int amount = 0;
    if (!Amount(index, text, amount))
        return false;
    if (m_chips.Largest() > 0 || amount == 0)
        return Fail(index, hand.seats[static_cast<size_t>(seat)].name + " bets facing a bet");
    return Put(index, seat, ActionKind::Bet, amount);
}

bool RoomHand::RaisesTo(size_t index, int seat, const std::string &text)
{
    int total = 0;
    if (!Amount(index, text, total))
        return false;
    const int amount = total - m_chips.InFront(seat);
    if (total <= m_chips.Largest() || amount <= 0)
        return Fail(index, hand.seats[static_cast<size_t>(seat)].name + " raises to " + text +
                               " without topping the bet");
    return Put(index, seat, m_chips.BetOrRaise(), amount);
}

bool RoomHand::RaisesBy(size_t index, int seat, const std::string &text)
{
    int added = 0;
    if (!Amount(index, text, added))
        return false;
    if (m_chips.InFront(seat) + added <= m_chips.Largest())
        return Fail(index, hand.seats[static_cast<size_t>(seat)].name + " raises " + text +
                               " without topping the bet");
    return Put(index, seat, m_chips.BetOrRaise(), added);
}

bool RoomHand::Board(size_t index, const std::vector<int> &cards)
{
    const size_t want = hand.board.empty() ? 3 : 1;
    if (hand.board.size() >= 5 || cards.size() != want)
        return Fail(index, "unreadable board cards");
    hand.board.insert(hand.board.end(), cards.begin(), cards.end());
    const size_t n = hand.board.size();
    m_chips.NextStreet(n == 3   ? history::Street::Flop
                       : n == 4 ? history::Street::Turn
                                : history::Street::River);
    const int twice = CardDealtTwice(hand);
    return twice < 0 || Fail(index, "the card " + history::CardText(twice) + " is dealt twice");
}

bool RoomHand::Shows(size_t index, int seat, const std::vector<int> &cards)
{
    if (cards.size() != 2)
        return Fail(index, "not two hole cards");
    hand.seats[static_cast<size_t>(seat)].cards = {cards[0], cards[1]};
    const int twice = CardDealtTwice(hand);
    return twice < 0 || Fail(index, "the card " + history::CardText(twice) + " is dealt twice");
}

bool RoomHand::Collects(size_t index, int seat, const std::string &text)
{
    int amount = 0;
    if (!Amount(index, text, amount))
        return false;
    history::HandSeat &to = hand.seats[static_cast<size_t>(seat)];
    if (to.won + static_cast<long long>(amount) > m_tableChips)
        return Fail(index, to.name + " collects more chips than the table holds");
    to.won += amount;
    return true;
}

bool RoomHand::Returns(size_t index, int seat, const std::string &text)
{
    int amount = 0;
    if (!Amount(index, text, amount))
        return false;
    const history::HandSeat &to = hand.seats[static_cast<size_t>(seat)];
    if (amount > to.startStack - m_chips.Behind(seat))
        return Fail(index, "more returned than was bet");
    m_returned += amount;
    return Collects(index, seat, text);
}

bool RoomHand::Finish(size_t summary, size_t last, PotText pot)
{
    if (summary == 0)
        return Fail(last, "the hand ends before its summary");
    pot.returned = m_returned;
    const std::string why = SettleChips(hand, m_chips, pot);
    return why.empty() || Fail(summary, why);
}

} // namespace interchange::detail

namespace interchange::detail {

std::string NoHandError(const std::vector<std::string> &lines, const std::string &source,
                        const char *format)
{
    size_t first = 0;
    while (first < lines.size() && lines[first].find_first_not_of(" \t") == std::string::npos)
        ++first;
    return source + ":" + std::to_string(first + 1) + ": not a " + format +
           " hand history (no line starts a hand)";
}

void NoteTextBeforeFirstHand(const std::vector<std::string> &lines, size_t first,
                             const std::string &source, std::vector<std::string> &warnings)
{
    const auto noted = std::count_if(
        lines.begin(), lines.begin() + static_cast<long>(first), [](const std::string &line) {
            // Blanks, PokerStars' "***** # 2 *****" between hands, and the "#Game No : 176497340"
            // 888poker writes above each of its own.
            return line.find_first_not_of(" \t\r\xEF\xBB\xBF*#0123456789") != std::string::npos &&
                   !StartsWith(line, "#Game No : ");
        });
    if (noted > 0)
        warnings.push_back(source + ":1: " + std::to_string(noted) +
                           (noted == 1 ? " line" : " lines") + " before the first hand left out");
}

bool AnyLine(const std::string &text, bool (*isStart)(const std::string &line))
{
    const std::vector<std::string> lines = SplitLines(text.substr(0, 4096));
    return std::any_of(lines.begin(), lines.end(), isStart);
}

bool ImportHands(const std::string &text, const std::string &source, const char *format,
                 bool (*isStart)(const std::string &line),
                 bool (*read)(RoomHand &hand, const std::vector<std::string> &lines),
                 ImportResult &result, std::string &error)
{
    GameCollector collector(source, result);
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<size_t> starts;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (isStart(lines[i]))
            starts.push_back(i);
    }
    if (starts.empty()) {
        error = NoHandError(lines, source, format);
        return false;
    }
    NoteTextBeforeFirstHand(lines, starts.front(), source, result.warnings);
    for (size_t h = 0; h < starts.size(); ++h) {
        const size_t end = h + 1 < starts.size() ? starts[h + 1] : lines.size();
        const std::vector<std::string> handLines(lines.begin() + static_cast<long>(starts[h]),
                                                 lines.begin() + static_cast<long>(end));
        RoomHand hand(source, starts[h] + 1);
        const bool ok = read(hand, handLines);
        collector.Take(hand, ok, static_cast<int>(h) + 1);
    }
    return collector.Finish(error);
}

} // namespace interchange::detail
