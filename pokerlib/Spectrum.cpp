#include "pokerlib/Spectrum.h"
#include "pokerlib/CardCodes.h"
#include "pokerlib/Carrowby.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace brisquel {

namespace {

constexpr char kRankLetters[] = "23456789TJQKA";
constexpr int kCombinationCount = 1326;

int RankIndex(char letter)
{
    for (int i = 0; i < 13; ++i)
        if (kRankLetters[i] == letter)
            return i;
    return -1;
}

} // namespace

std::vector<std::pair<int, int>> ClassCombos(const std::string &name)
{
    std::vector<std::pair<int, int>> out;
    if (name.size() < 2)
        return out;
    const int hi = RankIndex(name[0]);
    const int lo = RankIndex(name[1]);
    if (hi < 0 || lo < 0)
        return out;
    if (hi == lo) {
        if (name.size() != 2)
            return out;
        for (int s1 = 0; s1 < 4; ++s1)
            for (int s2 = s1 + 1; s2 < 4; ++s2)
                out.emplace_back(s1 * 13 + hi, s2 * 13 + lo);
        return out;
    }
    if (name.size() != 3 || hi < lo || (name[2] != 's' && name[2] != 'o'))
        return out;
    const bool suited = name[2] == 's';
    for (int s1 = 0; s1 < 4; ++s1)
        for (int s2 = 0; s2 < 4; ++s2)
            if ((s1 == s2) == suited)
                out.emplace_back(s1 * 13 + hi, s2 * 13 + lo);
    return out;
}

std::string ClassName(int a, int b)
{
    if (a < 0 || a > 51 || b < 0 || b > 51 || a == b)
        return {};
    int ra = brisquel::RankOf(a), rb = brisquel::RankOf(b);
    if (ra < rb)
        std::swap(ra, rb);
    std::string name{kRankLetters[ra], kRankLetters[rb]};
    if (ra != rb)
        name += brisquel::SameSuit(a, b) ? 's' : 'o';
    return name;
}

std::vector<std::string> ExpandRange(const std::string &text)
{
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        item.erase(std::remove(item.begin(), item.end(), ' '), item.end());
        const bool plus = !item.empty() && item.back() == '+';
        if (plus)
            item.pop_back();
        if (ClassCombos(item).empty())
            continue;
        out.push_back(item);
        if (!plus)
            continue;
        const int hi = RankIndex(item[0]);
        const int lo = RankIndex(item[1]);
        // "77+" climbs to aces; "K9o+" climbs the kicker up to one below the top card.
        if (hi == lo) {
            for (int r = hi + 1; r < 13; ++r)
                out.push_back(std::string(2, kRankLetters[r]));
        } else {
            for (int r = lo + 1; r < hi; ++r)
                out.push_back(std::string{kRankLetters[hi], kRankLetters[r], item[2]});
        }
    }
    return out;
}

} // namespace brisquel

bool Spec::Contains(int a, int b) const
{
    for (const auto &[x, y] : combos)
        if ((x == a && y == b) || (x == b && y == a))
            return true;
    return false;
}

// Init orders the 1326 combinations by their class's equity against one random hand.
void CStatSpectr::Init()
{
    m_order.clear();
    m_order.reserve(brisquel::kCombinationCount);
    for (const auto &c : brisquel::kClassEquities)
        for (const auto &combo : brisquel::ClassCombos(c.name))
            m_order.push_back(combo);
}

// The second initialisation of the start-up sequence; the order needs nothing more, so it only
// makes sure the spectrum is ready whichever of the two ran.
void CStatSpectr::InitFerrandel()
{
    if (m_order.size() != std::size_t(brisquel::kCombinationCount))
        Init();
}

bool CStatSpectr::GetSpecByPercent(double pct, Spec &spec, std::wstring &text, int) const
{
    spec.combos.clear();
    text.clear();
    if (std::isnan(pct))
        return false;
    std::vector<std::pair<int, int>> fallback;
    const std::vector<std::pair<int, int>> *order = &m_order;
    if (m_order.size() != std::size_t(brisquel::kCombinationCount)) {
        CStatSpectr ready; // used before Init: answer from a ready copy
        ready.Init();
        fallback = ready.m_order;
        order = &fallback;
    }
    const double share = std::clamp(pct, 0.0, 100.0) / 100.0;
    const auto n = std::size_t(std::lround(share * brisquel::kCombinationCount));
    spec.combos.assign(order->begin(), order->begin() + std::ptrdiff_t(n));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f%%: %zu combinations", share * 100.0, n);
    text = charTOwchar(buffer);
    return true;
}

// Opening ranges written the usual way; about 40 % of hands on the button or small blind,
// about 27 % in the cut-off.
namespace {
constexpr const char *kButtonRange =
    "22+, A2s+, K2s+, Q4s+, J6s+, T6s+, 96s+, 85s+, 75s+, 64s+, 54s, "
    "A4o+, K9o+, Q9o+, J9o+, T9o, 98o";
constexpr const char *kCutoffRange =
    "22+, A2s+, K6s+, Q8s+, J8s+, T8s+, 98s, 87s, 76s, 65s, A8o+, A5o, KTo+, QTo+, JTo";
} // namespace

void StrategyRanges::MakeSrategyRanges()
{
    const char *ranges[2] = {kButtonRange, kCutoffRange};
    for (int i = 0; i < 2; ++i) {
        m_sets[i].clear();
        for (const auto &name : brisquel::ExpandRange(ranges[i])) {
            for (const auto &[a, b] : brisquel::ClassCombos(name)) {
                // The key puts the higher card first; a pair may come in either order.
                m_sets[i].insert({a, b});
                if (brisquel::RankOf(a) == brisquel::RankOf(b))
                    m_sets[i].insert({b, a});
            }
        }
    }
}

int SklanskyGroup(CCard first, CCard second)
{
    // Sklansky-Malmuth starting-hand groups.
    static const char *const kGroups[8] = {
        "AA, KK, QQ, JJ, AKs",
        "TT, AQs, AJs, KQs, AKo",
        "99, JTs, QJs, KJs, ATs, AQo",
        "T9s, KQo, 88, QTs, 98s, J9s, AJo, KTs",
        "77, 87s, Q9s, T8s, KJo, QJo, JTo, 76s, 97s, A2s+, 65s",
        "66, ATo, 55, 86s, KTo, QTo, 54s, K9s, J8s, 75s",
        "44, J9o, 64s, T9o, 53s, 33, 98o, 43s, 22, K2s+, T7s, Q8s",
        "87o, A9o, Q9o, 76o, 42s, 32s, 96s, 85s, J8o, J7s, 65o, 54o, 74s, K9o, T8o",
    };
    // Class name -> group, built once.
    static const std::map<std::string, int> groups = [] {
        std::map<std::string, int> table;
        for (int g = 8; g >= 1; --g) // the better group wins where notations overlap
            for (const auto &name : brisquel::ExpandRange(kGroups[g - 1]))
                table[name] = g;
        return table;
    }();
    const auto found = groups.find(brisquel::ClassName(first.ToInt(), second.ToInt()));
    return found == groups.end() ? 0 : found->second;
}
