#pragma once
// Hand events and per-seat preflop statistics (VPIP, PFR, 3-bet). No Qt.

#include "vocabulary/GameVocabulary.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// One event of a hand, appended by the engine in order. Kinds 1..19: 1 hand begins, 2 hand
// finished, 3 preflop begins, 4 preflop finished, 5 dealt in, 6 button, 7 small blind, 8 big
// blind, 9 fold, 10 bet, 11 call, 12 check, 13 raise (amount raised by), 14 flop, 15 flop done,
// 16 turn, 17 turn done, 18 river, 19 river done (named in
// vocabulary/GameVocabulary.h).

class CAction
{
public:
    CAction() = default;
    CAction(int kind, int seat, int amount, std::string name = {})
        : m_kind(kind)
        , m_seat(seat)
        , m_amount(amount)
        , m_name(std::move(name))
    {}
    virtual ~CAction() = default;
    CAction(const CAction &) = default;
    CAction &operator=(const CAction &) = default;

    int m_kind = 0;
    int m_seat = -1;
    int m_amount = 0;
    std::string m_name;
};

class CPokerStat
{
public:
    CPokerStat() = default;
    virtual ~CPokerStat() = default;
    CPokerStat(const CPokerStat &) = default;
    CPokerStat &operator=(const CPokerStat &) = default;

    int m_hands = 0;
    int m_N = 0;
    int m_vpipOpportunities = 0;
    int m_VPIP = 0;
    int m_PFR = 0;
    int m_3bet = 0;
    double m_vpipRatio = 0.0;
    double m_pfrRatio = 0.0;
    // The four statistics-box lines; empty means "not set".
    std::wstring m_lines[4];
};

// One hand's analysis, built and used by AnalyzeHand.
class CHandT
{
public:
    struct Entry
    {
        std::string name;
        CPokerStat stat; // this hand's counts, each 0 or 1
    };

    explicit CHandT(std::vector<CAction> actions)
        : m_actions(std::move(actions))
    {}
    virtual ~CHandT() = default;

    // Who counts the hand: blinds, the button and everyone acting before the button acts.
    void CollectParticipants();
    // Replays the list; returns true when it held a "hand finished" event.
    bool Replay(const std::function<CPokerStat &(int)> &statOf);

    std::map<int, Entry> m_participants;
    std::vector<CAction> m_actions;
    int m_button = -1;
    std::set<int> m_bigBlinds;
    // (action code, seat) before the flop; codes 1 fold, 2 call, 3 check, 4 raise, 5 bet.
    std::vector<std::pair<int, int>> m_preflop;
    std::vector<std::pair<int, int>> m_afterFirstRaise;

private:
    void CountPreflop();
    void Accumulate(const std::function<CPokerStat &(int)> &statOf);
    Entry &EntryOf(int seat);
};

void ClearStat(CPokerStat &stat);
void AddStat(CPokerStat &target, const CPokerStat &source);
void BuildStatText(CPokerStat &stat);

// Replays one hand's events and adds each participant's counts to statOf(seat), the seat's
// cumulative record. Returns true when the list held a "hand finished" event.
bool AnalyzeHand(const std::vector<CAction> &actions,
                 const std::function<CPokerStat &(int)> &statOf);
