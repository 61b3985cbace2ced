#include "engine/GameState.h"

#include <algorithm>

namespace {

struct Level
{
    int small;
    int big;
    int ante;
};

// "9 players"; the turbo schedule inserts 150/300/25 after 100/200/25.
constexpr Level kNinePlayerLevels[] = {
    {10, 20, 0},          {15, 30, 0},        {25, 50, 0},        {50, 100, 0},
    {75, 150, 0},         {100, 200, 0},      {100, 200, 25},     {200, 400, 25},
    {300, 600, 50},       {400, 800, 50},     {600, 1200, 75},    {800, 1600, 75},
    {1000, 2000, 100},    {1500, 3000, 150},  {2000, 4000, 200},  {3000, 6000, 300},
    {4000, 8000, 400},    {6000, 12000, 600}, {8000, 16000, 800}, {10000, 20000, 1000},
    {15000, 30000, 1500},
};

void AddLevel(GameType &type, const Level &level)
{
    type.smallBlinds.push_back(level.small);
    type.bigBlinds.push_back(level.big);
    type.antes.push_back(level.ante);
}

} // namespace

void BuildGameTypes(GameType types[2])
{
    GameType &normal = types[0];
    normal = GameType{};
    normal.typeId = kGameTypeNinePlayers;
    normal.typeName = "9 players";
    normal.minutesPerLevel = 10;
    normal.startingStack = 1500;
    for (const Level &level : kNinePlayerLevels)
        AddLevel(normal, level);
    normal.levelCount = static_cast<int>(normal.smallBlinds.size());

    GameType &turbo = types[1];
    turbo = GameType{};
    turbo.typeId = kGameTypeNinePlayersTurbo;
    turbo.typeName = "9 players Turbo";
    turbo.minutesPerLevel = 5;
    turbo.startingStack = 1500;
    for (const Level &level : kNinePlayerLevels) {
        AddLevel(turbo, level);
        if (level.small == 100 && level.ante == 25)
            AddLevel(turbo, {150, 300, 25});
    }
    turbo.levelCount = static_cast<int>(turbo.smallBlinds.size());
}

CPlayerStatisticRect::CPlayerStatisticRect()
    : m_lines{L"String 1", L"String 2", L"String 3", L"String 4"}
{}

CGameTable::CGameTable()
{
    for (CPlayer &player : m_players)
        ClearStat(player.m_stat);
    m_spectrum.Init();
    m_ranges.MakeSrategyRanges();
}

bool CGameTable::IsActive(int s) const
{
    return s >= 0 && s < 10 && m_inGame[s] != 0 && !m_folded[s];
}

int CGameTable::NextActiveSeat(int s) const
{
    if (m_seatCount <= 0)
        return s;
    for (int i = 1; i <= m_seatCount; ++i) {
        const int t = (s + i) % m_seatCount;
        if (IsActive(t))
            return t;
    }
    return s;
}

int CGameTable::PreviousActiveSeat(int s) const
{
    if (m_seatCount <= 0)
        return s;
    for (int i = 1; i <= m_seatCount; ++i) {
        const int t = ((s - i) % m_seatCount + m_seatCount) % m_seatCount;
        if (IsActive(t))
            return t;
    }
    return s;
}

int CGameTable::FirstToActPreflop() const
{
    return rules::FirstToActPreflop(Ring(), m_button);
}

rules::SeatRing CGameTable::Ring() const
{
    rules::SeatRing ring;
    ring.seatCount = std::min(m_seatCount, rules::kMaxSeats);
    for (int s = 0; s < ring.seatCount; ++s)
        ring.inHand[s] = m_inGame[s] != 0;
    return ring;
}

rules::BlindSeats CGameTable::BlindSeats() const
{
    return rules::BlindsFor(Ring(), m_button);
}

int CGameTable::CountActive() const
{
    int count = 0;
    for (int s = 0; s < m_seatCount; ++s)
        count += IsActive(s) ? 1 : 0;
    return count;
}

int CGameTable::CountActiveWithChips() const
{
    int count = 0;
    for (int s = 0; s < m_seatCount; ++s)
        count += (IsActive(s) && m_stack[s] > 0) ? 1 : 0;
    return count;
}

int CGameTable::MaxOpponentStack(int s) const
{
    int most = 0;
    for (int t = 0; t < m_seatCount; ++t) {
        if (t != s && IsActive(t) && m_stack[t] + m_bet[t] > most)
            most = m_stack[t] + m_bet[t];
    }
    return most;
}

bool CGameTable::AnotherCanAct(int s) const
{
    for (int t = 0; t < m_seatCount; ++t) {
        if (t != s && IsActive(t) && m_stack[t] > 0)
            return true;
    }
    return false;
}

bool CGameTable::SomeoneStillToCall(int s) const
{
    for (int t = 0; t < m_seatCount; ++t) {
        if (t != s && IsActive(t) && m_stack[t] > 0 && m_bet[t] < m_amountToCall &&
            m_lastAction[t] != kLastActionNone)
            return true;
    }
    return false;
}

int CGameTable::CountCallers(int s) const
{
    int count = 0;
    for (int t = 0; t < m_seatCount; ++t)
        count += (t != s && IsActive(t) && m_lastAction[t] == kLastActionCall) ? 1 : 0;
    return count;
}

int CGameTable::CountRaisersAbove(int s, int amount) const
{
    int count = 0;
    for (int t = 0; t < m_seatCount; ++t)
        count += (t != s && IsActive(t) && m_bet[t] > amount && m_lastAction[t] == kLastActionRaise)
                     ? 1
                     : 0;
    return count;
}
