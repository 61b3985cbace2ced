#pragma once
// Cards written as words for the library's tests: "Ah Kd Qs".

#include "pokerlib/CardNames.h"

#include <sstream>
#include <string>
#include <vector>

inline std::vector<int> Cards(const std::string &text)
{
    std::vector<int> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        out.push_back(brisquel::ParseCard(word));
    return out;
}
