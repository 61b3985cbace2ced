#pragma once
// The game log's part of a game: each game's seats, and per hand its header, the ante in force
// and every seat's hole cards; and the pairing of a hand history with its game in the log.

#include "history/HistoryReader.h"

#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace history::detail {

struct LogSeat
{
    std::string name;
    std::string strategy;
    int stack = 0;
};

struct LogHand
{
    std::string header; // trimmed
    int ante = 0;
    std::map<int, std::array<int, 2>> cards;
};

struct LogGame
{
    bool hasStart = false; // false for the part before the first start (a trimmed log)
    std::vector<LogSeat> seats;
    std::map<int, LogHand> hands;
};

// Every game of the log, oldest first; a trimmed log's part before its first game start comes
// first, when it holds hands.
std::vector<LogGame> ParseLog(const std::string &text);

// The latest game of the log whose seats and hand headers agree with the hand history's
// (headers: hand number and trimmed header line); nullptr when none does.
const LogGame *PairLog(const std::vector<LogGame> &games, const Game &game,
                       const std::vector<std::pair<int, std::string>> &headers);

} // namespace history::detail
