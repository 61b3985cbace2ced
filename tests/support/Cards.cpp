#include "tests/support/Cards.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace testsupport {

int Card(std::string_view name)
{
    constexpr std::string_view kRanks = "23456789TJQKA";
    constexpr std::string_view kSuits = "cdhs";
    const size_t rank = name.size() == 2 ? kRanks.find(name[0]) : std::string_view::npos;
    const size_t suit = name.size() == 2 ? kSuits.find(name[1]) : std::string_view::npos;
    if (rank == std::string_view::npos || suit == std::string_view::npos)
        throw std::invalid_argument("not a card: \"" + std::string(name) + "\"");
    return static_cast<int>(suit * 13 + rank);
}

std::vector<int> Cards(std::initializer_list<const char *> names)
{
    std::vector<int> cards;
    for (const char *name : names)
        cards.push_back(Card(name));
    return cards;
}

std::vector<int> Cards(std::string_view text)
{
    std::vector<int> cards;
    size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string_view::npos) {
        const size_t end = std::min(text.find(' ', at), text.size());
        cards.push_back(Card(text.substr(at, end - at)));
        at = end;
    }
    return cards;
}

} // namespace testsupport
