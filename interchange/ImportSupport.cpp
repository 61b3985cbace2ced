#include "interchange/ImportSupport.h"

#include "interchange/HandMath.h"
#include "lineformat/TextFormat.h"

#include <array>
#include <cstdio>

namespace interchange::detail {

namespace {

constexpr long long kWideBound = 1000000000000LL;

// Past kMaxAmount up to a bound far from overflow, so that a large amount can be told from text
// that is none.
std::optional<long long> ParseWide(const std::string &text, bool cents)
{
    size_t i = 0;
    // Currency signs ("$", and the bytes of "€" and "£") before the digits.
    while (i < text.size() && (text[i] == '$' || static_cast<unsigned char>(text[i]) >= 0x80))
        ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    long long whole = 0;
    const auto digit = [&](size_t at) {
        return at < text.size() && text[at] >= '0' && text[at] <= '9';
    };
    for (; digit(i) || (i < text.size() && text[i] == ','); ++i) {
        // A comma separates thousands: three digits follow it, and then no fourth.
        if (text[i] == ',') {
            if (!digit(i + 1) || !digit(i + 2) || !digit(i + 3) || digit(i + 4))
                return std::nullopt;
            continue;
        }
        whole = whole * 10 + (text[i] - '0');
        if (whole > kWideBound)
            whole = kWideBound;
    }
    long long fraction = 0;
    if (i < text.size() && text[i] == '.') {
        if (!cents)
            return std::nullopt;
        ++i;
        int digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            if (digits >= 2)
                return std::nullopt; // finer than a cent
            fraction = fraction * 10 + (text[i] - '0');
        }
        if (digits == 0)
            return std::nullopt;
        if (digits == 1)
            fraction *= 10;
    }
    if (i != text.size())
        return std::nullopt;
    return cents ? whole * 100 + fraction : whole;
}

} // namespace

std::optional<int> ParseAmount(const std::string &text, bool cents)
{
    const std::optional<long long> value = ParseWide(text, cents);
    if (!value || *value > kMaxAmount)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::string AmountError(const std::string &text, bool cents, const std::string &where)
{
    const std::optional<long long> value = ParseWide(text, cents);
    return gamelines::Quote(text) + where +
           (value ? " is an amount past " + std::to_string(kMaxAmount) : " is not an amount");
}

std::optional<int> ParseSeatNumber(const std::string &text)
{
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(text);
    if (number < 1 || number > 10)
        return std::nullopt;
    return number;
}

std::string TimeText(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return "";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d.%02d.%02d  %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
    return buffer;
}

std::optional<int> ParseCount(const std::string &text)
{
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

int CardDealtTwice(const history::Hand &hand)
{
    std::array<bool, 52> seen{};
    const auto twice = [&](int card) {
        if (card < 0 || card >= 52)
            return false;
        const bool again = seen[static_cast<size_t>(card)];
        seen[static_cast<size_t>(card)] = true;
        return again;
    };
    for (int card : hand.board) {
        if (twice(card))
            return card;
    }
    for (const history::HandSeat &seat : hand.seats) {
        for (int card : seat.cards) {
            if (twice(card))
                return card;
        }
    }
    return -1;
}

void ChipCount::Start()
{
    m_behind.clear();
    for (const history::HandSeat &seat : m_hand.seats)
        m_behind.push_back(seat.startStack);
    m_inFront.assign(m_behind.size(), 0);
    m_floor = 0;
}

void ChipCount::Put(int seat, history::ActionKind kind, int amount)
{
    history::Action action;
    action.street = m_street;
    action.seat = seat;
    action.kind = kind;
    action.amount = amount;
    m_hand.actions.push_back(action);
    const size_t s = static_cast<size_t>(seat);
    if (kind != history::ActionKind::Ante)
        m_inFront[s] += amount;
    m_behind[s] -= amount;
    m_largest = std::max(m_largest, m_inFront[s]);
    if (kind == history::ActionKind::Fold)
        m_hand.seats[s].folded = true;
}

void ChipCount::NextStreet(history::Street street)
{
    m_street = street;
    std::fill(m_inFront.begin(), m_inFront.end(), 0);
    m_largest = 0;
    m_floor = 0;
}

void GameCollector::Add(const std::string &table, history::Hand hand, int seatCount,
                        const std::string &humanName, int ordinal, const std::string &moneyUnit)
{
    auto found = m_index.find(table);
    if (found == m_index.end()) {
        found = m_index.emplace(table, m_games.size()).first;
        history::Game game;
        game.historyPath = m_source;
        game.started = hand.timeText;
        game.moneyUnit = moneyUnit;
        m_games.push_back(game);
        m_ordinals.emplace_back();
        m_tables.emplace_back();
    }
    m_ordinals[found->second].push_back(ordinal);
    Table &seen = m_tables[found->second];
    seen.seatCount = std::max(seen.seatCount, seatCount);
    if (seen.human.empty())
        seen.human = humanName;
    int humanSeat = -1;
    for (const history::HandSeat &seat : hand.seats) {
        if (!seat.name.empty() && seen.players.insert(seat.name).second)
            seen.order.push_back({seat.seat, seat.name, seat.startStack});
        if (!seen.human.empty() && seat.name == seen.human)
            humanSeat = seat.seat;
    }
    Replay(hand, humanSeat);
    m_games[found->second].hands.push_back(std::move(hand));
}

void GameCollector::Take(HandBeingRead &read, bool ok, int ordinal)
{
    ++m_hands;
    if (!ok) {
        ++m_result.skipped;
        m_result.warnings.push_back(read.error + "; the hand is skipped");
        if (m_firstError.empty())
            m_firstError = read.error;
        return;
    }
    // A room's numbers past an int, or not numbers at all, stay whole in the hand's id; the
    // file's hands are then counted instead, all of them, so that no two share a number.
    m_renumber = m_renumber || (read.hand.number == 0 && !read.hand.id.empty());
    if (read.hand.number == 0)
        read.hand.number = ordinal;
    Add(read.table, std::move(read.hand), read.seatCount, read.human, ordinal, read.moneyUnit);
}

// A game's seats: each seat of the table under the first player seen in it, then every player
// who came later to a seat someone else had taken first, each under a number past the table's.
// A player is one entry wherever he sat, so that he is followed by name and his results stay his.
void GameCollector::NameSeats(history::Game &game, const Table &table)
{
    game.seats.clear();
    for (int s = 0; s < table.seatCount; ++s) {
        history::GameSeat seat;
        seat.seat = s;
        game.seats.push_back(seat);
    }
    for (const Table::Player &player : table.order) {
        size_t at = static_cast<size_t>(player.firstSeat);
        if (at >= game.seats.size() || !game.seats[at].name.empty()) {
            at = game.seats.size();
            history::GameSeat later;
            later.seat = static_cast<int>(at);
            game.seats.push_back(later);
        }
        history::GameSeat &seat = game.seats[at];
        seat.name = player.name;
        seat.stack = player.stack;
        if (player.name == table.human) {
            seat.human = true;
            seat.strategy = "Hero";
            seat.persona = kPersonaHero;
        }
    }
}

bool GameCollector::Finish(std::string &error)
{
    // Every hand of a game has one seat entry per seat of the table.
    for (size_t g = 0; g < m_games.size(); ++g) {
        history::Game &game = m_games[g];
        NameSeats(game, m_tables[g]);
        const size_t tableSeats = static_cast<size_t>(m_tables[g].seatCount);
        for (size_t h = 0; h < game.hands.size(); ++h) {
            history::Hand &hand = game.hands[h];
            if (m_renumber)
                hand.number = m_ordinals[g][h];
            while (hand.seats.size() < tableSeats) {
                history::HandSeat seat;
                seat.seat = static_cast<int>(hand.seats.size());
                hand.seats.push_back(seat);
            }
        }
    }
    m_result.games = std::move(m_games);
    if (!m_result.games.empty())
        return true;
    error = m_hands == 0 ? m_source + ":1: no hand in this file"
                         : m_firstError + (m_hands > 1 ? " (no hand of " + std::to_string(m_hands) +
                                                             " could be read)"
                                                       : "");
    return false;
}

} // namespace interchange::detail
