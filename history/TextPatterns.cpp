#include "history/TextPatterns.h"

#include "history/HistoryReader.h"

#include <charconv>

namespace history::detail {

std::string Trim(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string TrimRight(const std::string &text)
{
    return text.substr(0, text.find_last_not_of(" \t\r\n") + 1);
}

bool StartsWith(const std::string &text, const std::string &prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string &text, const std::string &suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::string> SplitLines(const std::string &text, bool &complete)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    complete = text.empty() || text.back() == '\n';
    return lines;
}

std::vector<std::string> SplitLines(const std::string &text)
{
    bool complete = false;
    return SplitLines(text, complete);
}

std::optional<int> NumberAt(const std::string &text, size_t &pos)
{
    int value = 0;
    const char *begin = text.data() + pos;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr == begin)
        return std::nullopt;
    pos = static_cast<size_t>(ptr - text.data());
    return value;
}

std::vector<int> CardsOf(const std::string &text)
{
    std::vector<int> cards;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(' ', pos);
        if (start == std::string::npos)
            break;
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        cards.push_back(CardFromText(text.substr(start, end - start)));
        pos = end;
    }
    return cards;
}

} // namespace history::detail
