#pragma once
// What a hand-history file says each player won and lost, read as a tracker reads it: its own
// parser and chip count, sharing no code with the program. Amounts are hundredths when the hand
// is played for money, chips otherwise.

#include <map>
#include <string>
#include <vector>

namespace testsupport {

struct HandTotals
{
    std::string key;    // the hand's own number, or "#n" for the file's n-th hand without one
    size_t line = 0;    // the hand's first line
    size_t end = 0;     // the line after its last
    bool known = false; // the file says who took what (its collected lines, winnings, stacks)
    std::map<std::string, long long> net; // won, returned and paid from outside, less put in
    long long pot = 0;                    // every chip put in
    long long rake = -1;                  // as written; -1 when the file does not say
};

std::vector<HandTotals> PokerStarsTotals(const std::string &text);
std::vector<HandTotals> PhhTotals(const std::string &text);
// Winamax's text, or 888poker's (whose rake is not written).
std::vector<HandTotals> RoomTotals(const std::string &text, bool winamax);

} // namespace testsupport
