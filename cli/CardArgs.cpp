#include "cli/Commands.h"

#include "pokerlib/CardNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

int Fail(const std::string &message)
{
    std::fprintf(stderr, "brisquel-cli: %s\n", message.c_str());
    return kExitBadInput;
}

int PrintHelp(const char *usage)
{
    std::fputs(usage, stdout);
    return kExitOk;
}

namespace {

bool IsSeparator(char ch)
{
    return std::isspace(static_cast<unsigned char>(ch)) || ch == ',';
}

// One word's cards ("AhKd" or "10h"); a card is never split across two words, so that
// "A hK d" is refused instead of read as "Ah Kd".
bool ParseWord(const std::string &word, std::vector<int> &cards, std::string &error,
               const std::vector<int> &alreadyUsed)
{
    std::size_t i = 0;
    while (i < word.size()) {
        // "10h" is the one three-letter card.
        const std::size_t length = word.compare(i, 2, "10") == 0 ? 3 : 2;
        const std::string name = word.substr(i, length);
        const int card = brisquel::ParseCard(name);
        if (card < 0) {
            error = "unknown card '" + name + "'";
            return false;
        }
        if (std::count(cards.begin(), cards.end(), card) > 0 ||
            std::count(alreadyUsed.begin(), alreadyUsed.end(), card) > 0) {
            error = "duplicate card '" + name + "'";
            return false;
        }
        cards.push_back(card);
        i += length;
    }
    return true;
}

} // namespace

bool ParseCardList(const std::string &text, std::vector<int> &cards, std::string &error,
                   const std::vector<int> &alreadyUsed)
{
    cards.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        const std::size_t end =
            std::find_if(text.begin() + static_cast<long>(i), text.end(), IsSeparator) -
            text.begin();
        if (!ParseWord(text.substr(i, end - i), cards, error, alreadyUsed))
            return false;
        i = end;
    }
    return true;
}
