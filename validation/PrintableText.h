#pragma once
// Text read from files (names, lines of a hand history, rows of PokerDB.db3) printed safely on a
// terminal: a control character could clear the screen or retitle the window, and a line feed
// inside a name would break output that has one line per name.

#include <string>

// Decodes one UTF-8 character at text[i] and moves i past it; false for a malformed or
// overlong sequence or a surrogate (i is then left inside it).
bool NextCodePoint(const std::string &text, std::size_t &i, char32_t &code);

// C0, DEL and C1 (0x9B alone starts a terminal escape), and the line and paragraph separators
// that some readers break lines at.
bool IsControlCharacter(char32_t code);

// The text with every control character written as an escape ("\n", "\t", "\r", "\x1b",
// "\u009b", "\u2028") and every byte that is not UTF-8 as "\xNN"; other text unchanged.
std::string PrintableText(const std::string &text);
