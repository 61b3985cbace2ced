#include "cli/args/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace {

// "--name", "--name=value", "-h": a word that is an option rather than a value. "-1" is a
// value, so that "--seed -1" reaches the range check instead of "needs a value".
bool IsOptionWord(const std::string &word)
{
    if (word.size() > 2 && word.compare(0, 2, "--") == 0)
        return true;
    return word.size() >= 2 && word[0] == '-' && !std::isdigit(static_cast<unsigned char>(word[1]));
}

bool AllDigits(const std::string &text, std::size_t from)
{
    return from < text.size() && std::all_of(text.begin() + static_cast<long>(from), text.end(),
                                             [](char c) { return c >= '0' && c <= '9'; });
}

std::string RangeText(long long least, long long most)
{
    if (most == std::numeric_limits<long long>::max())
        return "at least " + std::to_string(least);
    return std::to_string(least) + " to " + std::to_string(most);
}

[[noreturn]] void NotANumber(const std::string &what, const std::string &text)
{
    throw ArgError(what + ": '" + text + "' is not a whole number");
}

[[noreturn]] void OutOfRange(const std::string &what, const std::string &text,
                             const std::string &range)
{
    throw ArgError(what + ": " + text + " is out of range (" + range + ")");
}

} // namespace

CommandLine &CommandLine::Value(const std::string &name, bool allowEmpty)
{
    m_options[name] = OptionSpec{true, allowEmpty};
    return *this;
}

CommandLine &CommandLine::Repeated(const std::string &name, bool allowEmpty)
{
    m_options[name] = OptionSpec{true, allowEmpty, true};
    return *this;
}

CommandLine &CommandLine::Flag(const std::string &name, bool repeatable)
{
    m_options[name] = OptionSpec{false, false, repeatable};
    return *this;
}

CommandLine &CommandLine::Positional(std::size_t most)
{
    m_positional = most;
    return *this;
}

CommandLine &CommandLine::PassOthers()
{
    m_passOthers = true;
    return *this;
}

ParsedArgs CommandLine::Parse(const std::vector<std::string> &args) const
{
    ParsedArgs parsed;
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string &a) { return a == "--help" || a == "-h"; })) {
        parsed.m_help = true;
        return parsed;
    }
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &word = args[i];
        if (!IsOptionWord(word)) {
            if (parsed.m_positional.size() < m_positional)
                parsed.m_positional.push_back(word);
            else if (m_passOthers)
                parsed.m_others.push_back(word);
            else
                throw ArgError("unexpected argument '" + word + "'");
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const auto spec = m_options.find(name);
        if (spec == m_options.end() && m_passOthers) {
            parsed.m_others.push_back(word);
            continue;
        }
        if (spec == m_options.end())
            throw ArgError("unknown option '" + name + "'");
        std::string value;
        if (!spec->second.takesValue) {
            if (equals != std::string::npos)
                throw ArgError(name + " takes no value");
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < args.size() && !IsOptionWord(args[i + 1])) {
            value = args[++i];
        } else {
            throw ArgError(name + " needs a value");
        }
        if (spec->second.takesValue && value.empty() && !spec->second.allowEmpty)
            throw ArgError(name + ": the value is empty");
        if (spec->second.repeatable) {
            parsed.m_values[name] = value;
            parsed.m_repeated[name].push_back(value);
        } else if (!parsed.m_values.emplace(name, value).second) {
            throw ArgError(name + " is given more than once");
        }
    }
    return parsed;
}

std::optional<std::string> ParsedArgs::Text(const std::string &option) const
{
    const auto value = m_values.find(option);
    if (value == m_values.end())
        return std::nullopt;
    return value->second;
}

std::vector<std::string> ParsedArgs::Texts(const std::string &option) const
{
    const auto values = m_repeated.find(option);
    return values == m_repeated.end() ? std::vector<std::string>{} : values->second;
}

long long ParsedArgs::Integer(const std::string &option, long long least, long long most,
                              long long fallback) const
{
    const auto text = Text(option);
    return text ? ParseInteger(option, *text, least, most) : fallback;
}

std::optional<std::uint64_t> ParsedArgs::Unsigned64(const std::string &option) const
{
    const auto text = Text(option);
    if (!text)
        return std::nullopt;
    const std::string range = "0 to " + std::to_string(std::numeric_limits<std::uint64_t>::max());
    if (!text->empty() && (*text)[0] == '-' && AllDigits(*text, 1))
        OutOfRange(option, *text, range);
    if (!AllDigits(*text, 0))
        NotANumber(option, *text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc())
        OutOfRange(option, *text, range);
    return value;
}

long long ParseInteger(const std::string &what, const std::string &text, long long least,
                       long long most)
{
    if (!AllDigits(text, !text.empty() && text[0] == '-' ? 1 : 0))
        NotANumber(what, text);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < least || value > most)
        OutOfRange(what, text, RangeText(least, most));
    return value;
}

std::vector<std::string> SplitList(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}
