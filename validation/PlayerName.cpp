#include "validation/PlayerName.h"

namespace {

// Decodes one UTF-8 character at text[i]; false for a malformed or overlong sequence.
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
    ++i;
    for (int k = 0; k < extra; ++k, ++i) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80)
            return false;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    return code >= kLeast[extra] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

bool IsControl(char32_t code)
{
    // C0, DEL and C1 (0x9B alone starts a terminal escape), and the line and paragraph
    // separators that some readers break lines at.
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

} // namespace

std::string PlayerNameProblem(const std::string &name)
{
    if (name.empty())
        return "is empty";
    int length = 0;
    bool control = false;
    for (std::size_t i = 0; i < name.size();) {
        char32_t code = 0;
        if (!NextCodePoint(name, i, code))
            return "is not UTF-8 text";
        control = control || IsControl(code);
        ++length;
    }
    if (control)
        return "contains a control character";
    if (length > kMaxPlayerNameLength)
        return "is longer than " + std::to_string(kMaxPlayerNameLength) + " characters";
    return {};
}
