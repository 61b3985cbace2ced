#pragma once
// Text helpers of the engine's lines: printf-style formatting and the library's wide texts.

#include "lineformat/TextFormat.h"

#include <algorithm>
#include <string>

namespace enginetext {

// printf-style formatting into a std::string of any length, checked as printf.
using gamelines::Format;

// Card and combination names are plain ASCII.
inline std::string Narrow(const std::wstring &text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out += (c >= 0 && c < 128) ? static_cast<char>(c) : '?';
    return out;
}

inline std::string Trim(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace enginetext
