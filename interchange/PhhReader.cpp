#include "interchange/HandMath.h"
#include "interchange/ImportSupport.h"
#include "interchange/Interchange.h"
#include "lineformat/TextFormat.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>
#include <set>
#include <sstream>

namespace interchange {

namespace {

using history::ActionKind;
using history::Street;

// The part of TOML that hand histories use: key = value lines, numbered tables, strings of
// all four kinds, numbers (inf too), booleans and arrays of those over several lines,
// comments. A fault in one table spoils that table (that hand) alone.
struct Value
{
    enum Kind { None, String, Number, Bool, Array } kind = None;
    std::string text; // the string, or the number as written
    std::vector<Value> items;
    size_t line = 0;
};

struct Section
{
    std::string name;
    size_t line = 0;
    std::map<std::string, Value> fields;
    std::string error; // "file:line: why" when the table could not be read
};

void AppendUtf8(unsigned long code, std::string &out)
{
    const auto byte = [&](unsigned long bits) { out += static_cast<char>(bits & 0xFF); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

class TomlReader
{
public:
    TomlReader(const std::string &text, const std::string &source) : m_text(text), m_source(source)
    {
    }

    void Read(std::vector<Section> &sections)
    {
        sections.push_back(Section{"", 1, {}, ""});
        while (true) {
            SkipBlank(true);
            if (m_pos >= m_text.size())
                break;
            std::string error;
            if (!Statement(sections, error)) {
                if (sections.back().error.empty())
                    sections.back().error = error;
                SkipToNextTable();
            }
        }
    }

private:
    bool Fail(const std::string &why, std::string &error) const
    {
        error = m_source + ":" + std::to_string(m_line) + ": " + why;
        return false;
    }
    bool At(const std::string &what) const { return m_text.compare(m_pos, what.size(), what) == 0; }
    // A table name alone on its line: "[12]", "["12"]", "[[hands]]".
    bool TableHeaderAt(size_t pos) const
    {
        const size_t eol = std::min(m_text.find('\n', pos), m_text.size());
        const std::string line = m_text.substr(pos, eol - pos);
        const size_t close = line.rfind(']');
        if (line.empty() || line[0] != '[' || close == std::string::npos ||
            line.find(',') < close)
            return false;
        const size_t rest = line.find_first_not_of(" \t\r", close + 1);
        return rest == std::string::npos || line[rest] == '#';
    }
    // After a fault: on to the next table, whose hand may read.
    void SkipToNextTable()
    {
        while (m_pos < m_text.size()) {
            const size_t eol = m_text.find('\n', m_pos);
            if (eol == std::string::npos) {
                m_pos = m_text.size();
                return;
            }
            m_pos = eol + 1;
            ++m_line;
            size_t first = m_pos;
            while (first < m_text.size() && (m_text[first] == ' ' || m_text[first] == '\t'))
                ++first;
            if (TableHeaderAt(first))
                return;
        }
    }
    bool Statement(std::vector<Section> &sections, std::string &error)
    {
        if (m_text[m_pos] == '[') {
            if (!TableHeaderAt(m_pos))
                return Fail("an unclosed table name", error);
            size_t end = m_text.find(']', m_pos);
            std::string name = m_text.substr(m_pos + 1, end - m_pos - 1);
            name.erase(std::remove_if(name.begin(), name.end(),
                                      [](char c) { return std::strchr("\"'[ \t", c) != nullptr; }),
                       name.end());
            sections.push_back(Section{name, m_line, {}, ""});
            m_pos = end + (m_text.compare(end, 2, "]]") == 0 ? 2 : 1);
            return EndOfLine(error);
        }
        std::string key;
        if (m_text[m_pos] == '"' || m_text[m_pos] == '\'') {
            Value quoted;
            if (!ParseString(quoted, error))
                return false;
            key = quoted.text;
        } else {
            const size_t keyStart = m_pos;
            while (m_pos < m_text.size() &&
                   (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) ||
                    m_text[m_pos] == '_' || m_text[m_pos] == '-'))
                ++m_pos;
            key = m_text.substr(keyStart, m_pos - keyStart);
        }
        SkipBlank(false);
        if (key.empty() || m_pos >= m_text.size() || m_text[m_pos] != '=')
            return Fail("expected key = value", error);
        ++m_pos;
        Value value;
        if (!ParseValue(value, error, 0))
            return false;
        if (sections.back().fields.count(key))
            return Fail(gamelines::Quote(key) + " is given twice", error);
        sections.back().fields[key] = std::move(value);
        return EndOfLine(error);
    }
    // Blanks and comments; with newlines, line ends too.
    void SkipBlank(bool newlines)
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '#') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
            } else if (c == ' ' || c == '\t' || c == '\r' || (newlines && c == '\n')) {
                m_line += c == '\n' ? 1 : 0;
                ++m_pos;
            } else {
                break;
            }
        }
    }
    bool EndOfLine(std::string &error)
    {
        SkipBlank(false);
        if (m_pos < m_text.size() && m_text[m_pos] != '\n')
            return Fail("unexpected text after a value", error);
        return true;
    }
    // "\n", "\u00e9", ...; false for an escape TOML does not have.
    bool Escape(std::string &out)
    {
        const char e = m_text[m_pos++];
        static const std::string kFrom = "btnfr\"\\", kTo = "\b\t\n\f\r\"\\";
        if (const size_t at = kFrom.find(e); at != std::string::npos) {
            out += kTo[at];
            return true;
        }
        if (e != 'u' && e != 'U')
            return false;
        const size_t digits = e == 'u' ? 4 : 8;
        if (m_pos + digits > m_text.size())
            return false;
        const std::string hex = m_text.substr(m_pos, digits);
        if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        const unsigned long code = std::stoul(hex, nullptr, 16);
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        AppendUtf8(code, out);
        m_pos += digits;
        return true;
    }
    // Single-quoted strings as written, double-quoted ones with escapes; three quotes open a
    // string of several lines, whose first line break, right after them, is not part of it.
    bool ParseString(Value &value, std::string &error)
    {
        const char quote = m_text[m_pos];
        const bool literal = quote == '\'';
        const bool multi = At(std::string(3, quote));
        m_pos += multi ? 3 : 1;
        if (multi && At("\r\n"))
            ++m_pos;
        if (multi && At("\n")) {
            ++m_pos;
            ++m_line;
        }
        value.kind = Value::String;
        while (true) {
            if (m_pos >= m_text.size())
                return Fail("an unclosed string", error);
            const char c = m_text[m_pos];
            if (c == quote) {
                size_t run = 0;
                while (m_pos + run < m_text.size() && m_text[m_pos + run] == quote)
                    ++run;
                if (!multi || run >= 3) {
                    // Up to two quotes right before the closing three belong to the string.
                    if (multi)
                        value.text.append(std::min<size_t>(run - 3, 2), quote);
                    m_pos += multi ? std::min<size_t>(run, 5) : 1;
                    return true;
                }
                value.text.append(run, quote);
                m_pos += run;
                continue;
            }
            if (c == '\n') {
                if (!multi)
                    return Fail("an unclosed string", error);
                ++m_line;
            }
            if (c == '\\' && !literal) {
                ++m_pos;
                // Within three double quotes a backslash ending a line joins the next text on.
                size_t after = m_pos;
                while (multi && after < m_text.size() && std::strchr(" \t\r", m_text[after]))
                    ++after;
                if (multi && after < m_text.size() && m_text[after] == '\n') {
                    m_pos = after;
                    while (m_pos < m_text.size() && std::strchr(" \t\r\n", m_text[m_pos])) {
                        m_line += m_text[m_pos] == '\n' ? 1 : 0;
                        ++m_pos;
                    }
                    continue;
                }
                if (m_pos >= m_text.size() || !Escape(value.text))
                    return Fail("an unknown escape in a string", error);
                continue;
            }
            value.text += c;
            ++m_pos;
        }
    }
    // Hand histories nest arrays at most once; the bound keeps the recursion off the stack's end.
    static constexpr int kMaxDepth = 8;

    bool ParseValue(Value &value, std::string &error, int depth)
    {
        SkipBlank(false);
        value.line = m_line;
        if (m_pos >= m_text.size())
            return Fail("a key without a value", error);
        const char c = m_text[m_pos];
        if (c == '"' || c == '\'')
            return ParseString(value, error);
        if (c == '[') {
            if (depth >= kMaxDepth)
                return Fail("arrays nested too deeply", error);
            value.kind = Value::Array;
            ++m_pos;
            while (true) {
                SkipBlank(true);
                if (m_pos >= m_text.size())
                    return Fail("an unclosed array", error);
                if (m_text[m_pos] == ']') {
                    ++m_pos;
                    return true;
                }
                Value item;
                if (!ParseValue(item, error, depth + 1))
                    return false;
                value.items.push_back(std::move(item));
                SkipBlank(true);
                if (m_pos < m_text.size() && m_text[m_pos] == ',')
                    ++m_pos;
                else if (m_pos < m_text.size() && m_text[m_pos] != ']')
                    return Fail("expected \",\" or \"]\" in an array", error);
            }
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !std::strchr(",]\n\r\t #", m_text[m_pos]))
            ++m_pos;
        value.text = m_text.substr(start, m_pos - start);
        if (value.text == "true" || value.text == "false") {
            value.kind = Value::Bool;
            return true;
        }
        const size_t sign = value.text.find_first_not_of("+-");
        const std::string bare = sign == std::string::npos ? "" : value.text.substr(sign);
        // Numbers, infinity, and the dates and times a header may carry.
        if (bare != "inf" && bare != "nan" &&
            (value.text.empty() ||
             value.text.find_first_not_of("0123456789.+-_:eETZtz") != std::string::npos))
            return Fail(gamelines::Quote(value.text) + " is not a value", error);
        value.kind = Value::Number;
        return true;
    }

    const std::string &m_text;
    const std::string &m_source;
    size_t m_pos = 0;
    size_t m_line = 1;
};

// How a file's hands count money: chips, or hundredths of one currency in every hand, so that
// the hands of a file add up.
struct MoneyUnit
{
    bool cents = false;
    std::string name; // "$", "USD"; empty for chips
};

// An amount written "inf": a stack the file does not know.
constexpr int kNotKnown = INT_MIN;

class PhhHand : public detail::HandBeingRead
{
public:
    PhhHand(const Section &section, const std::string &source, bool cents)
        : m_section(section), m_source(source), m_cents(cents), m_chips(hand)
    {
    }

    // human: the one player whose cards were dealt face up, if only one was.
    bool Read();

    bool stacksNotKnown = false; // "inf" stacks were read as deep enough for the hand
    bool winningsOfNobody = false; // winnings of 0 for all were set aside for the play itself

private:
    bool Fail(size_t line, const std::string &why)
    {
        error = m_source + ":" + std::to_string(line) + ": " + why;
        return false;
    }
    const Value *Field(const char *name) const
    {
        const auto found = m_section.fields.find(name);
        return found == m_section.fields.end() ? nullptr : &found->second;
    }
    // negative: "-5" allowed (a dead blind); inf: "inf" allowed, read as kNotKnown.
    bool Amounts(const char *name, std::vector<int> &out, bool required, bool negative = false,
                 bool inf = false);
    bool Seats(std::vector<int> &out);
    // A stack for each "inf": more than every chip the hand's forced bets and bets name.
    int DeepStack(const std::vector<int> &antes, const std::vector<int> &blinds) const;
    bool PayOut(const std::vector<int> &finishing, const std::vector<int> &winnings);
    // False with the message when a card is now in the hand twice.
    bool CardsOnce(size_t line)
    {
        const int card = detail::CardDealtTwice(hand);
        return card < 0 || Fail(line, "the card " + history::CardText(card) + " is dealt twice");
    }
    bool Action(const Value &notation);
    // Players are counted from 0 here, p1 first.
    int SeatOf(size_t player) const { return m_seatOf[player]; }
    void Put(size_t player, ActionKind kind, int amount) { m_chips.Put(SeatOf(player), kind, amount); }
    int Behind(size_t player) const { return m_chips.Behind(SeatOf(player)); }
    bool Folded(size_t player) const { return hand.seats[static_cast<size_t>(SeatOf(player))].folded; }

    const Section &m_section;
    const std::string &m_source;
    bool m_cents = false;
    size_t m_players = 0;
    std::vector<int> m_seatOf;
    detail::ChipCount m_chips;
    int m_knownHands = 0;
    std::set<int> m_shown, m_mucked; // seats whose cards went face up, face down at the showdown
};

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
            return Fail(item.line, detail::AmountError(item.text, m_cents, std::string(" in ") + name));
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
            return Fail(item.line, gamelines::Quote(item.text) + " in seats is not a seat of a table of ten");
        out.push_back(*seat);
    }
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
    const auto playerOf = [&](const std::string &word, size_t &player) {
        if (word.size() < 2 || word[0] != 'p' || word.find_first_not_of("0123456789", 1) != std::string::npos)
            return false;
        const int n = std::atoi(word.c_str() + 1);
        if (n < 1 || static_cast<size_t>(n) > m_players)
            return false;
        player = static_cast<size_t>(n - 1);
        return true;
    };
    const auto cardsOf = [](const std::string &cards) {
        std::vector<int> out;
        for (size_t i = 0; i + 1 < cards.size(); i += 2)
            out.push_back(history::CardFromText(cards.substr(i, 2)));
        return out;
    };
    size_t player = 0;
    if (actor == "d") {
        if (verb == "dh") {
            std::string cards;
            words >> cards;
            if (!playerOf(argument, player))
                return Fail(line, gamelines::Quote(text) + " deals to no player");
            const std::vector<int> hole = cardsOf(cards);
            if (hole.size() == 2 && hole[0] >= 0 && hole[1] >= 0) {
                history::HandSeat &seat = hand.seats[static_cast<size_t>(m_seatOf[player])];
                seat.cards = {hole[0], hole[1]};
                human = m_knownHands++ == 0 ? seat.name : std::string();
                return CardsOnce(line);
            }
            // Cards not known are written "??"; a hand known in part is kept as not known.
            const auto knownOrNot = [&](size_t at) {
                return cards.compare(at, 2, "??") == 0 || history::CardFromText(cards.substr(at, 2)) >= 0;
            };
            if (cards.size() == 4 && knownOrNot(0) && knownOrNot(2))
                return true;
            return Fail(line, "a damaged deal " + gamelines::Quote(text) + ": two cards are wanted");
        }
        if (verb == "db") {
            const std::vector<int> cards = cardsOf(argument);
            for (int card : cards) {
                if (card < 0)
                    return Fail(line, "unreadable board cards " + gamelines::Quote(argument));
            }
            // The flop's three cards, then the turn's and the river's one each.
            if (cards.size() != (hand.board.empty() ? 3u : 1u) || hand.board.size() >= 5)
                return Fail(line, "a board of " + std::to_string(hand.board.size() + cards.size()) +
                                      " cards");
            hand.board.insert(hand.board.end(), cards.begin(), cards.end());
            const size_t n = hand.board.size();
            m_chips.NextStreet(n == 3 ? Street::Flop : n == 4 ? Street::Turn : Street::River);
            return CardsOnce(line);
        }
        return Fail(line, "unknown dealing " + gamelines::Quote(text));
    }
    if (!playerOf(actor, player))
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
        const std::vector<int> hole = cardsOf(argument);
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

bool PhhHand::Read()
{
    const Value *variant = Field("variant");
    if (!variant || variant->kind != Value::String)
        return Fail(m_section.line, "a hand without its variant");
    if (variant->text != "NT")
        return Fail(variant->line, "variant \"" + variant->text + "\" is not No-Limit Hold'em");
    std::vector<int> stacks, antes, blinds, seats, finishing, winnings;
    if (!Amounts("starting_stacks", stacks, true, false, true) || !Amounts("antes", antes, true) ||
        !Amounts("blinds_or_straddles", blinds, true, true) || !Seats(seats) ||
        !Amounts("finishing_stacks", finishing, false, false, true) ||
        !Amounts("winnings", winnings, false))
        return false;
    m_players = stacks.size();
    if (m_players < 2 || m_players > 10)
        return Fail(m_section.line, "a hand of " + std::to_string(m_players) + " players");
    if (antes.size() != m_players || blinds.size() != m_players ||
        (!seats.empty() && seats.size() != m_players) ||
        (!finishing.empty() && finishing.size() != m_players) ||
        (!winnings.empty() && winnings.size() != m_players))
        return Fail(m_section.line, "the lists of the hand differ in length");
    for (int &stack : stacks) {
        stacksNotKnown = stacksNotKnown || stack == kNotKnown;
        stack = stack == kNotKnown ? DeepStack(antes, blinds) : stack;
    }
    if (seats.empty())
        for (size_t p = 0; p < m_players; ++p)
            seats.push_back(static_cast<int>(p + 1));
    if (const Value *count = Field("seat_count")) {
        const std::optional<int> number = detail::ParseSeatNumber(count->text);
        if (count->kind != Value::Number || !number)
            return Fail(count->line, "a table of " + count->text + " seats");
        seatCount = *number;
    }
    for (int s : seats)
        seatCount = std::max(seatCount, s);
    std::vector<std::string> names;
    const Value *players = Field("players");
    if (players) {
        for (const Value &item : players->items) {
            // A name is one line of the texts it goes into.
            if (item.text.find_first_of("\n\r") != std::string::npos)
                return Fail(item.line, "a player's name with a line break");
            names.push_back(item.text);
        }
    }
    if (const Value *name = Field("table"))
        table = name->text;
    // The hand's number and time only name it: one that cannot be is left out, not refused.
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
        hand.timeText = detail::TimeText(detail::ParseCount(year->text).value_or(0),
                                         detail::ParseCount(month->text).value_or(0),
                                         detail::ParseCount(day->text).value_or(0), hour, minute,
                                         second);

    hand.seats.resize(static_cast<size_t>(seatCount));
    for (size_t s = 0; s < hand.seats.size(); ++s)
        hand.seats[s].seat = static_cast<int>(s);
    for (size_t p = 0; p < m_players; ++p) {
        history::HandSeat &seat = hand.seats[static_cast<size_t>(seats[p] - 1)];
        if (seat.inHand)
            return Fail(m_section.line, "two players in seat " + std::to_string(seats[p]));
        seat.name = p < names.size() && !names[p].empty() ? names[p] : "p" + std::to_string(p + 1);
        for (size_t other = 0; other < p; ++other) {
            if (hand.seats[static_cast<size_t>(m_seatOf[other])].name == seat.name)
                return Fail(players ? players->line : m_section.line,
                            "two players named " + seat.name);
        }
        // Every player listed is dealt in, which takes chips.
        if (stacks[p] == 0)
            return Fail(Field("starting_stacks")->line, seat.name + " starts without chips");
        seat.startStack = stacks[p];
        seat.inHand = true;
        m_seatOf.push_back(seats[p] - 1);
    }
    hand.button = m_seatOf.back();
    m_chips.Start();
    // Heads-up, the forced bets are listed the other way round.
    const auto owner = [&](size_t i) { return m_players == 2 ? 1 - i : i; };
    // Antes go in by seat, as the table collects them.
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
        const ActionKind kind = k == 0 && !alone    ? ActionKind::SmallBlind
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
    const Value *actions = Field("actions");
    if (!actions || actions->kind != Value::Array)
        return Fail(m_section.line, "a hand without its actions");
    for (const Value &notation : actions->items) {
        if (!Action(notation))
            return false;
    }

    return PayOut(finishing, winnings);
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

// The file's money: hundredths of its currency when a hand names one or writes an amount with
// a decimal point, else chips.
MoneyUnit UnitOf(const std::vector<Section> &sections)
{
    MoneyUnit unit;
    std::string currency;
    for (const Section &section : sections) {
        for (const auto &[key, value] : section.fields) {
            if (key == "currency_symbol" && unit.name.empty())
                unit.name = value.text;
            if (key == "currency" && currency.empty())
                currency = value.text;
            const bool amounts = key == "starting_stacks" || key == "antes" ||
                                 key == "blinds_or_straddles" || key == "finishing_stacks" ||
                                 key == "winnings" || key == "min_bet";
            const auto decimal = [](const Value &item) {
                return item.kind == Value::Number && item.text.find('.') != std::string::npos;
            };
            unit.cents = unit.cents ||
                         (amounts && (decimal(value) ||
                                      std::any_of(value.items.begin(), value.items.end(), decimal)));
        }
    }
    if (unit.name.empty())
        unit.name = currency;
    unit.cents = unit.cents || !unit.name.empty();
    if (unit.cents && unit.name.empty())
        unit.name = "units";
    return unit;
}

} // namespace

bool LooksLikePhh(const std::string &text)
{
    // The keys of a hand may follow a preamble of any length.
    return text.find("variant") != std::string::npos &&
           text.find("starting_stacks") != std::string::npos;
}

bool ImportPhh(const std::string &text, const std::string &source, ImportResult &result,
               std::string &error)
{
    std::vector<Section> sections;
    TomlReader(text, source).Read(sections);
    const MoneyUnit unit = UnitOf(sections);
    detail::GameCollector collector(source, result);
    int ordinal = 0, notKnown = 0, nobody = 0;
    for (const Section &section : sections) {
        if (section.fields.empty() && section.error.empty())
            continue;
        PhhHand reader(section, source, unit.cents);
        const bool read = section.error.empty() ? reader.Read() : false;
        if (!section.error.empty())
            reader.error = section.error;
        notKnown += read && reader.stacksNotKnown ? 1 : 0;
        nobody += read && reader.winningsOfNobody ? 1 : 0;
        reader.moneyUnit = unit.name;
        collector.Take(reader, read, ++ordinal);
    }
    const auto hands = [](int n) { return std::to_string(n) + (n == 1 ? " hand" : " hands"); };
    if (notKnown > 0)
        result.warnings.push_back(source + ": " + hands(notKnown) +
                                  " give stacks as inf (not known): read as deep enough for "
                                  "every bet of the hand");
    if (nobody > 0)
        result.warnings.push_back(source + ": " + hands(nobody) +
                                  " list winnings of 0 for every player: their pots are paid "
                                  "as played");
    return collector.Finish(error);
}

} // namespace interchange
