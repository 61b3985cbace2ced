#pragma once
// Card and hand names shared by the card classes and the command-line tools.

#include <cstdint>
#include <string>

namespace brisquel {

// "Ah", "Td", "2c"; empty for anything outside 0..51.
std::wstring CardName(int card);
// Parses "Ah", "td", "10c"; -1 when the text is not a card.
int ParseCard(const std::string &text);
// English name of a hand value from HandValue.h: "Full house, Kings full of Sevens".
std::wstring HandName(std::uint32_t value);
// The names above are plain ASCII; anything else becomes '?'.
std::string Narrow(const std::wstring &text);

} // namespace brisquel
