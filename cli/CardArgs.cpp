#include "Commands.h"

#include "CardNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

int Fail(const std::string &message)
{
    std::fprintf(stderr, "brisquel-cli: %s\n", message.c_str());
    return kExitBadInput;
}

bool ParseCardList(const std::string &text, std::vector<int> &cards, std::string &error,
                   const std::vector<int> &alreadyUsed)
{
    cards.clear();
    std::string compact;
    for (const char ch : text)
        if (!std::isspace(static_cast<unsigned char>(ch)) && ch != ',')
            compact += ch;
    std::size_t i = 0;
    while (i < compact.size()) {
        // "10h" is the one three-letter card.
        const std::size_t length = compact.compare(i, 2, "10") == 0 ? 3 : 2;
        const std::string name = compact.substr(i, length);
        const int card = brisquel::ParseCard(name);
        if (card < 0) {
            error = "unknown card '" + name + "'";
            return false;
        }
        if (std::count(cards.begin(), cards.end(), card) > 0
            || std::count(alreadyUsed.begin(), alreadyUsed.end(), card) > 0) {
            error = "duplicate card '" + name + "'";
            return false;
        }
        cards.push_back(card);
        i += length;
    }
    return true;
}
