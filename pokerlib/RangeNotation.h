#pragma once
// Hole-card ranges written the usual way, with a message for text that is not a range.
//
// Items are separated by commas, blanks are ignored:
//   QsQd         one exact combination
//   QQ AKs AKo   a class; AK without a suit letter is both AKs and AKo
//   22+ A2s+ K9+ a pair and every higher pair; a hand and every higher kicker below its top
//   22-55 T6s-T9s   every class from one end to the other (same top card, same suit letter)
//   top15%       the best 15 % of the 1326 combinations in the spectrum order
// Plain C++, no Qt.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace brisquel {

// Combinations as (higher card integer, lower card integer), each once, in a fixed order.
using ComboList = std::vector<std::pair<int, int>>;

// Parses text into combos; on failure returns false and sets error to a sentence that names
// the item at fault ("'K2x' is not a hand or a range").
bool ParseRange(const std::string &text, ComboList &combos, std::string &error);

// The combos that share no card with known (a 52-bit mask of card integers).
ComboList DropClashing(const ComboList &combos, std::uint64_t known);

} // namespace brisquel
