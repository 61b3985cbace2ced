#pragma once
// Text helpers of the engine's lines: printf-style formatting and the library's wide texts.

#include "pokerlib/CardNames.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace enginetext {

// printf-style formatting into a std::string of any length.
__attribute__((format(printf, 1, 2))) inline std::string Format(const char *format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return {};
    if (static_cast<size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(big.data(), big.size(), format, args);
    va_end(args);
    big.resize(static_cast<size_t>(n));
    return big;
}

using brisquel::Narrow;

inline std::string Trim(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace enginetext
