#include "interchange/PhhHand.h"

#include "interchange/HandMath.h"
#include "lineformat/TextFormat.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <sstream>

namespace interchange::detail {

using history::ActionKind;
using history::Street;
using toml::Value;

namespace {

// An amount written "inf": a stack the file does not know.
constexpr int kNotKnown = INT_MIN;

std::vector<int> PhhCards(const std::string &cards)
{
    std::vector<int> out;
    for (size_t i = 0; i + 1 < cards.size(); i += 2)
        out.push_back(history::CardFromText(cards.substr(i, 2)));
    return out;
}

} // namespace

bool PhhHand::Amounts(const char *name, std::vector<int> &out, bool required, bool negative,
                      bool inf)
{
    const Value *value = Field(name);
    if (!value)
        return required ? Fail(m_section.line, std::string("no ") + name) : true;
    if (value->kind != Value::Array)
        return Fail(value->line, std::string(name) + " is not a list");
    for (const Value &item : value->items) {
        const bool minus = negative && item.text.size() > 1 && item.text[0] == '-';
        const std::string text = minus ? item.text.substr(1) : item.text;
        if (inf && item.kind == Value::Number && (text == "inf" || text == "+inf")) {
            out.push_back(kNotKnown);
            continue;
        }
        if (item.kind != Value::Number)
            return Fail(item.line, gamelines::Quote(item.text) + " in " + name +
                                       " is not a number: amounts are written without quotes");
        const auto amount = detail::ParseAmount(text, m_cents);
        if (!amount)
            return Fail(item.line,
                        detail::AmountError(item.text, m_cents, std::string(" in ") + name));
        out.push_back(minus ? -*amount : *amount);
    }
    return true;
}

int PhhHand::DeepStack(const std::vector<int> &antes, const std::vector<int> &blinds) const
{
    long long total = 0;
    for (size_t p = 0; p < antes.size(); ++p)
        total += antes[p] + std::abs(blinds[p]);
    if (const Value *actions = Field("actions")) {
        for (const Value &notation : actions->items) {
            std::istringstream words(notation.text);
            std::string actor, verb, amount;
            words >> actor >> verb >> amount;
            if (verb == "cbr")
                total += detail::ParseAmount(amount, m_cents).value_or(0);
        }
    }
    return static_cast<int>(std::clamp(2 * total, 1LL, static_cast<long long>(detail::kMaxAmount)));
}

// Seat numbers are whole numbers from 1, whatever the hand's amounts are counted in.
bool PhhHand::Seats(std::vector<int> &out)
{
    const Value *value = Field("seats");
    if (!value)
        return true;
    if (value->kind != Value::Array)
        return Fail(value->line, "seats is not a list");
    for (const Value &item : value->items) {
        const std::optional<int> seat = detail::ParseSeatNumber(item.text);
        if (item.kind != Value::Number || !seat)
            return Fail(item.line,
                        gamelines::Quote(item.text) + " in seats is not a seat of a table of ten");
        out.push_back(*seat);
    }
    return true;
}

// "p3" -> player 2 (counted from 0); false for a word that names no player of the hand.
bool PhhHand::PlayerOf(const std::string &word, size_t &player) const
{
    if (word.size() < 2 || word[0] != 'p' ||
        word.find_first_not_of("0123456789", 1) != std::string::npos)
        return false;
    const int n = std::atoi(word.c_str() + 1);
    if (n < 1 || static_cast<size_t>(n) > m_players)
        return false;
    player = static_cast<size_t>(n - 1);
    return true;
}

bool PhhHand::Action(const Value &notation)
{
    const size_t line = notation.line;
    if (notation.kind != Value::String)
        return Fail(line, "an action that is not a string");
    std::string text = notation.text.substr(0, notation.text.find('#'));
    std::istringstream words(text);
    std::string actor, verb, argument;
    words >> actor >> verb >> argument;
    if (actor.empty())
        return true; // a comment alone
    if (actor == "d") {
        std::string cards;
        words >> cards;
        return Deal(line, text, verb, argument, cards);
    }
    return PlayerAction(line, text, actor, verb, argument);
}

bool PhhHand::Deal(size_t line, const std::string &text, const std::string &verb,
                   const std::string &argument, const std::string &cards)
{
    size_t player = 0;
    if (verb == "dh") {
        if (!PlayerOf(argument, player))
            return Fail(line, gamelines::Quote(text) + " deals to no player");
        const std::vector<int> hole = PhhCards(cards);
        if (hole.size() == 2 && hole[0] >= 0 && hole[1] >= 0) {
            history::HandSeat &seat = hand.seats[static_cast<size_t>(m_seatOf[player])];
            seat.cards = {hole[0], hole[1]};
            human = m_knownHands++ == 0 ? seat.name : std::string();
            return CardsOnce(line);
        }
        // Cards not known are written "??"; a hand known in part is kept as not known.
        const auto knownOrNot = [&](size_t at) {
            return cards.compare(at, 2, "??") == 0 ||
                   history::CardFromText(cards.substr(at, 2)) >= 0;
        };
        if (cards.size() == 4 && knownOrNot(0) && knownOrNot(2))
            return true;
        return Fail(line, "a damaged deal " + gamelines::Quote(text) + ": two cards are wanted");
    }
    if (verb == "db") {
        const std::vector<int> board = PhhCards(argument);
        for (int card : board) {
            if (card < 0)
                return Fail(line, "unreadable board cards " + gamelines::Quote(argument));
        }
        // The flop's three cards, then the turn's and the river's one each.
        if (board.size() != (hand.board.empty() ? 3u : 1u) || hand.board.size() >= 5)
            return Fail(line, "a board of " + std::to_string(hand.board.size() + board.size()) +
                                  " cards");
        hand.board.insert(hand.board.end(), board.begin(), board.end());
        const size_t n = hand.board.size();
        m_chips.NextStreet(n == 3 ? Street::Flop : n == 4 ? Street::Turn : Street::River);
        return CardsOnce(line);
    }
    return Fail(line, "unknown dealing " + gamelines::Quote(text));
}

bool PhhHand::PlayerAction(size_t line, const std::string &text, const std::string &actor,
                           const std::string &verb, const std::string &argument)
{
    size_t player = 0;
    if (!PlayerOf(actor, player))
        return Fail(line, gamelines::Quote(actor) + " is not a player of this hand");
    if (Folded(player) && verb != "sm")
        return Fail(line, actor + " acts after folding");
    const int owed = m_chips.Owed(SeatOf(player));
    if (verb == "f") {
        Put(player, ActionKind::Fold, 0);
    } else if (verb == "cc") {
        if (owed == 0)
            Put(player, ActionKind::Check, 0);
        else
            Put(player, ActionKind::Call, std::min(owed, Behind(player)));
    } else if (verb == "cbr") {
        const auto total = detail::ParseAmount(argument, m_cents);
        if (!total)
            return Fail(line, detail::AmountError(argument, m_cents));
        const int amount = *total - m_chips.InFront(SeatOf(player));
        if (*total <= m_chips.Largest() || amount > Behind(player))
            return Fail(line, actor + " cannot bet or raise to " + argument);
        Put(player, m_chips.BetOrRaise(), amount);
    } else if (verb == "sm") {
        hand.showdown = true;
        const std::vector<int> hole = PhhCards(argument);
        const int seat = SeatOf(player);
        if (hole.size() == 2 && hole[0] >= 0 && hole[1] >= 0) {
            m_mucked.erase(seat);
            m_shown.insert(seat);
            hand.seats[static_cast<size_t>(seat)].cards = {hole[0], hole[1]};
            return CardsOnce(line);
        }
        // Shown face down until the cards are shown, as after an all-in before each street.
        if (!m_shown.count(seat))
            m_mucked.insert(seat);
    } else {
        return Fail(line, gamelines::Quote(text) + " is not a No-Limit Hold'em action");
    }
    return true;
}

bool PhhHand::ReadLists(Lists &lists)
{
    const Value *variant = Field("variant");
    if (!variant || variant->kind != Value::String)
        return Fail(m_section.line, "a hand without its variant");
    if (variant->text != "NT")
        return Fail(variant->line, "variant \"" + variant->text + "\" is not No-Limit Hold'em");
    if (!Amounts("starting_stacks", lists.stacks, true, false, true) ||
        !Amounts("antes", lists.antes, true) ||
        !Amounts("blinds_or_straddles", lists.blinds, true, true) || !Seats(lists.seats) ||
        !Amounts("finishing_stacks", lists.finishing, false, false, true) ||
        !Amounts("winnings", lists.winnings, false))
        return false;
    m_players = lists.stacks.size();
    if (m_players < 2 || m_players > 10)
        return Fail(m_section.line, "a hand of " + std::to_string(m_players) + " players");
    if (lists.antes.size() != m_players || lists.blinds.size() != m_players ||
        (!lists.seats.empty() && lists.seats.size() != m_players) ||
        (!lists.finishing.empty() && lists.finishing.size() != m_players) ||
        (!lists.winnings.empty() && lists.winnings.size() != m_players))
        return Fail(m_section.line, "the lists of the hand differ in length");
    for (int &stack : lists.stacks) {
        stacksNotKnown = stacksNotKnown || stack == kNotKnown;
        stack = stack == kNotKnown ? DeepStack(lists.antes, lists.blinds) : stack;
    }
    if (lists.seats.empty())
        for (size_t p = 0; p < m_players; ++p)
            lists.seats.push_back(static_cast<int>(p + 1));
    return true;
}

bool PhhHand::ReadSeatCount(const std::vector<int> &seats)
{
    if (const Value *count = Field("seat_count")) {
        const std::optional<int> number = detail::ParseSeatNumber(count->text);
        if (count->kind != Value::Number || !number)
            return Fail(count->line, "a table of " + count->text + " seats");
        seatCount = *number;
    }
    for (int s : seats)
        seatCount = std::max(seatCount, s);
    return true;
}

bool PhhHand::ReadNames(std::vector<std::string> &names)
{
    if (const Value *players = Field("players")) {
        for (const Value &item : players->items) {
            // A name is one line of the texts it goes into.
            if (item.text.find_first_of("\n\r") != std::string::npos)
                return Fail(item.line, "a player's name with a line break");
            names.push_back(item.text);
        }
    }
    return true;
}

// The hand's number and time only name it: one that cannot be is left out, not refused.
void PhhHand::ReadLabels()
{
    if (const Value *name = Field("table"))
        table = name->text;
    if (const Value *number = Field("hand")) {
        hand.id = number->text;
        hand.number = detail::ParseCount(number->text).value_or(0);
    }
    const Value *time = Field("time"), *day = Field("day"), *month = Field("month"),
                *year = Field("year");
    int hour = 0, minute = 0, second = 0, used = 0;
    if (time && day && month && year &&
        std::sscanf(time->text.c_str(), "%2d:%2d:%2d%n", &hour, &minute, &second, &used) == 3 &&
        static_cast<size_t>(used) == time->text.size())
        hand.timeText = detail::TimeText(
            detail::ParseCount(year->text).value_or(0), detail::ParseCount(month->text).value_or(0),
            detail::ParseCount(day->text).value_or(0), hour, minute, second);
}

bool PhhHand::SeatPlayers(const Lists &lists, const std::vector<std::string> &names)
{
    const Value *players = Field("players");
    hand.seats.resize(static_cast<size_t>(seatCount));
    for (size_t s = 0; s < hand.seats.size(); ++s)
        hand.seats[s].seat = static_cast<int>(s);
    for (size_t p = 0; p < m_players; ++p) {
        history::HandSeat &seat = hand.seats[static_cast<size_t>(lists.seats[p] - 1)];
        if (seat.inHand)
            return Fail(m_section.line, "two players in seat " + std::to_string(lists.seats[p]));
        seat.name = p < names.size() && !names[p].empty() ? names[p] : "p" + std::to_string(p + 1);
        for (size_t other = 0; other < p; ++other) {
            if (hand.seats[static_cast<size_t>(m_seatOf[other])].name == seat.name)
                return Fail(players ? players->line : m_section.line,
                            "two players named " + seat.name);
        }
        // Every player listed is dealt in, which takes chips.
        if (lists.stacks[p] == 0)
            return Fail(Field("starting_stacks")->line, seat.name + " starts without chips");
        seat.startStack = lists.stacks[p];
        seat.inHand = true;
        m_seatOf.push_back(lists.seats[p] - 1);
    }
    hand.button = m_seatOf.back();
    return true;
}

// Antes go in by seat, as the table collects them.
void PhhHand::PostAntes(const std::vector<int> &antes)
{
    std::vector<size_t> bySeat(m_players);
    for (size_t p = 0; p < m_players; ++p)
        bySeat[p] = p;
    std::sort(bySeat.begin(), bySeat.end(),
              [&](size_t a, size_t b) { return m_seatOf[a] < m_seatOf[b]; });
    for (size_t p : bySeat) {
        const int ante = antes[m_players == 2 ? 1 - p : p];
        if (ante > 0)
            Put(p, ActionKind::Ante, std::min(ante, Behind(p)));
    }
}

bool PhhHand::PostBlinds(const std::vector<int> &blinds)
{
    // Heads-up, the forced bets are listed the other way round.
    const auto owner = [&](size_t i) { return m_players == 2 ? 1 - i : i; };
    // The first forced bet listed is the small blind, posted first.
    std::vector<size_t> forced;
    for (size_t i = 0; i < m_players; ++i) {
        if (blinds[i] > 0)
            forced.push_back(i);
    }
    // Heads-up, tables where the button posts the big blind list it first: the big blind is
    // the one equal to the minimum bet, else the one a short stack posted all-in.
    std::optional<int> minBet;
    if (const Value *value = Field("min_bet"))
        minBet = detail::ParseAmount(value->text, m_cents);
    if (m_players == 2 && forced.size() == 2) {
        const size_t a = forced[0], b = forced[1];
        bool bigFirst = false;
        if (minBet && (blinds[a] == *minBet) != (blinds[b] == *minBet))
            bigFirst = blinds[a] == *minBet;
        else if ((blinds[a] >= Behind(owner(a))) != (blinds[b] >= Behind(owner(b))))
            bigFirst = blinds[a] >= Behind(owner(a));
        if (bigFirst)
            std::swap(forced[0], forced[1]);
    }
    for (size_t k = 0; k < forced.size(); ++k) {
        const size_t i = forced[k];
        const bool alone = forced.size() == 1;
        // After the big blind, another of its size is a player's entering blind, a larger one a
        // straddle: a raise, topping the forced bet before it.
        const bool entering = k > 1 && blinds[i] == hand.bigBlind;
        const ActionKind kind = k == 0 && !alone     ? ActionKind::SmallBlind
                                : k <= 1 || entering ? ActionKind::BigBlind
                                                     : ActionKind::Raise;
        if (kind == ActionKind::Raise && blinds[i] <= blinds[forced[k - 1]]) {
            const Value &listed = Field("blinds_or_straddles")->items[i];
            return Fail(listed.line, "a straddle of " + listed.text +
                                         " that does not top the forced bet before it");
        }
        if (kind == ActionKind::SmallBlind)
            hand.smallBlind = blinds[i];
        if (kind == ActionKind::BigBlind && !entering)
            hand.bigBlind = blinds[i];
        Put(owner(i), kind, std::min(blinds[i], Behind(owner(i))));
    }
    // A negative blind was posted out of its turn: as much as the big blind is live when it
    // comes to that (a player entering), the rest is dead, in the pot but in no one's bet.
    for (size_t i = 0; i < m_players; ++i) {
        if (blinds[i] >= 0)
            continue;
        const int posted = std::min(-blinds[i], Behind(owner(i)));
        const int live = hand.bigBlind > 0 && posted >= hand.bigBlind ? hand.bigBlind : 0;
        if (posted > live)
            Put(owner(i), ActionKind::Ante, posted - live);
        if (live > 0)
            Put(owner(i), ActionKind::BigBlind, live);
    }
    return true;
}

bool PhhHand::Read()
{
    Lists lists;
    std::vector<std::string> names;
    if (!ReadLists(lists) || !ReadSeatCount(lists.seats) || !ReadNames(names))
        return false;
    ReadLabels();
    if (!SeatPlayers(lists, names))
        return false;
    m_chips.Start();
    PostAntes(lists.antes);
    if (!PostBlinds(lists.blinds))
        return false;
    const Value *actions = Field("actions");
    if (!actions || actions->kind != Value::Array)
        return Fail(m_section.line, "a hand without its actions");
    for (const Value &notation : actions->items) {
        if (!Action(notation))
            return false;
    }

    return PayOut(lists.finishing, lists.winnings);
}

// Who won what: the finishing stacks when the file gives them, else its winnings (what each
// player took from the pots; an uncalled bet goes back besides, unless they count it already),
// else the pots go as played: to the last player in, or to the best hands shown. A hand not
// shown at the showdown was mucked and takes nothing.
bool PhhHand::PayOut(const std::vector<int> &finishing, const std::vector<int> &winnings)
{
    detail::Replay(hand, -1);
    if (!finishing.empty() && std::count(finishing.begin(), finishing.end(), kNotKnown) == 0) {
        long long paid = 0;
        for (size_t p = 0; p < m_players; ++p) {
            history::HandSeat &seat = hand.seats[static_cast<size_t>(m_seatOf[p])];
            seat.won = finishing[p] - Behind(p);
            paid += seat.won;
            if (seat.won < 0)
                return Fail(m_section.line, "finishing_stacks leave a player less than was bet");
        }
        if (paid > hand.pot)
            return Fail(m_section.line, "finishing_stacks pay out more than the pot");
        return true;
    }
    size_t top = 0;
    int second = 0;
    for (size_t s = 1; s < hand.seats.size(); ++s)
        top = hand.seats[s].invested > hand.seats[top].invested ? s : top;
    for (size_t s = 0; s < hand.seats.size(); ++s)
        second = s != top ? std::max(second, hand.seats[s].invested) : second;
    const int uncalled = hand.seats[top].invested - second;
    const long long listed = std::accumulate(winnings.begin(), winnings.end(), 0LL);
    if (listed > hand.pot)
        return Fail(Field("winnings")->line, "winnings pay out " + std::to_string(listed) +
                                                 " of a pot of " + std::to_string(hand.pot));
    if (listed > 0) {
        for (size_t p = 0; p < m_players; ++p)
            hand.seats[static_cast<size_t>(m_seatOf[p])].won = winnings[p];
        if (uncalled > 0 && listed + uncalled <= hand.pot)
            hand.seats[top].won += uncalled;
        return true;
    }
    winningsOfNobody = !winnings.empty() && hand.pot > 0;
    hand.seats[top].won = hand.seats[top].invested; // lets the unmatched chips go back
    detail::Settlement settled = detail::Settle(hand);
    hand.seats[top].won = settled.uncalledSeat >= 0 ? settled.uncalled : 0;
    for (detail::Pot &pot : settled.pots) {
        std::vector<int> shown;
        for (int seat : pot.eligible) {
            if (!m_mucked.count(seat))
                shown.push_back(seat);
        }
        if (!shown.empty() || pot.eligible.size() > 1)
            pot.eligible = shown;
    }
    if (!detail::SplitByStrength(hand, settled.pots))
        return Fail(m_section.line, "who won cannot be told: no hand at the showdown is shown and "
                                    "the file gives no winnings");
    for (const detail::Pot &pot : settled.pots)
        for (const auto &[seat, chips] : pot.shares)
            hand.seats[static_cast<size_t>(seat)].won += chips;
    return true;
}

} // namespace interchange::detail
