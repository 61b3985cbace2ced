#pragma once
// An independent reading of PokerStars-format text, as a tracker does it: its own parser and
// No-Limit rules, sharing no code with the program. Each problem found is one sentence.

#include <string>
#include <vector>

namespace trackercheck {

struct Report
{
    int hands = 0;
    std::vector<std::string> problems;       // the text breaks the format or the chips
    std::vector<std::string> ruleDeviations; // sizes or turns a live dealer would not allow
};

Report CheckPokerStars(const std::string &text);

} // namespace trackercheck
