#include "tests/support/SpotWriter.h"

#include "tests/support/PreflopEquity.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace {

const char *const kStreets[] = {"before Flop", "on the Flop", "on the Turn", "on the River"};

std::vector<std::string> Split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        const size_t first = part.find_first_not_of(' ');
        const size_t last = part.find_last_not_of(' ');
        parts.push_back(first == std::string::npos ? "" : part.substr(first, last - first + 1));
    }
    return parts;
}

std::vector<int> Cards(const std::string &text)
{
    std::vector<int> cards;
    for (const std::string &name : Split(text, ' ')) {
        if (name.empty())
            continue;
        if (CardOf(name) < 0)
            throw std::invalid_argument("no card: " + name);
        cards.push_back(CardOf(name));
    }
    return cards;
}

std::string Joined(const std::vector<int> &cards, size_t from, size_t to)
{
    std::string text;
    for (size_t i = from; i < to; ++i)
        text += (i > from ? " " : "") + CardName(cards[i]);
    return "[" + text + "]";
}

struct Player
{
    std::string name;
    int behind = 0, inFront = 0, put = 0, won = 0;
    int foldedOn = -1; // street of the fold
};

class Writer
{
public:
    explicit Writer(const Spot &spot)
        : m_spot(spot)
    {
        for (const SpotSeat &seat : spot.seats)
            m_players.push_back({seat.name, seat.stack});
    }
    std::string Text();

private:
    int Find(const std::string &name) const
    {
        for (size_t i = 0; i < m_players.size(); ++i) {
            if (m_players[i].name == name)
                return static_cast<int>(i);
        }
        throw std::invalid_argument("no player " + name);
    }
    int Largest() const
    {
        int largest = 0;
        for (const Player &p : m_players)
            largest = std::max(largest, p.inFront);
        return largest;
    }
    int Left() const
    {
        return static_cast<int>(std::count_if(m_players.begin(), m_players.end(),
                                              [](const Player &p) { return p.foldedOn < 0; }));
    }
    void Put(Player &p, int chips, const std::string &what)
    {
        if (chips > p.behind || chips < 0)
            throw std::invalid_argument(p.name + " has not " + std::to_string(chips));
        p.behind -= chips;
        p.inFront += chips;
        p.put += chips;
        m_out << p.name << ": " << what << (p.behind == 0 ? " and is all-in" : "") << '\n';
    }
    void Act(const std::string &token, int street);
    void ReturnUncalled();
    void Showdown(const std::vector<int> &board);

    const Spot &m_spot;
    std::vector<Player> m_players;
    std::ostringstream m_out;
};

void Writer::Act(const std::string &token, int street)
{
    const size_t space = token.find(' ');
    if (space == std::string::npos || space + 1 >= token.size())
        throw std::invalid_argument("no action: " + token);
    Player &p = m_players[static_cast<size_t>(Find(token.substr(0, space)))];
    const char verb = token[space + 1];
    const int amount = space + 2 < token.size() ? std::stoi(token.substr(space + 2)) : 0;
    const int largest = Largest(), owed = largest - p.inFront;
    if (verb == 'a')
        return Act(p.name + (p.behind <= owed ? " c"
                             : largest == 0   ? " b" + std::to_string(p.behind)
                                              : " r" + std::to_string(p.inFront + p.behind)),
                   street);
    switch (verb) {
    case 'f':
        p.foldedOn = street;
        m_out << p.name << ": folds\n";
        break;
    case 'x':
        if (owed > 0)
            throw std::invalid_argument(p.name + " checks facing a bet");
        m_out << p.name << ": checks\n";
        break;
    case 'c': {
        const int chips = std::min(owed, p.behind);
        if (chips <= 0)
            throw std::invalid_argument(p.name + " calls nothing");
        Put(p, chips, "calls " + std::to_string(chips));
        break;
    }
    case 'b':
        if (largest > 0)
            throw std::invalid_argument(p.name + " bets facing a bet");
        Put(p, amount, "bets " + std::to_string(amount));
        break;
    case 'r':
        if (amount <= largest)
            throw std::invalid_argument(p.name + " raises without topping the bet");
        Put(p, amount - p.inFront,
            "raises " + std::to_string(amount - largest) + " to " + std::to_string(amount));
        break;
    default:
        throw std::invalid_argument("no action: " + token);
    }
}

// The part of the largest bet nobody matched goes back to its owner.
void Writer::ReturnUncalled()
{
    auto top =
        std::max_element(m_players.begin(), m_players.end(),
                         [](const Player &a, const Player &b) { return a.inFront < b.inFront; });
    int second = 0;
    for (auto it = m_players.begin(); it != m_players.end(); ++it) {
        if (it != top)
            second = std::max(second, it->inFront);
    }
    const int back = top->inFront - second;
    if (back > 0) {
        top->behind += back;
        top->put -= back;
        m_out << "Uncalled bet (" << back << ") returned to " << top->name << '\n';
    }
    for (Player &p : m_players)
        p.inFront = 0;
}

// Each layer of the pot, up to each amount a player still in put, to the best hands that
// reached it; an odd chip to the first of them.
void Writer::Showdown(const std::vector<int> &board)
{
    if (board.size() < 5)
        throw std::invalid_argument("a showdown without five board cards");
    m_out << "*** SHOW DOWN ***\n";
    std::vector<int> value(m_players.size(), -1);
    for (size_t i = 0; i < m_players.size(); ++i) {
        if (m_players[i].foldedOn >= 0)
            continue;
        const std::vector<int> hole = Cards(m_spot.seats[i].cards);
        if (hole.size() != 2)
            throw std::invalid_argument(m_players[i].name + " shows no two cards");
        std::array<int, 7> seven{hole[0],  hole[1],  board[0], board[1],
                                 board[2], board[3], board[4]};
        value[i] = HandValue(seven);
        m_out << m_players[i].name << ": shows " << Joined(hole, 0, 2) << '\n';
    }
    std::vector<int> levels;
    for (size_t i = 0; i < m_players.size(); ++i) {
        if (value[i] >= 0)
            levels.push_back(m_players[i].put);
    }
    std::sort(levels.begin(), levels.end());
    int previous = 0;
    for (int level : levels) {
        int layer = 0, best = -1;
        for (const Player &p : m_players)
            layer += std::min(p.put, level) - std::min(p.put, previous);
        std::vector<size_t> winners;
        for (size_t i = 0; i < m_players.size(); ++i) {
            if (value[i] < 0 || m_players[i].put < level)
                continue;
            if (value[i] > best)
                winners.clear();
            if (value[i] >= best) {
                best = value[i];
                winners.push_back(i);
            }
        }
        for (size_t k = 0; k < winners.size() && layer > 0; ++k) {
            const int share = layer / static_cast<int>(winners.size());
            m_players[winners[k]].won +=
                share + (k == 0 ? layer % static_cast<int>(winners.size()) : 0);
        }
        previous = level;
    }
}

std::string Writer::Text()
{
    const int n = static_cast<int>(m_players.size());
    const int button = m_spot.button;
    const int small = n == 2 ? button : (button + 1) % n, big = (small + 1) % n;
    m_out << "PokerStars Hand #" << m_spot.number << ":  Hold'em No Limit (" << m_spot.smallBlind
          << "/" << m_spot.bigBlind << ") - 2024/01/01 12:00:00 ET\n"
          << "Table '" << m_spot.table << "' " << std::max(n, 2) << "-max Seat #" << button + 1
          << " is the button\n";
    for (int i = 0; i < n; ++i)
        m_out << "Seat " << i + 1 << ": " << m_players[i].name << " (" << m_players[i].behind
              << " in chips)\n";
    Put(m_players[small], m_spot.smallBlind,
        "posts small blind " + std::to_string(m_spot.smallBlind));
    Put(m_players[big], m_spot.bigBlind, "posts big blind " + std::to_string(m_spot.bigBlind));
    m_out << "*** HOLE CARDS ***\n";
    const int hero = Find(m_spot.hero);
    m_out << "Dealt to " << m_spot.hero << " " << Joined(Cards(m_spot.seats[hero].cards), 0, 2)
          << '\n';
    const std::vector<int> board = Cards(m_spot.board);
    const std::vector<std::string> streets = Split(m_spot.actions, '|');
    int dealt = 0;
    for (int street = 0; street < 4 && Left() >= 2; ++street) {
        if (street > 0) {
            const size_t want = street == 1 ? 3 : street + 2;
            if (board.size() < want)
                throw std::invalid_argument("the board runs out");
            static const char *const names[] = {"", "FLOP", "TURN", "RIVER"};
            m_out << "*** " << names[street] << " *** "
                  << (street == 1 ? "" : Joined(board, 0, want - 1) + " ")
                  << Joined(board, street == 1 ? 0 : want - 1, want) << '\n';
            dealt = static_cast<int>(want);
        }
        if (static_cast<size_t>(street) < streets.size()) {
            for (const std::string &token : Split(streets[street], ',')) {
                if (!token.empty())
                    Act(token, street);
            }
        }
        ReturnUncalled();
    }
    int pot = 0;
    for (const Player &p : m_players)
        pot += p.put;
    const bool showdown = Left() >= 2;
    if (showdown) {
        Showdown(board);
    } else {
        for (Player &p : m_players) {
            if (p.foldedOn < 0)
                p.won = pot;
        }
    }
    for (const Player &p : m_players) {
        if (p.won > 0)
            m_out << p.name << " collected " << p.won << " from pot\n";
    }
    m_out << "*** SUMMARY ***\nTotal pot " << pot << " | Rake 0\n";
    if (dealt > 0)
        m_out << "Board " << Joined(board, 0, static_cast<size_t>(dealt)) << '\n';
    for (int i = 0; i < n; ++i) {
        const Player &p = m_players[i];
        m_out << "Seat " << i + 1 << ": " << p.name << (i == button ? " (button)" : "")
              << (i == small ? " (small blind)"
                  : i == big ? " (big blind)"
                             : "");
        if (p.foldedOn >= 0)
            m_out << " folded " << kStreets[p.foldedOn] << (p.put == 0 ? " (didn't bet)" : "");
        else if (showdown)
            m_out << " showed " << Joined(Cards(m_spot.seats[i].cards), 0, 2)
                  << (p.won > 0 ? " and won (" + std::to_string(p.won) + ")" : " and lost");
        else
            m_out << " collected (" << p.won << ")";
        m_out << '\n';
    }
    m_out << "\n\n";
    return m_out.str();
}

} // namespace

std::string SpotText(const Spot &spot)
{
    if (spot.seats.size() < 2 || spot.button < 0 ||
        spot.button >= static_cast<int>(spot.seats.size()))
        throw std::invalid_argument("a spot needs two seats and the button among them");
    return Writer(spot).Text();
}

std::string SpotsText(const std::vector<Spot> &spots)
{
    std::string text;
    for (const Spot &spot : spots)
        text += SpotText(spot);
    return text;
}

} // namespace testsupport
