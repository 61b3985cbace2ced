#include "interchange/HandMath.h"
#include "interchange/Interchange.h"
#include "interchange/PokerStarsHand.h"

#include <algorithm>

namespace interchange {

namespace {

using detail::HandReader;
using detail::HandText;
using detail::StartsWith;

bool IsHandStart(const std::string &line)
{
    const std::string text = StartsWith(line, "\xEF\xBB\xBF") ? line.substr(3) : line;
    return StartsWith(text, "PokerStars ") &&
           (text.find(" Hand #") != std::string::npos || text.find(" Game #") != std::string::npos);
}

} // namespace

bool LooksLikePokerStars(const std::string &text)
{
    // Whatever comes before the first hand (a tracker's notes, a long preamble) is looked past.
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        if (text.compare(start, 3, "\xEF\xBB\xBF") == 0)
            start += 3;
        if (text.compare(start, 11, "PokerStars ") == 0 &&
            IsHandStart(text.substr(start, end - start)))
            return true;
        start = end + 1;
    }
    return false;
}

bool ImportPokerStars(const std::string &text, const std::string &source, ImportResult &result,
                      std::string &error)
{
    detail::GameCollector collector(source, result);
    const std::vector<std::string> lines = detail::SplitLines(text);
    std::vector<HandText> hands;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsHandStart(lines[i])) {
            hands.push_back(HandText{});
            hands.back().firstLine = i + 1;
        }
        if (!hands.empty())
            hands.back().lines.push_back(lines[i]);
    }
    detail::NoteTextBeforeFirstHand(lines, hands.empty() ? 0 : hands.front().firstLine - 1, source,
                                    result.warnings);
    if (hands.empty()) {
        error = detail::NoHandError(lines, source, "PokerStars");
        return false;
    }
    int ordinal = 0;
    for (const HandText &handText : hands) {
        HandReader reader(handText, source);
        const bool read = reader.Read();
        result.warnings.insert(result.warnings.end(), reader.warnings.begin(),
                               reader.warnings.end());
        collector.Take(reader, read, ++ordinal);
    }
    return collector.Finish(error);
}

} // namespace interchange
