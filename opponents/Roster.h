#pragma once
// The four computer personas, the strategy list and seating offered at set-up, the random-name
// pool, the avatar table, and the start-up preparation of the strategy data.

#include "pokerlib/Carrowby.h"
#include "vocabulary/GameVocabulary.h"

#include <map>
#include <string>
#include <vector>

constexpr int kDefaultSeatStack = 1000;

// The strategy name written in the log and hand history (StrategyName, as a string).
std::string StrategyLogName(int persona);

// The persona for a seat name at game start: the named one, else a draw from random, which the
// caller has set to the interval (4, 7).
int AssignPersona(const std::string &name, EasyRandom &random);

struct StrategyRow
{
    std::string number;
    std::string nick;
    std::string strategy;
};
// The set-up dialog's list: Master, Tim, Maniac, Professor.
const std::vector<StrategyRow> &StrategyList();

struct SeatRow
{
    std::string name;
    int stack = kDefaultSeatStack;
};
// The nine rows the set-up dialog opens with.
std::vector<SeatRow> DefaultSeating();
// The rows after the number of players changes: "Hero" then "Unknow".
std::vector<SeatRow> BlankSeating(int count);

// The 19 first names random opponents are drawn from, in their fixed order.
const std::vector<std::string> &RandomNamePool();

// Gives rows 1..n-1 distinct names from the pool; row 0 keeps its name. random is set to the
// interval (0, 18) and drawn from.
void DrawRandomOpponents(std::vector<std::string> &names, EasyRandom &random);
// The same with a clock-seeded source of its own, as the set-up dialog's button does.
void DrawRandomOpponents(std::vector<std::string> &names);

// Name -> avatar bitmap id (483..507).
const std::map<std::string, int> &AvatarTable();
// The avatar of a seat name such as "Tim_3": cut at the first "_", trimmed; 0 when none.
int AvatarOfSeatName(const std::string &seatName);

// Readies the spectrum and ranges the decisions read; run before the first hand.
void PrepareStrategyData(CStatSpectr &spectrum, StrategyRanges &ranges);
