#pragma once
// The game state of the one table: seats, money, cards, blind schedules and the per-seat
// display boxes the table view draws (what they show; where they lie is the view's). Plain
// records with public fields.
//
// Threads: the game thread writes these fields and the UI thread reads them while painting;
// both do so only while holding the game's state mutex (see Game.h).

#include "pokerlib/CardCodes.h"
#include "pokerlib/Carrowby.h"
#include "rules/NoLimitRules.h"
#include "stats/PokerStat.h"

#include <string>
#include <vector>

struct GameType
{
    int typeId = 0;
    std::string typeName;
    int levelCount = 0;
    int minutesPerLevel = 0;
    int startingStack = 0;
    std::vector<int> smallBlinds;
    std::vector<int> bigBlinds;
    std::vector<int> antes;
};

// The two built-in tournament schedules: [0] "9 players" (kGameTypeNinePlayers), [1] "9 players
// Turbo" (kGameTypeNinePlayersTurbo).
void BuildGameTypes(GameType types[2]);

class CPlayer
{
public:
    std::string m_name; // name + "_" + seat, e.g. "Hero_0"
    int m_persona = 0;  // kPersonaHero .. kPersonaTim (vocabulary/GameVocabulary.h)
    CPokerStat m_stat;
};

class CPlayerStatisticRect
{
public:
    CPlayerStatisticRect();
    virtual ~CPlayerStatisticRect() = default;
    // Copies of the seat's statistics lines, taken when the box is shown ("String 1".."String 4"
    // until then). Copies rather than shared pointers: the game thread rebuilds the originals.
    std::wstring m_lines[4];
    int m_visible = 0;
};

class CPlayerRect
{
public:
    virtual ~CPlayerRect() = default;
    int m_visible = 0;
    int m_hasButton = 0;
    int m_showAction = 0;
    int m_showCards = 0;
    int m_showWin = 0;
    std::wstring m_stackText;
    std::wstring m_actionText;
    std::wstring m_winText;
    std::wstring m_nameText;
    int m_revealCards = 0;
    // Display only: the seat's hand went to the showdown (a table may show every such hand).
    int m_atShowdown = 0;
    CPlayerStatisticRect m_statRect;
};

class CGameTable
{
public:
    CGameTable();

    int m_seatCount = 0;
    CPlayer m_players[brisquel::kMaxSeats];
    int m_inGame[brisquel::kMaxSeats] = {};
    int m_startStack[brisquel::kMaxSeats] = {};
    long long m_resultByPersona[5] = {};
    int m_stack[brisquel::kMaxSeats] = {};
    int m_bet[brisquel::kMaxSeats] = {};
    int m_invested[brisquel::kMaxSeats] = {};
    bool m_folded[brisquel::kMaxSeats] = {};
    int m_amountToCall = 0;
    int m_pot = 0;
    int m_smallBlind = 0;
    int m_bigBlind = 0;
    int m_ante = 0;
    int m_button = 0;
    int m_cards[brisquel::kTableCards] = {};
    int m_boardCount = 0;
    int m_humanAmount = 0;
    int m_positionClass[brisquel::kMaxSeats] = {}; // kPositionEarly, kPositionMiddle, kPositionLate
    int m_lastAction[brisquel::kMaxSeats] = {};    // kLastActionNone, ...Fold, ...Call, ...Raise
    int m_lastRaiser = -1;
    // The raising history of the round being played: the minimum raise and who may raise.
    rules::RaiseHistory m_raises;
    CStatSpectr m_spectrum;
    StrategyRanges m_ranges;

    // Queries; "active" = in the game and not folded. Seats go round 0..m_seatCount-1.
    bool IsActive(int s) const;
    int NextActiveSeat(int s) const;
    int PreviousActiveSeat(int s) const;
    int FirstToActPreflop() const;
    // The seats dealt into the hand (folds do not count) and the hand's blinds: heads-up the
    // button posts the small blind.
    rules::SeatRing Ring() const;
    rules::BlindSeats BlindSeats() const;
    int CountActive() const;
    int CountActiveWithChips() const;
    int MaxOpponentStack(int s) const;
    // Another seat in the hand has chips behind: someone could still answer a raise of s.
    bool AnotherCanAct(int s) const;
    bool SomeoneStillToCall(int s) const;
    int CountCallers(int s) const;
    int CountRaisersAbove(int s, int amount) const;
};
