#include "pokerlib/CardCodes.h"
#include "pokerlib/CardNames.h"
#include "pokerlib/Carrowby.h"
#include "pokerlib/HandValue.h"

#include <cctype>

namespace brisquel {

namespace {

constexpr char kRankLetters[] = "23456789TJQKA";
constexpr char kSuitLetters[] = "cdhs";
constexpr int kAceRankIndex = 12;

const wchar_t *const kRankNames[13] = {L"Deuce", L"Three", L"Four", L"Five", L"Six",
                                       L"Seven", L"Eight", L"Nine", L"Ten",  L"Jack",
                                       L"Queen", L"King",  L"Ace"};
const wchar_t *const kRankPlurals[13] = {L"Deuces", L"Threes", L"Fours", L"Fives", L"Sixes",
                                         L"Sevens", L"Eights", L"Nines", L"Tens",  L"Jacks",
                                         L"Queens", L"Kings",  L"Aces"};

} // namespace

std::wstring CardName(int card)
{
    if (card < 0 || card > 51)
        return {};
    return {wchar_t(kRankLetters[brisquel::RankOf(card)]),
            wchar_t(kSuitLetters[brisquel::SuitOf(card)])};
}

std::string Narrow(const std::wstring &text)
{
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text)
        out += (c >= 0 && c < 128) ? static_cast<char>(c) : '?';
    return out;
}

int ParseCard(const std::string &text)
{
    std::string t = text;
    if (t.size() == 3 && t[0] == '1' && t[1] == '0')
        t = {'T', t[2]};
    if (t.size() != 2)
        return -1;
    const char r = char(std::toupper(static_cast<unsigned char>(t[0])));
    const char s = char(std::tolower(static_cast<unsigned char>(t[1])));
    int rank = -1, suit = -1;
    for (int i = 0; i < 13; ++i)
        if (kRankLetters[i] == r)
            rank = i;
    for (int i = 0; i < 4; ++i)
        if (kSuitLetters[i] == s)
            suit = i;
    if (rank < 0 || suit < 0)
        return -1;
    return brisquel::CardOf(rank, suit);
}

std::wstring HandName(std::uint32_t value)
{
    const int r0 = RankNibble(value, 0);
    const int r1 = RankNibble(value, 1);
    switch (CategoryOf(value)) {
    case kHighCard:
        return std::wstring(kRankNames[r0]) + L" high";
    case kOnePair:
        return std::wstring(L"Pair of ") + kRankPlurals[r0];
    case kTwoPair:
        return std::wstring(L"Two pair, ") + kRankPlurals[r0] + L" and " + kRankPlurals[r1];
    case kTrips:
        return std::wstring(L"Three of a kind, ") + kRankPlurals[r0];
    case kStraight:
        return std::wstring(L"Straight, ") + kRankNames[r0] + L" high";
    case kFlush:
        return std::wstring(L"Flush, ") + kRankNames[r0] + L" high";
    case kFullHouse:
        return std::wstring(L"Full house, ") + kRankPlurals[r0] + L" full of " + kRankPlurals[r1];
    case kQuads:
        return std::wstring(L"Four of a kind, ") + kRankPlurals[r0];
    case kStraightFlush:
        if (r0 == kAceRankIndex)
            return L"Royal flush";
        return std::wstring(L"Straight flush, ") + kRankNames[r0] + L" high";
    default:
        return {};
    }
}

} // namespace brisquel

namespace {
constexpr int kAceRankIndex = 12;
}

CCard::CCard(int card)
{
    if (card < 0 || card > 51)
        return; // an empty slot stays the default card
    const int index = brisquel::RankOf(card);
    rank = index == kAceRankIndex ? 1 : index + 2;
    suit = brisquel::SuitOf(card);
}

int CCard::ToInt() const
{
    if (rank < 1 || rank > 13 || suit < 0 || suit > 3)
        return -1;
    const int index = rank == 1 ? kAceRankIndex : rank - 2;
    return brisquel::CardOf(index, suit);
}

std::wstring CCard::GetName2() const
{
    return brisquel::CardName(ToInt());
}

void CDeck::AddCard(CCard card)
{
    const int c = card.ToInt();
    if (c < 0 || m_count >= kMaxCards)
        return;
    m_cards[m_count++] = c;
    m_evaluated = false;
}

void CDeck::DeleteCards()
{
    m_count = 0;
    m_value = 0;
    m_evaluated = false;
}

int CDeck::Count() const
{
    return m_count;
}

void CDeck::SetValueCombination()
{
    m_value = brisquel::EvaluateCards(m_cards, m_count);
    m_evaluated = true;
}

std::uint32_t CDeck::Strength() const
{
    return m_evaluated ? m_value : brisquel::EvaluateCards(m_cards, m_count);
}

int CDeck::compareTo(const CDeck &other) const
{
    const std::uint32_t a = Strength();
    const std::uint32_t b = other.Strength();
    return a > b ? 1 : (a < b ? -1 : 0);
}

std::wstring CDeck::display() const
{
    if (m_count == 0)
        return {};
    return brisquel::HandName(Strength());
}

std::wstring CDeck::display2() const
{
    std::wstring text;
    for (int i = 0; i < m_count; ++i) {
        if (i > 0)
            text += L' ';
        text += brisquel::CardName(m_cards[i]);
    }
    return text;
}
