#pragma once
// printf-style formatting into a std::string of any length; the compiler checks the arguments
// against the format.

#include <string>
#include <string_view>

namespace gamelines {

__attribute__((format(printf, 1, 2))) std::string Format(const char *format, ...);

// A line of a file as a message quotes it: in double quotes, blanks around it trimmed, cut at
// kQuoteChars characters (never inside a UTF-8 character) with "..." after, so that no damaged
// line of any length floods a message. Control characters are left to whatever shows it.
inline constexpr std::size_t kQuoteChars = 60;
std::string Quote(std::string_view line);

} // namespace gamelines
