#include "validation/PrintableText.h"

#include <cstdio>

bool NextCodePoint(const std::string &text, std::size_t &i, char32_t &code)
{
    const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    if (lead < 0x80) {
        code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        code = lead & 0x1F;
        extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        code = lead & 0x0F;
        extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        code = lead & 0x07;
        extra = 3;
    } else {
        return false;
    }
    std::size_t k = i + 1;
    for (int n = 0; n < extra; ++n, ++k) {
        if (k >= text.size() || (byte(k) & 0xC0) != 0x80)
            return false;
        code = (code << 6) | (byte(k) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (code < kLeast[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    i = k;
    return true;
}

bool IsControlCharacter(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

std::string PrintableText(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    char escape[16];
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        char32_t code = 0;
        if (!NextCodePoint(text, i, code)) {
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned char>(text[i]));
            out += escape;
            ++i;
        } else if (code == '\n') {
            out += "\\n";
        } else if (code == '\r') {
            out += "\\r";
        } else if (code == '\t') {
            out += "\\t";
        } else if (IsControlCharacter(code)) {
            std::snprintf(escape, sizeof escape, code < 0x80 ? "\\x%02x" : "\\u%04x",
                          static_cast<unsigned>(code));
            out += escape;
        } else {
            out.append(text, start, i - start);
        }
    }
    return out;
}
