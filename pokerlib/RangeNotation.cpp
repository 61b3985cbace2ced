#include "pokerlib/RangeNotation.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace brisquel {

namespace {

constexpr char kRankLetters[] = "23456789TJQKA";
constexpr int kAce = 12;

int RankOf(char letter)
{
    const char upper = char(std::toupper(static_cast<unsigned char>(letter)));
    for (int i = 0; i < 13; ++i)
        if (kRankLetters[i] == upper)
            return i;
    return -1;
}

// One starting-hand class: two ranks (high >= low) and, for unpaired hands, which suits.
struct HandClass
{
    int high = -1;
    int low = -1;
    bool suited = true;
    bool offsuit = true;

    bool IsPair() const { return high == low; }
};

// "AK", "AKs", "ako", "QQ", "KA" (put in order); false for anything else.
bool ParseClass(const std::string &text, HandClass &out)
{
    if (text.size() < 2 || text.size() > 3)
        return false;
    int a = RankOf(text[0]), b = RankOf(text[1]);
    if (a < 0 || b < 0)
        return false;
    out.high = std::max(a, b);
    out.low = std::min(a, b);
    out.suited = out.offsuit = true;
    if (text.size() == 3) {
        const char kind = char(std::tolower(static_cast<unsigned char>(text[2])));
        if (out.IsPair() || (kind != 's' && kind != 'o'))
            return false;
        out.suited = kind == 's';
        out.offsuit = kind == 'o';
    }
    return true;
}

// Rank pairs from one class to another: pairs between the two, or one top card with kickers
// between the two; false when the two ends do not line up.
bool ExpandDash(const HandClass &from, const HandClass &to, std::vector<HandClass> &out)
{
    if (from.IsPair() != to.IsPair())
        return false;
    if (from.IsPair()) {
        for (int r = std::min(from.high, to.high); r <= std::max(from.high, to.high); ++r)
            out.push_back(HandClass{r, r});
        return true;
    }
    if (from.high != to.high || from.suited != to.suited || from.offsuit != to.offsuit)
        return false;
    for (int r = std::min(from.low, to.low); r <= std::max(from.low, to.low); ++r)
        out.push_back(HandClass{from.high, r, from.suited, from.offsuit});
    return true;
}

// "22+" climbs to aces; "K9o+" climbs the kicker up to one below the top card.
void ExpandPlus(const HandClass &c, std::vector<HandClass> &out)
{
    if (c.IsPair()) {
        for (int r = c.high; r <= kAce; ++r)
            out.push_back(HandClass{r, r});
        return;
    }
    for (int r = c.low; r < c.high; ++r)
        out.push_back(HandClass{c.high, r, c.suited, c.offsuit});
}

void AppendCombos(const HandClass &c, ComboList &out)
{
    for (int s1 = 0; s1 < 4; ++s1)
        for (int s2 = 0; s2 < 4; ++s2) {
            const int a = s1 * 13 + c.high, b = s2 * 13 + c.low;
            if (c.IsPair() ? s1 >= s2 : (s1 == s2 ? !c.suited : !c.offsuit))
                continue;
            out.emplace_back(std::max(a, b), std::min(a, b));
        }
}

// "top15%", "15%", "top 2.5%": the best share of the spectrum order.
bool ParseTop(const std::string &item, ComboList &out, std::string &error)
{
    std::string number = item;
    std::transform(number.begin(), number.end(), number.begin(),
                   [](unsigned char ch) { return char(std::tolower(ch)); });
    if (number.rfind("top", 0) == 0)
        number.erase(0, 3);
    number.pop_back(); // the '%'
    double share = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), share);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size()) {
        error = "'" + item + "' is not a share such as top15%";
        return false;
    }
    if (!(share > 0.0 && share <= 100.0)) {
        error = "'" + item + "': the share must be above 0 % and at most 100 %";
        return false;
    }
    CStatSpectr spectrum;
    spectrum.Init();
    Spec spec;
    std::wstring unused;
    spectrum.GetSpecByPercent(share, spec, unused, 1);
    for (const auto &[a, b] : spec.combos)
        out.emplace_back(std::max(a, b), std::min(a, b));
    return true;
}

// One item of the list, already without blanks.
bool ParseItem(const std::string &item, ComboList &out, std::string &error)
{
    if (item.back() == '%')
        return ParseTop(item, out, error);

    // Two cards with their suits: "QsQd".
    if (item.size() == 4) {
        const int a = ParseCard(item.substr(0, 2));
        const int b = ParseCard(item.substr(2, 2));
        if (a >= 0 && b >= 0) {
            if (a == b) {
                error = "'" + item + "' names the same card twice";
                return false;
            }
            out.emplace_back(std::max(a, b), std::min(a, b));
            return true;
        }
    }

    std::vector<HandClass> classes;
    HandClass from, to;
    const std::size_t dash = item.find('-');
    if (dash != std::string::npos) {
        if (!ParseClass(item.substr(0, dash), from) || !ParseClass(item.substr(dash + 1), to)) {
            error = "'" + item + "' is not a hand or a range";
            return false;
        }
        if (!ExpandDash(from, to, classes)) {
            error = "'" + item +
                    "': both ends of a dash range must be pairs, or share the top card and "
                    "the suit letter";
            return false;
        }
    } else if (item.back() == '+') {
        if (!ParseClass(item.substr(0, item.size() - 1), from)) {
            error = "'" + item + "' is not a hand or a range";
            return false;
        }
        ExpandPlus(from, classes);
    } else {
        if (!ParseClass(item, from)) {
            error = "'" + item + "' is not a hand or a range";
            return false;
        }
        classes.push_back(from);
    }
    for (const HandClass &c : classes)
        AppendCombos(c, out);
    return true;
}

} // namespace

bool ParseRange(const std::string &text, ComboList &combos, std::string &error)
{
    combos.clear();
    error.clear();
    ComboList all;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string item;
        for (std::size_t i = start; i < comma; ++i)
            if (!std::isspace(static_cast<unsigned char>(text[i])))
                item += text[i];
        // An empty item (a doubled or trailing comma) adds nothing.
        if (!item.empty() && !ParseItem(item, all, error))
            return false;
        start = comma + 1;
    }
    if (all.empty()) {
        error = "the range '" + text + "' holds no hands";
        return false;
    }
    // Overlapping items ("22+, QQ") count each combination once.
    std::uint64_t seen[52] = {};
    for (const auto &[hi, lo] : all) {
        if (seen[hi] >> lo & 1)
            continue;
        seen[hi] |= 1ull << lo;
        combos.emplace_back(hi, lo);
    }
    return true;
}

ComboList DropClashing(const ComboList &combos, std::uint64_t known)
{
    ComboList out;
    for (const auto &[a, b] : combos)
        if (!(known >> a & 1) && !(known >> b & 1))
            out.emplace_back(a, b);
    return out;
}

} // namespace brisquel
