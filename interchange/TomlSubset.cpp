#include "interchange/TomlSubset.h"

#include "lineformat/TextFormat.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace interchange::toml {

namespace {

void AppendUtf8(unsigned long code, std::string &out)
{
    const auto byte = [&](unsigned long bits) { out += static_cast<char>(bits & 0xFF); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | (code >> 6));
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

class TomlReader
{
public:
    TomlReader(const std::string &text, const std::string &source)
        : m_text(text)
        , m_source(source)
    {}

    void Read(std::vector<Section> &sections)
    {
        sections.push_back(Section{"", 1, {}, ""});
        while (true) {
            SkipBlank(true);
            if (m_pos >= m_text.size())
                break;
            std::string error;
            if (!Statement(sections, error)) {
                if (sections.back().error.empty())
                    sections.back().error = error;
                SkipToNextTable();
            }
        }
    }

private:
    bool Fail(const std::string &why, std::string &error) const
    {
        error = m_source + ":" + std::to_string(m_line) + ": " + why;
        return false;
    }
    bool At(const std::string &what) const { return m_text.compare(m_pos, what.size(), what) == 0; }
    // A table name alone on its line: "[12]", "["12"]", "[[hands]]".
    bool TableHeaderAt(size_t pos) const
    {
        const size_t eol = std::min(m_text.find('\n', pos), m_text.size());
        const std::string line = m_text.substr(pos, eol - pos);
        const size_t close = line.rfind(']');
        if (line.empty() || line[0] != '[' || close == std::string::npos || line.find(',') < close)
            return false;
        const size_t rest = line.find_first_not_of(" \t\r", close + 1);
        return rest == std::string::npos || line[rest] == '#';
    }
    // After a fault: on to the next table, whose hand may read.
    void SkipToNextTable()
    {
        while (m_pos < m_text.size()) {
            const size_t eol = m_text.find('\n', m_pos);
            if (eol == std::string::npos) {
                m_pos = m_text.size();
                return;
            }
            m_pos = eol + 1;
            ++m_line;
            size_t first = m_pos;
            while (first < m_text.size() && (m_text[first] == ' ' || m_text[first] == '\t'))
                ++first;
            if (TableHeaderAt(first))
                return;
        }
    }
    bool Statement(std::vector<Section> &sections, std::string &error)
    {
        if (m_text[m_pos] == '[') {
            if (!TableHeaderAt(m_pos))
                return Fail("an unclosed table name", error);
            size_t end = m_text.find(']', m_pos);
            std::string name = m_text.substr(m_pos + 1, end - m_pos - 1);
            name.erase(std::remove_if(name.begin(), name.end(),
                                      [](char c) { return std::strchr("\"'[ \t", c) != nullptr; }),
                       name.end());
            sections.push_back(Section{name, m_line, {}, ""});
            m_pos = end + (m_text.compare(end, 2, "]]") == 0 ? 2 : 1);
            return EndOfLine(error);
        }
        std::string key;
        if (m_text[m_pos] == '"' || m_text[m_pos] == '\'') {
            Value quoted;
            if (!ParseString(quoted, error))
                return false;
            key = quoted.text;
        } else {
            const size_t keyStart = m_pos;
            while (m_pos < m_text.size() &&
                   (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) ||
                    m_text[m_pos] == '_' || m_text[m_pos] == '-'))
                ++m_pos;
            key = m_text.substr(keyStart, m_pos - keyStart);
        }
        SkipBlank(false);
        if (key.empty() || m_pos >= m_text.size() || m_text[m_pos] != '=')
            return Fail("expected key = value", error);
        ++m_pos;
        Value value;
        if (!ParseValue(value, error, 0))
            return false;
        if (sections.back().fields.count(key))
            return Fail(gamelines::Quote(key) + " is given twice", error);
        sections.back().fields[key] = std::move(value);
        return EndOfLine(error);
    }
    // Blanks and comments; with newlines, line ends too.
    void SkipBlank(bool newlines)
    {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == '#') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
            } else if (c == ' ' || c == '\t' || c == '\r' || (newlines && c == '\n')) {
                m_line += c == '\n' ? 1 : 0;
                ++m_pos;
            } else {
                break;
            }
        }
    }
    bool EndOfLine(std::string &error)
    {
        SkipBlank(false);
        if (m_pos < m_text.size() && m_text[m_pos] != '\n')
            return Fail("unexpected text after a value", error);
        return true;
    }
    // "\n", "\u00e9", ...; false for an escape TOML does not have.
    bool Escape(std::string &out)
    {
        const char e = m_text[m_pos++];
        static const std::string kFrom = "btnfr\"\\", kTo = "\b\t\n\f\r\"\\";
        if (const size_t at = kFrom.find(e); at != std::string::npos) {
            out += kTo[at];
            return true;
        }
        if (e != 'u' && e != 'U')
            return false;
        const size_t digits = e == 'u' ? 4 : 8;
        if (m_pos + digits > m_text.size())
            return false;
        const std::string hex = m_text.substr(m_pos, digits);
        if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        const unsigned long code = std::stoul(hex, nullptr, 16);
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        AppendUtf8(code, out);
        m_pos += digits;
        return true;
    }
    // Single-quoted strings as written, double-quoted ones with escapes; three quotes open a
    // string of several lines, whose first line break, right after them, is not part of it.
    bool ParseString(Value &value, std::string &error)
    {
        const char quote = m_text[m_pos];
        const bool literal = quote == '\'';
        const bool multi = At(std::string(3, quote));
        m_pos += multi ? 3 : 1;
        if (multi && At("\r\n"))
            ++m_pos;
        if (multi && At("\n")) {
            ++m_pos;
            ++m_line;
        }
        value.kind = Value::String;
        while (true) {
            if (m_pos >= m_text.size())
                return Fail("an unclosed string", error);
            const char c = m_text[m_pos];
            if (c == quote) {
                size_t run = 0;
                while (m_pos + run < m_text.size() && m_text[m_pos + run] == quote)
                    ++run;
                if (!multi || run >= 3) {
                    // Up to two quotes right before the closing three belong to the string.
                    if (multi)
                        value.text.append(std::min<size_t>(run - 3, 2), quote);
                    m_pos += multi ? std::min<size_t>(run, 5) : 1;
                    return true;
                }
                value.text.append(run, quote);
                m_pos += run;
                continue;
            }
            if (c == '\n') {
                if (!multi)
                    return Fail("an unclosed string", error);
                ++m_line;
            }
            if (c == '\\' && !literal) {
                ++m_pos;
                // Within three double quotes a backslash ending a line joins the next text on.
                size_t after = m_pos;
                while (multi && after < m_text.size() && std::strchr(" \t\r", m_text[after]))
                    ++after;
                if (multi && after < m_text.size() && m_text[after] == '\n') {
                    m_pos = after;
                    while (m_pos < m_text.size() && std::strchr(" \t\r\n", m_text[m_pos])) {
                        m_line += m_text[m_pos] == '\n' ? 1 : 0;
                        ++m_pos;
                    }
                    continue;
                }
                if (m_pos >= m_text.size() || !Escape(value.text))
                    return Fail("an unknown escape in a string", error);
                continue;
            }
            value.text += c;
            ++m_pos;
        }
    }
    // Hand histories nest arrays at most once; the bound keeps the recursion off the stack's end.
    static constexpr int kMaxDepth = 8;

    bool ParseValue(Value &value, std::string &error, int depth)
    {
        SkipBlank(false);
        value.line = m_line;
        if (m_pos >= m_text.size())
            return Fail("a key without a value", error);
        const char c = m_text[m_pos];
        if (c == '"' || c == '\'')
            return ParseString(value, error);
        if (c == '[') {
            if (depth >= kMaxDepth)
                return Fail("arrays nested too deeply", error);
            value.kind = Value::Array;
            ++m_pos;
            while (true) {
                SkipBlank(true);
                if (m_pos >= m_text.size())
                    return Fail("an unclosed array", error);
                if (m_text[m_pos] == ']') {
                    ++m_pos;
                    return true;
                }
                Value item;
                if (!ParseValue(item, error, depth + 1))
                    return false;
                value.items.push_back(std::move(item));
                SkipBlank(true);
                if (m_pos < m_text.size() && m_text[m_pos] == ',')
                    ++m_pos;
                else if (m_pos < m_text.size() && m_text[m_pos] != ']')
                    return Fail("expected \",\" or \"]\" in an array", error);
            }
        }
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !std::strchr(",]\n\r\t #", m_text[m_pos]))
            ++m_pos;
        value.text = m_text.substr(start, m_pos - start);
        if (value.text == "true" || value.text == "false") {
            value.kind = Value::Bool;
            return true;
        }
        const size_t sign = value.text.find_first_not_of("+-");
        const std::string bare = sign == std::string::npos ? "" : value.text.substr(sign);
        // Numbers, infinity, and the dates and times a header may carry.
        if (bare != "inf" && bare != "nan" &&
            (value.text.empty() ||
             value.text.find_first_not_of("0123456789.+-_:eETZtz") != std::string::npos))
            return Fail(gamelines::Quote(value.text) + " is not a value", error);
        value.kind = Value::Number;
        return true;
    }

    const std::string &m_text;
    const std::string &m_source;
    size_t m_pos = 0;
    size_t m_line = 1;
};

} // namespace

std::vector<Section> Read(const std::string &text, const std::string &source)
{
    std::vector<Section> sections;
    TomlReader(text, source).Read(sections);
    return sections;
}

} // namespace interchange::toml
