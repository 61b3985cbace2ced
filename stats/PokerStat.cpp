#include "stats/PokerStat.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

using namespace actionkind;

// Action codes inside the analysis.
constexpr int kCodeFold = 1;
constexpr int kCodeCheck = 3;
constexpr int kCodeRaise = 4;

using brisquel::kMaxSeats;

// Below this many hands the box shows the hand count only.
constexpr int kMinHandsForFigures = 10;

bool IsDecision(int kind)
{
    return kind >= kFold && kind <= kRaise;
}

int CodeOf(int kind)
{
    // fold, bet, call, check, raise in kind order 9..13
    static const int codes[] = {1, 5, 2, 3, 4};
    return codes[kind - kFold];
}

std::wstring Widen(const char *text)
{
    std::string narrow(text);
    return std::wstring(narrow.begin(), narrow.end());
}

// A share of a count that may still be 0 (a seat that never acted): shown as 0, not nan.
double Ratio(int part, int whole)
{
    return whole > 0 ? static_cast<double>(part) / whole : 0.0;
}

} // namespace

void ClearStat(CPokerStat &stat)
{
    stat.m_hands = 0;
    stat.m_N = 0;
    stat.m_vpipOpportunities = 0;
    stat.m_VPIP = 0;
    stat.m_PFR = 0;
    stat.m_3bet = 0;
    stat.m_vpipRatio = 0.0;
    stat.m_pfrRatio = 0.0;
    for (auto &line : stat.m_lines)
        line.clear();
}

void AddStat(CPokerStat &target, const CPokerStat &source)
{
    target.m_hands += source.m_hands;
    target.m_N += source.m_N;
    target.m_vpipOpportunities += source.m_vpipOpportunities;
    target.m_VPIP += source.m_VPIP;
    target.m_PFR += source.m_PFR;
    target.m_3bet += source.m_3bet;
}

void BuildStatText(CPokerStat &stat)
{
    char text[96];
    if (stat.m_hands < kMinHandsForFigures) {
        std::snprintf(text, sizeof text, "N=%d", stat.m_hands);
        stat.m_lines[0] = Widen(text);
        return;
    }
    stat.m_vpipRatio = Ratio(stat.m_VPIP, stat.m_vpipOpportunities);
    stat.m_pfrRatio = Ratio(stat.m_PFR, stat.m_N);
    std::snprintf(text, sizeof text, "N=%d VP/PFR: %.0f/%.0f", stat.m_N, stat.m_vpipRatio * 100,
                  stat.m_pfrRatio * 100);
    stat.m_lines[0] = Widen(text);
    stat.m_lines[1] = Widen("  ");
    std::snprintf(text, sizeof text, "3B: %.0f ", Ratio(stat.m_3bet, stat.m_N) * 100);
    stat.m_lines[2] = Widen(text);
    stat.m_lines[3] = Widen("  ");
}

CHandT::Entry &CHandT::EntryOf(int seat)
{
    return m_participants[seat];
}

void CHandT::CollectParticipants()
{
    for (const CAction &a : m_actions) {
        if (a.m_kind == kPreflopFinished)
            return;
        switch (a.m_kind) {
        case kDealtIn:
            EntryOf(a.m_seat).name = a.m_name;
            break;
        case kButton:
            m_button = a.m_seat;
            EntryOf(a.m_seat).stat.m_hands = 1;
            break;
        case kSmallBlind:
            EntryOf(a.m_seat).stat.m_hands = 1;
            break;
        case kBigBlind:
            m_bigBlinds.insert(a.m_seat);
            EntryOf(a.m_seat).stat.m_hands = 1;
            break;
        default:
            if (IsDecision(a.m_kind)) {
                if (a.m_seat == m_button)
                    return;
                EntryOf(a.m_seat).stat.m_hands = 1;
            }
            break;
        }
    }
}

bool CHandT::Replay(const std::function<CPokerStat &(int)> &statOf)
{
    bool preflop = true;
    bool counted = false;
    bool finished = false;
    for (const CAction &a : m_actions) {
        switch (a.m_kind) {
        case kPreflopBegins:
            preflop = true;
            break;
        case kFlop:
        case kTurn:
        case kRiver:
            preflop = false;
            break;
        case kPreflopFinished:
            // A repeated end-of-round event must not count the hand twice.
            if (!counted)
                CountPreflop();
            counted = true;
            break;
        case kHandFinished:
            if (!finished)
                Accumulate(statOf);
            finished = true;
            break;
        default:
            if (preflop && IsDecision(a.m_kind))
                m_preflop.emplace_back(CodeOf(a.m_kind), a.m_seat);
            break;
        }
    }
    return finished;
}

void CHandT::CountPreflop()
{
    // VPIP and N: first actions of the first orbit only.
    std::map<int, int> firstCode;
    for (const auto &[code, seat] : m_preflop) {
        if (firstCode.count(seat))
            break;
        firstCode[seat] = code;
        CPokerStat &s = EntryOf(seat).stat;
        s.m_N += 1;
        // A big blind that checks had no choice to put money in voluntarily.
        if (m_bigBlinds.count(seat) && code == kCodeCheck)
            continue;
        s.m_vpipOpportunities += 1;
        if (code != kCodeFold)
            s.m_VPIP += 1;
    }

    firstCode.clear();
    bool raised = false;
    m_afterFirstRaise.clear();
    for (const auto &[code, seat] : m_preflop) {
        if (raised)
            m_afterFirstRaise.emplace_back(code, seat);
        if (firstCode.count(seat))
            continue;
        firstCode[seat] = code;
        if (code == kCodeRaise) {
            EntryOf(seat).stat.m_PFR += 1;
            raised = true;
        }
    }
    if (!raised)
        return;

    firstCode.clear();
    for (const auto &[code, seat] : m_afterFirstRaise) {
        if (firstCode.count(seat))
            continue;
        firstCode[seat] = code;
        if (code == kCodeRaise)
            EntryOf(seat).stat.m_3bet += 1;
    }
}

void CHandT::Accumulate(const std::function<CPokerStat &(int)> &statOf)
{
    for (auto &[seat, entry] : m_participants) {
        // A malformed event must not reach outside the table's seats.
        if (seat < 0 || seat >= kMaxSeats)
            continue;
        entry.stat.m_hands = std::min(entry.stat.m_hands, 1);
        AddStat(statOf(seat), entry.stat);
    }
}

bool AnalyzeHand(const std::vector<CAction> &actions,
                 const std::function<CPokerStat &(int)> &statOf)
{
    CHandT hand(actions);
    hand.CollectParticipants();
    return hand.Replay(statOf);
}
