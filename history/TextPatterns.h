#pragma once
// The readers' small text helpers: trimming, line splitting, numbers and cards inside text.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace history::detail {

std::string Trim(const std::string &text);
std::string TrimRight(const std::string &text);
bool StartsWith(const std::string &text, const std::string &prefix);
bool EndsWith(const std::string &text, const std::string &suffix);
// Lines without their "\r\n" or "\n"; `complete` is false when the last line has no line end.
std::vector<std::string> SplitLines(const std::string &text, bool &complete);
std::vector<std::string> SplitLines(const std::string &text);
// A whole decimal number (optionally negative) at text[pos...]; advances pos.
std::optional<int> NumberAt(const std::string &text, size_t &pos);
// The cards of "Ah Kd 7c", -1 for each word that is no card.
std::vector<int> CardsOf(const std::string &text);

} // namespace history::detail
