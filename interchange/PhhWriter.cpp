#include "interchange/HandMath.h"
#include "interchange/Interchange.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace interchange {

namespace {

using history::ActionKind;

// A TOML basic string.
std::string Quoted(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

template <typename T> std::string Array(const std::vector<T> &values)
{
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ", ";
        if constexpr (std::is_same_v<T, std::string>)
            out += Quoted(values[i]);
        else
            out += std::to_string(values[i]);
    }
    return out + "]";
}

std::string Hole(const history::HandSeat &seat)
{
    if (seat.cards[0] < 0 || seat.cards[1] < 0)
        return "????";
    return history::CardText(seat.cards[0]) + history::CardText(seat.cards[1]);
}

// Players are numbered from the first seat after the button round to the button.
struct PhhPlayers
{
    std::vector<int> order;  // seat of each player
    std::vector<int> player; // player of each seat, -1 for none
    size_t count = 0;

    explicit PhhPlayers(const history::Hand &hand)
        : order(detail::SeatsFromButton(hand))
        , player(hand.seats.size(), -1)
        , count(order.size())
    {
        for (size_t p = 0; p < count; ++p)
            player[static_cast<size_t>(order[p])] = static_cast<int>(p);
    }
    std::string Actor(int seat) const
    {
        return "p" + std::to_string(player[static_cast<size_t>(seat)] + 1);
    }
    // Heads-up, the forced bets are listed the other way round.
    size_t Slot(int seat) const
    {
        const size_t p = static_cast<size_t>(player[static_cast<size_t>(seat)]);
        return count == 2 ? 1 - p : p;
    }
};

// The antes, blinds, minimum bet and starting stacks.
void WriteForcedBets(const history::Hand &hand, const PhhPlayers &players, std::string &out)
{
    std::vector<int> antes(players.count, 0), blinds(players.count, 0), stacks;
    for (const history::Action &a : hand.actions) {
        if (players.player[static_cast<size_t>(a.seat)] < 0)
            continue;
        if (a.kind == ActionKind::Ante)
            antes[players.Slot(a.seat)] += a.amount;
        else if (a.kind == ActionKind::SmallBlind || a.kind == ActionKind::BigBlind)
            // A short stack's blind is written in full; the reader caps it at the stack, and
            // a blind of no chips at all still shows whose it was.
            blinds[players.Slot(a.seat)] +=
                a.amount < a.stackBefore
                    ? a.amount
                    : std::max(a.amount,
                               a.kind == ActionKind::SmallBlind ? hand.smallBlind : hand.bigBlind);
    }
    for (int s : players.order)
        stacks.push_back(hand.seats[static_cast<size_t>(s)].startStack);
    if (std::any_of(antes.begin(), antes.end(), [](int a) { return a > 0; }))
        out += "ante_trimming_status = true\n"; // a short stack's ante only wins what it put in
    out += "antes = " + Array(antes) + "\n";
    out += "blinds_or_straddles = " + Array(blinds) + "\n";
    // The big blind as posted: the header's may be the level before.
    int minBet = hand.bigBlind;
    for (const history::Action &a : hand.actions) {
        if (a.kind == ActionKind::BigBlind && !a.allIn)
            minBet = a.amount;
    }
    out += "min_bet = " + std::to_string(std::max(1, minBet)) + "\n";
    out += "starting_stacks = " + Array(stacks) + "\n";
}

// The hand's actions as they go by: who is left, with what, and who bet last.
class PhhActionWriter
{
public:
    PhhActionWriter(const history::Hand &hand, const PhhPlayers &players, std::string &out)
        : m_hand(hand)
        , m_players(players)
        , m_out(out)
        , m_left(hand.seats.size(), 0)
        , m_folded(hand.seats.size(), false)
    {
        for (int s : players.order)
            m_left[static_cast<size_t>(s)] = hand.seats[static_cast<size_t>(s)].startStack;
    }

    void Write()
    {
        for (int s : m_players.order)
            m_out += "  \"d dh " + m_players.Actor(s) + " " +
                     (m_hand.seats[static_cast<size_t>(s)].cardsShown
                          ? Hole(m_hand.seats[static_cast<size_t>(s)])
                          : "????") +
                     "\",\n";
        size_t next = 0;
        for (int street = 0; street < 4; ++street) {
            static const size_t kBoardCount[4] = {0, 3, 4, 5};
            if (street > 0) {
                if (m_hand.board.size() < kBoardCount[street])
                    break;
                std::string cards;
                for (size_t c = kBoardCount[street - 1]; c < kBoardCount[street]; ++c)
                    cards += history::CardText(m_hand.board[c]);
                m_out += "  \"d db " + cards + "\",\n";
                m_lastAggressor = -1;
            }
            for (; next < m_hand.actions.size() &&
                   static_cast<int>(m_hand.actions[next].street) <= street;
                 ++next)
                Action(m_hand.actions[next]);
            if (m_hand.showdown && BettingOver())
                Showdown();
        }
        if (m_hand.showdown)
            Showdown();
    }

private:
    void Action(const history::Action &a)
    {
        const size_t s = static_cast<size_t>(a.seat);
        if (m_players.player[s] < 0)
            return;
        m_left[s] -= a.amount;
        if (a.kind == ActionKind::Ante || a.kind == ActionKind::SmallBlind ||
            a.kind == ActionKind::BigBlind)
            return;
        std::string what;
        if (a.kind == ActionKind::Fold || (a.amount == 0 && a.toCall > 0)) {
            what = "f";
            m_folded[s] = true;
        } else if (a.amount <= a.toCall) {
            what = "cc";
        } else {
            what = "cbr " + std::to_string(a.streetTotal);
            m_lastAggressor = a.seat;
        }
        m_out += "  \"" + m_players.Actor(a.seat) + " " + what + "\",\n";
    }

    // Once betting is over with two or more hands still in, they are shown, starting with the
    // last one to bet or raise, else the first after the button.
    void Showdown()
    {
        int stillIn = 0;
        for (int s : m_players.order)
            stillIn += m_folded[static_cast<size_t>(s)] ? 0 : 1;
        if (m_shown || stillIn < 2)
            return;
        m_shown = true;
        size_t first = 0;
        if (m_lastAggressor >= 0 && !m_folded[static_cast<size_t>(m_lastAggressor)])
            first = static_cast<size_t>(m_players.player[static_cast<size_t>(m_lastAggressor)]);
        for (size_t k = 0; k < m_players.count; ++k) {
            const int s = m_players.order[(first + k) % m_players.count];
            if (!m_folded[static_cast<size_t>(s)])
                m_out += "  \"" + m_players.Actor(s) + " sm " +
                         Hole(m_hand.seats[static_cast<size_t>(s)]) + "\",\n";
        }
    }

    bool BettingOver() const
    {
        int stillIn = 0, canBet = 0;
        for (int s : m_players.order) {
            stillIn += m_folded[static_cast<size_t>(s)] ? 0 : 1;
            canBet +=
                !m_folded[static_cast<size_t>(s)] && m_left[static_cast<size_t>(s)] > 0 ? 1 : 0;
        }
        return stillIn >= 2 && canBet <= 1;
    }

    const history::Hand &m_hand;
    const PhhPlayers &m_players;
    std::string &m_out;
    std::vector<int> m_left;
    std::vector<bool> m_folded;
    int m_lastAggressor = -1;
    bool m_shown = false;
};

// The hand's number or name, its time, the seats, table, players and finishing stacks.
void WriteHandFacts(const history::Hand &hand, const PhhPlayers &players, const std::string &table,
                    std::string &out)
{
    std::vector<int> seats, finishing;
    std::vector<std::string> names;
    for (int s : players.order) {
        const history::HandSeat &seat = hand.seats[static_cast<size_t>(s)];
        seats.push_back(s + 1);
        names.push_back(seat.name);
        finishing.push_back(seat.endStack - seat.chipsAdded);
    }
    // An imported hand goes out under its room's own number, or name.
    if (hand.id.empty())
        out += "hand = " + std::to_string(hand.number) + "\n";
    else if (hand.id.find_first_not_of("0123456789") == std::string::npos && hand.id.size() <= 18)
        out += "hand = " + hand.id + "\n";
    else
        out += "hand = " + Quoted(hand.id) + "\n";
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(hand.timeText.c_str(), "%d.%d.%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) == 6) {
        char when[96];
        std::snprintf(when, sizeof when, "time = %02d:%02d:%02d\nday = %d\nmonth = %d\nyear = %d\n",
                      h, mi, s, d, mo, y);
        out += when;
    }
    out += "seats = " + Array(seats) + "\n";
    out += "seat_count = " + std::to_string(hand.seats.size()) + "\n";
    out += "table = " + Quoted(table) + "\n";
    out += "players = " + Array(names) + "\n";
    out += "finishing_stacks = " + Array(finishing) + "\n";
}

void WriteHand(const history::Hand &hand, const std::string &table, std::string &out)
{
    const PhhPlayers players(hand);
    out += "variant = \"NT\"\n";
    WriteForcedBets(hand, players, out);
    out += "actions = [\n";
    PhhActionWriter(hand, players, out).Write();
    out += "]\n";
    WriteHandFacts(hand, players, table, out);
}

} // namespace

namespace {

std::string TableName(const history::Game &game)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char stamp[32] = "1";
    if (std::sscanf(game.started.c_str(), "%d.%d.%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s) == 6)
        std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d", y, mo, d, h, mi, s);
    return std::string("Brisquel ") + stamp;
}

} // namespace

std::string ExportPhh(const history::Game &game)
{
    return ExportGames({game}, Format::Phh);
}

std::string ExportGames(const std::vector<history::Game> &games, Format format)
{
    std::string out;
    if (format == Format::PokerStars) {
        for (const history::Game &game : games)
            out += ExportPokerStars(game);
        return out;
    }
    size_t total = 0;
    for (const history::Game &game : games)
        total += game.hands.size();
    // One hand is a plain file; several are numbered tables, as hand collections are kept.
    size_t section = 0;
    for (const history::Game &game : games) {
        const std::string table = TableName(game);
        for (const history::Hand &hand : game.hands) {
            if (total > 1)
                out += (section > 0 ? "\n[" : "[") + std::to_string(section + 1) + "]\n";
            ++section;
            WriteHand(hand, table, out);
        }
    }
    return out;
}

} // namespace interchange
