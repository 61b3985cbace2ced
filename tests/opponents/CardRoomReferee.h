#pragma once
// The card-room referee reading only the files a game wrote: the hand history (seats, button,
// blinds, actions) and the game log (the blind level and ante of each hand). It knows nothing of
// the program's own rule code.

#include "tests/support/Referee.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
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

class Referee : public referee::Hand
{
public:
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
                ReadHand(hand);
                hand.clear();
            }
            hand.push_back(line);
        }
        ReadHand(hand);
    }

private:
    int SeatOf(const std::string &name) const
    {
        const auto at = std::find(m_names.begin(), m_names.end(), name);
        return at == m_names.end() ? -1 : static_cast<int>(at - m_names.begin());
    }

    void ReadHand(const std::vector<std::string> &lines)
    {
        int number = 0;
        if (lines.empty() || std::sscanf(lines[0].c_str(), "Ostrivane Hand #%d:", &number) != 1)
            return;
        // Fixed-blind games write no level: the header's blinds hold for every hand.
        int headerSmall = 0, headerBig = 0;
        const size_t open = lines[0].find('(');
        if (open != std::string::npos)
            std::sscanf(lines[0].c_str() + open, "(%d/%d)", &headerSmall, &headerBig);
        const Level level = m_levels.count(number) != 0 && m_levels[number].bigBlind > 0
                                ? m_levels[number]
                                : Level{headerBig, 0};
        Begin(std::to_string(number), level.bigBlind);
        m_names.clear();
        bool antesTaken = false;
        int street = 0;
        for (const std::string &line : lines) {
            int a = 0, b = 0;
            char name[128] = {};
            if (std::sscanf(line.c_str(), "Table 'Game' %d-max Seat #%d is the button", &a, &b) ==
                2) {
                Button(b);
            } else if (line.find("StrategyName") == std::string::npos &&
                       std::sscanf(line.c_str(), "Seat %d: %127s (%d in chips)", &a, name, &b) ==
                           3) {
                m_names.resize(static_cast<size_t>(std::max<int>(a + 1, m_names.size())));
                m_names[static_cast<size_t>(a)] = name;
                Deal(a, b, b > 0);
            } else if (line == "*** HOLE CARDS ***" || line.rfind("*** FLOP", 0) == 0 ||
                       line.rfind("*** TURN", 0) == 0 || line.rfind("*** RIVER", 0) == 0) {
                Street(street++);
            } else if (line == "*** SUMMARY ***" || line.find(" collected ") != std::string::npos) {
                EndStreet();
            } else if (const size_t colon = line.find(": ");
                       colon != std::string::npos && SeatOf(line.substr(0, colon)) >= 0) {
                const int seat = SeatOf(line.substr(0, colon));
                const std::string what = line.substr(colon + 2);
                int amount = 0;
                const bool big = std::sscanf(what.c_str(), "posts big blind %d", &amount) == 1;
                if (big || std::sscanf(what.c_str(), "posts small blind %d", &amount) == 1) {
                    // Antes are dead money, taken before the blinds.
                    for (size_t s = 0; s < m_names.size() && !antesTaken; ++s) {
                        if (Dealt(static_cast<int>(s)))
                            Ante(static_cast<int>(s),
                                 std::min<long long>(level.ante, Chips(static_cast<int>(s))));
                    }
                    antesTaken = true;
                    Blind(seat, amount, big);
                } else if (what == "folds" || what == "checks") {
                    Act(seat, what == "folds" ? referee::Move::Fold : referee::Move::Check, 0);
                } else if (std::sscanf(what.c_str(), "calls %d", &amount) == 1) {
                    Act(seat, referee::Move::Call, amount);
                } else if (std::sscanf(what.c_str(), "raises %d", &amount) == 1) {
                    Act(seat, referee::Move::Raise, amount);
                }
            }
        }
        Finish();
    }

    std::map<int, Level> m_levels;
    std::vector<std::string> m_names; // by seat
};

} // namespace referee
