#pragma once
// An independent reading of PokerStars-format text, as a tracker does it: its own parser and
// the card-room referee, sharing no code with the program. Each problem found is one sentence.

#include <string>
#include <vector>

namespace trackercheck {

struct Report
{
    int hands = 0;
    std::vector<std::string> problems; // the text breaks the format, the chips or the rules
};

Report CheckPokerStars(const std::string &text);

} // namespace trackercheck
