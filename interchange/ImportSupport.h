#pragma once
// What both readers share: amounts, and gathering imported hands into games by table.

#include "interchange/Interchange.h"

#include <map>
#include <optional>
#include <string>

namespace interchange::detail {

// A non-negative amount: "1500" as chips; in cents "$0.25", "€1,000.5" or "2" (25, 100050,
// 200). Currency symbols in front are skipped; thousands commas are allowed only in cents.
// Never floating point. Nothing for text that is no amount.
std::optional<int> ParseAmount(const std::string &text, bool cents);

class GameCollector
{
public:
    explicit GameCollector(std::string source) : m_source(std::move(source)) {}
    // Adds a hand whose seats, actions, board, winnings and cards are set; it is replayed
    // here. seatCount is the table's size; humanName the player the hand was dealt to.
    void Add(const std::string &table, history::Hand hand, int seatCount,
             const std::string &humanName);
    std::vector<history::Game> Finish();

private:
    std::string m_source;
    std::map<std::string, size_t> m_index;
    std::vector<history::Game> m_games;
};

} // namespace interchange::detail
