#include "lineformat/TextFormat.h"

#include <cstdarg>
#include <cstdio>

namespace gamelines {

std::string Format(const char *format, ...)
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

std::string Quote(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    line = first == std::string_view::npos ? std::string_view() : line.substr(first);
    line = line.substr(0, line.find_last_not_of(" \t\r\n") + 1);
    std::string out = "\"";
    std::size_t chars = 0, at = 0;
    for (; at < line.size() && chars < kQuoteChars; ++chars) {
        // A character's bytes go in whole: its lead byte, then every continuation byte.
        std::size_t end = at + 1;
        while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
            ++end;
        out.append(line.substr(at, end - at));
        at = end;
    }
    if (at < line.size())
        out += "...";
    return out + "\"";
}

} // namespace gamelines
