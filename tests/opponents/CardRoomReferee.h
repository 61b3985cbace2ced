#pragma once
// A referee of No-Limit Hold'em as card rooms publish the rules, reading only the files a game
// wrote: the hand history (seats, button, blinds, actions) and the game log (the blind level and
// ante of each hand). It knows nothing of the program's own rule code. Per hand it checks:
// - blinds: heads-up the button posts the small blind, otherwise the first seat after the
//   button; the big blind is the next seat dealt in;
// - order: before the flop the first seat after the big blind acts first, after the flop the
//   first seat after the button; then each seat in turn that can still act;
// - a check only with nothing to call, a call of exactly what is owed (or all the chips);
// - a bet is at least the big blind and a raise adds at least the last full bet or raise
//   (the big blind counts as the opening bet before the flop), unless the player is all in;
// - a player who has acted may raise again only when facing at least a full raise since
//   (an all-in for less does not reopen the betting, several together may);
// - nobody raises when every other player still in is all in: nobody could answer it;
// - a round ends only when every player who can act has acted and matched the bet.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace referee {

struct Level
{
    int bigBlind = 0;
    int ante = 0;
};

// The level each hand was played at, from the game log: the last "Blinds" line written before
// the next hand's header (the level check follows the header).
inline std::map<int, Level> LevelsFromLog(const std::string &path)
{
    std::map<int, Level> levels;
    std::ifstream in(path);
    std::string line;
    Level current;
    int hand = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        int n = 0, small = 0, big = 0, ante = 0;
        if (std::sscanf(line.c_str(), "Ostrivane Hand #%d:", &n) == 1) {
            if (hand > 0)
                levels[hand] = current;
            hand = n;
        } else if (std::sscanf(line.c_str(), "Blinds %d/%d ante %d", &small, &big, &ante) >= 2) {
            current.bigBlind = big;
            current.ante = line.find("ante") != std::string::npos ? ante : 0;
        }
    }
    if (hand > 0)
        levels[hand] = current;
    return levels;
}

class Referee
{
public:
    std::vector<std::string> m_illegal; // one entry per illegal action or round
    int m_hands = 0;
    int m_actions = 0;
    int m_headsUpHands = 0;
    int m_shortAllIns = 0;   // all-in raises for less than a full raise
    int m_closedRaisers = 0; // turns of players who could only call or fold after one
    int m_nobodyToAnswer = 0; // turns facing a bet with every other player still in all in

    void ReadGame(const std::string &historyPath, const std::string &logPath)
    {
        m_levels = LevelsFromLog(logPath);
        std::ifstream in(historyPath);
        std::string line;
        std::vector<std::string> hand;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.rfind("Ostrivane Hand #", 0) == 0) {
                Hand(hand);
                hand.clear();
            }
            hand.push_back(line);
        }
        Hand(hand);
    }

private:
    struct Player
    {
        std::string name;
        bool dealt = false;
        bool folded = false;
        int chips = 0;  // behind
        int street = 0; // put in on this street
        bool acted = false;
        int facedWhenActed = 0; // the bet to match when it last acted
    };

    void Illegal(const std::string &what)
    {
        m_illegal.push_back("hand " + std::to_string(m_handNumber) + ": " + what);
    }

    int SeatOf(const std::string &name) const
    {
        for (size_t s = 0; s < m_players.size(); ++s)
            if (m_players[s].name == name)
                return static_cast<int>(s);
        return -1;
    }

    int NextDealt(int s) const
    {
        const int n = static_cast<int>(m_players.size());
        for (int i = 1; i <= n; ++i)
            if (m_players[(s + i) % n].dealt)
                return (s + i) % n;
        return s;
    }

    bool CanAct(int s) const
    {
        const Player &p = m_players[s];
        return p.dealt && !p.folded && p.chips > 0;
    }

    // Another player still in the hand has chips behind.
    bool AnotherCanAct(int seat) const
    {
        for (size_t s = 0; s < m_players.size(); ++s)
            if (static_cast<int>(s) != seat && CanAct(static_cast<int>(s)))
                return true;
        return false;
    }

    int CanActCount() const
    {
        int count = 0;
        for (size_t s = 0; s < m_players.size(); ++s)
            count += CanAct(static_cast<int>(s)) ? 1 : 0;
        return count;
    }

    // Whose turn it is, searching from seat `from`; -1 when the round is complete.
    int ToAct(int from) const
    {
        const int n = static_cast<int>(m_players.size());
        const bool alone = CanActCount() <= 1;
        for (int i = 0; i < n; ++i) {
            const int s = (from + i) % n;
            if (!CanAct(s))
                continue;
            const Player &p = m_players[s];
            const bool owes = p.street < m_toMatch;
            // A lone player with chips only answers a bet; nobody is left to bet against.
            if (owes || (!p.acted && !alone))
                return s;
        }
        return -1;
    }

    void StartStreet(bool preflop)
    {
        m_preflop = preflop;
        m_next = -1;
        m_lastFull = m_bigBlind;
        if (!preflop) {
            m_toMatch = 0;
            for (Player &p : m_players) {
                p.street = 0;
                p.acted = false;
            }
            // After the flop the first seat after the button opens.
            m_next = (m_button + 1) % static_cast<int>(m_players.size());
        }
        m_open = true;
    }

    void EndStreet()
    {
        if (!m_open)
            return;
        m_open = false;
        int live = 0;
        for (const Player &p : m_players)
            live += p.dealt && !p.folded ? 1 : 0;
        if (live <= 1)
            return;
        const int due = ToAct(m_next < 0 ? 0 : m_next);
        if (due >= 0)
            Illegal("the round ends before " + m_players[due].name + " has acted");
    }

    void Hand(const std::vector<std::string> &lines)
    {
        if (lines.empty() || lines[0].rfind("Ostrivane Hand #", 0) != 0)
            return;
        std::sscanf(lines[0].c_str(), "Ostrivane Hand #%d:", &m_handNumber);
        // Fixed-blind games write no level: the header's blinds hold for every hand.
        int headerSmall = 0, headerBig = 0;
        const size_t open = lines[0].find('(');
        if (open != std::string::npos)
            std::sscanf(lines[0].c_str() + open, "(%d/%d)", &headerSmall, &headerBig);
        const Level level = m_levels.count(m_handNumber) != 0 && m_levels[m_handNumber].bigBlind > 0
                                ? m_levels[m_handNumber]
                                : Level{headerBig, 0};
        m_bigBlind = level.bigBlind;
        m_antesTaken = false;
        m_players.clear();
        m_button = -1;
        m_toMatch = 0;
        int smallSeat = -1, bigSeat = -1;
        ++m_hands;
        for (const std::string &line : lines) {
            int a = 0, b = 0;
            char name[128] = {};
            if (std::sscanf(line.c_str(), "Table 'Game' %d-max Seat #%d is the button", &a, &b) ==
                2) {
                m_button = b;
                continue;
            }
            if (line.find("StrategyName") == std::string::npos &&
                std::sscanf(line.c_str(), "Seat %d: %127s (%d in chips)", &a, name, &b) == 3) {
                m_players.resize(static_cast<size_t>(std::max<int>(a + 1, m_players.size())));
                Player &p = m_players[static_cast<size_t>(a)];
                p.name = name;
                p.chips = b;
                p.dealt = b > 0;
                continue;
            }
            if (line == "*** HOLE CARDS ***") {
                // Antes are dead money, posted before the blinds (the blinds were taken from
                // what was left: put the antes back in front of them).
                int dealt = 0;
                for (Player &p : m_players)
                    dealt += p.dealt ? 1 : 0;
                if (dealt == 2)
                    ++m_headsUpHands;
                CheckBlinds(smallSeat, bigSeat, dealt);
                StartStreet(true);
                m_next = bigSeat >= 0 ? NextDealt(bigSeat) : 0;
                continue;
            }
            if (line.rfind("*** FLOP", 0) == 0 || line.rfind("*** TURN", 0) == 0 ||
                line.rfind("*** RIVER", 0) == 0) {
                EndStreet();
                StartStreet(false);
                continue;
            }
            if (line == "*** SUMMARY ***" || line.find(" collected ") != std::string::npos) {
                EndStreet();
                continue;
            }
            const size_t colon = line.find(": ");
            if (colon == std::string::npos || colon == 0)
                continue;
            const std::string who = line.substr(0, colon);
            const std::string what = line.substr(colon + 2);
            const int seat = SeatOf(who);
            if (seat < 0)
                continue;
            int amount = 0;
            if (std::sscanf(what.c_str(), "posts small blind %d", &amount) == 1) {
                smallSeat = seat;
                Post(seat, amount, level.ante);
            } else if (std::sscanf(what.c_str(), "posts big blind %d", &amount) == 1) {
                bigSeat = seat;
                Post(seat, amount, level.ante);
            } else if (what == "folds" || what == "checks" ||
                       std::sscanf(what.c_str(), "calls %d", &amount) == 1 ||
                       std::sscanf(what.c_str(), "raises %d", &amount) == 1) {
                Act(seat, what, amount);
            }
        }
    }

    // Blinds come out of what the ante left; the first post takes every seat's ante.
    void Post(int seat, int amount, int ante)
    {
        if (!m_antesTaken) {
            for (Player &p : m_players)
                if (p.dealt)
                    p.chips -= std::min(ante, p.chips);
            m_antesTaken = true;
        }
        Player &p = m_players[static_cast<size_t>(seat)];
        p.chips -= amount;
        p.street = amount;
        m_toMatch = std::max(m_toMatch, amount);
    }

    void CheckBlinds(int smallSeat, int bigSeat, int dealt)
    {
        m_antesTaken = false;
        if (m_button < 0 || !m_players[static_cast<size_t>(m_button)].dealt)
            return Illegal("no button among the players dealt in");
        const int small = dealt == 2 ? m_button : NextDealt(m_button);
        if (smallSeat != small)
            Illegal("the small blind is posted by seat " + std::to_string(smallSeat) +
                    " instead of seat " + std::to_string(small));
        if (bigSeat != NextDealt(small))
            Illegal("the big blind is posted by seat " + std::to_string(bigSeat));
    }

    void Act(int seat, const std::string &what, int amount)
    {
        ++m_actions;
        Player &p = m_players[static_cast<size_t>(seat)];
        if (!m_open || !CanAct(seat))
            return Illegal(p.name + " acts without being in the betting: " + what);
        const int due = ToAct(m_next < 0 ? 0 : m_next);
        if (due != seat)
            Illegal(p.name + " acts out of turn: " + what + " (" +
                    (due < 0 ? std::string("nobody") : m_players[due].name) + " was to act)");
        const int owed = m_toMatch - p.street;
        // Before the flop the big blind is the opening bet, even when posted short.
        const int base = m_preflop ? std::max(m_toMatch, m_bigBlind) : m_toMatch;
        const bool mayRaise = !p.acted || m_toMatch - p.facedWhenActed >= m_lastFull;
        if (!mayRaise && owed > 0)
            ++m_closedRaisers;
        const bool answerable = AnotherCanAct(seat);
        if (!answerable && owed > 0)
            ++m_nobodyToAnswer;
        if (what == "folds") {
            p.folded = true;
        } else if (what == "checks") {
            if (owed > 0)
                Illegal(p.name + " checks owing " + std::to_string(owed));
        } else if (what.rfind("calls", 0) == 0) {
            if (amount != std::min(owed, p.chips) || amount <= 0)
                Illegal(p.name + " calls " + std::to_string(amount) + " owing " +
                        std::to_string(owed));
        } else {
            const int total = p.street + amount;
            const bool allIn = amount == p.chips;
            if (amount > p.chips)
                Illegal(p.name + " puts in more than it has");
            else if (total <= m_toMatch)
                Illegal(p.name + " raises without raising");
            else if (!answerable)
                Illegal(p.name + " raises with every other player still in all in");
            else if (!mayRaise)
                Illegal(p.name + " raises when the betting was not reopened to it");
            else if (total - base < m_lastFull && !allIn)
                Illegal(p.name + " raises to " + std::to_string(total) + ", less than " +
                        std::to_string(base + m_lastFull));
            if (total > m_toMatch) {
                if (total - base >= m_lastFull)
                    m_lastFull = total - base;
                else
                    ++m_shortAllIns;
                m_toMatch = total;
            }
        }
        if (what != "folds") {
            p.chips -= what == "checks" ? 0 : amount;
            p.street += what == "checks" ? 0 : amount;
            p.acted = true;
            p.facedWhenActed = m_toMatch;
        }
        m_next = (seat + 1) % static_cast<int>(m_players.size());
    }

    std::map<int, Level> m_levels;
    std::vector<Player> m_players;
    int m_handNumber = 0;
    int m_bigBlind = 0;
    int m_button = -1;
    int m_toMatch = 0;
    int m_lastFull = 0;
    int m_next = -1;
    bool m_preflop = true;
    bool m_open = false;
    bool m_antesTaken = false;
};

} // namespace referee
