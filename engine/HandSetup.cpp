// Setting up each hand: the button, the header lines, antes and blinds, and the deals.
#include "engine/EngineText.h"
#include "engine/Game.h"
#include "lineformat/GameLines.h"
#include "pokerlib/CardCodes.h"

#include <algorithm>
#include <iterator>

using namespace enginetext;

void CDunmereGame::DrawForButton()
{
    CGameTable &t = m_table;
    m_random.SetTimerSeed();
    std::fill(std::begin(t.m_cards), std::end(t.m_cards), -1);
    m_random.SetInterval(0, 12);
    for (int s = 0; s < t.m_seatCount; ++s) {
        t.m_inGame[s] = 1;
        t.m_cards[2 * s] = DrawUnused(2 * t.m_seatCount);
        t.m_cards[2 * s + 1] = -1;
    }
    std::vector<int> values;
    for (int s = 0; s < t.m_seatCount; ++s)
        values.push_back(t.m_cards[2 * s]);
    std::stable_sort(values.begin(), values.end(), comparefun);
    if (!values.empty()) {
        for (int s = 0; s < t.m_seatCount; ++s) {
            if (t.m_cards[2 * s] == values.front()) {
                t.m_button = s;
                break;
            }
        }
    }
}

int CDunmereGame::DrawUnused(int used)
{
    const int *cards = m_table.m_cards;
    while (m_nextStackedDraw < m_stackedDraws.size()) {
        const int v = m_stackedDraws[m_nextStackedDraw++];
        if (!isExist(v, cards, used))
            return v;
    }
    int v;
    do {
        v = m_random.DrawRandomNumber();
    } while (isExist(v, cards, used));
    return v;
}

void CDunmereGame::AddAction(int kind, int seat, int amount, const std::string &name)
{
    m_action = CAction(0, -1, 0, {});
    m_action.m_kind = kind;
    m_action.m_seat = seat;
    m_action.m_amount = amount;
    m_action.m_name = name;
    m_actions.push_back(m_action);
}

void CDunmereGame::NewHandSetup()
{
    CGameTable &t = m_table;
    SetWaitCursor(true);
    CPlayerRect &oldButton = m_playerRects[t.m_button];
    oldButton.m_hasButton = 0;
    Invalidate(TablePart::Button, t.m_button);
    t.m_amountToCall = t.m_bigBlind;
    for (int s = 0; s < t.m_seatCount; ++s) {
        CPlayerRect &box = m_playerRects[s];
        if (t.m_inGame[s]) {
            HideAction(s);
            t.m_bet[s] = 0;
            t.m_folded[s] = false;
            t.m_invested[s] = 0;
            t.m_lastAction[s] = kLastActionNone;
            if (box.m_showWin) {
                box.m_showWin = 0;
                Invalidate(TablePart::Win, s);
            }
            box.m_revealCards = 0;
            box.m_atShowdown = 0;
        } else {
            // A busted seat's stake of its last hand must not count as a contribution again.
            t.m_bet[s] = 0;
            t.m_invested[s] = 0;
            box.m_visible = 0;
            Invalidate(TablePart::SeatBox, s);
            if (box.m_statRect.m_visible) {
                box.m_statRect.m_visible = 0;
                Invalidate(TablePart::Statistics, s);
            }
        }
    }
    if (!m_firstHand) {
        // The big blind of the hand just played, before its events are cleared below.
        int lastBigBlind = -1;
        for (const CAction &a : m_actions)
            lastBigBlind = a.m_kind == actionkind::kBigBlind ? a.m_seat : lastBigBlind;
        t.m_button = rules::HeadsUpButton(t.Ring(), t.NextActiveSeat(t.m_button), lastBigBlind);
    }
    if (m_boardShown) {
        m_boardShown = 0;
        Invalidate(TablePart::Board);
    }
    if (m_firstHand) {
        m_actions.clear();
        AddAction(actionkind::kHandStart, -1, 0, {});
        WriteLog(gamelines::LogHandRule(), false);
        WriteLog(gamelines::kLogNewHand, false);
        ++m_handNumber;
        const std::string header = HandHeader() + " ";
        WriteHistory(header);
        WriteLog(header, false);
        WriteHistory(gamelines::Table(t.m_seatCount, t.m_button));
        for (int s = 0; s < t.m_seatCount; ++s) {
            const std::string seat = gamelines::HandSeat(s, t.m_players[s].m_name, t.m_stack[s]);
            WriteHistory(seat);
            WriteLog(seat, false);
        }
        for (int s = 0; s < t.m_seatCount; ++s)
            AddAction(actionkind::kDealtIn, s, 0, t.m_players[s].m_name);
    }
    NewHandRoutine();
    PostAntesAndBlinds();
    for (int s = 0; s < t.m_seatCount; ++s)
        HideCards(s);
    DealHoleCards();
    SetWaitCursor(false);
}

void CDunmereGame::NewHandRoutine()
{
    CGameTable &t = m_table;
    if (!m_firstHand) {
        WriteLog(gamelines::LogHandRule(), true);
        WriteLog(gamelines::kLogNewHand, true);
        ++m_handNumber;
        // The header's blanks differ between the files, as they always have.
        WriteLog("\n" + HandHeader() + " ", false);
        m_files.WriteLogText(gamelines::LogButton(t.m_button) + "\n");
        WriteHistory("\n\n" + HandHeader());
        WriteHistory(gamelines::Table(t.m_seatCount, t.m_button));
        for (int s = 0; s < t.m_seatCount; ++s)
            WriteHistory(gamelines::HandSeat(s, t.m_players[s].m_name, t.m_stack[s]));
        m_actions.clear();
        AddAction(actionkind::kHandStart, -1, 0, {});
        for (int s = 0; s < t.m_seatCount; ++s)
            AddAction(actionkind::kDealtIn, s, 0, t.m_players[s].m_name);
        AddAction(actionkind::kButton, t.m_button, 0, t.m_players[t.m_button].m_name);
    }

    const std::time_t now = Now();
    if (m_levelSeconds != 0 && now - m_levelStartTime > m_levelSeconds) {
        if (m_levelIndex + 1 < m_levelCount)
            ++m_levelIndex;
        m_levelStartTime = now;
        for (const GameType &type : m_gameTypes) {
            if (type.typeId == m_gameTypeId) {
                t.m_smallBlind = type.smallBlinds[static_cast<size_t>(m_levelIndex)];
                t.m_bigBlind = type.bigBlinds[static_cast<size_t>(m_levelIndex)];
                t.m_ante = type.antes[static_cast<size_t>(m_levelIndex)];
                break;
            }
        }
        WriteLog(gamelines::LogBlindsAnte(t.m_smallBlind, t.m_bigBlind, t.m_ante) + "\n", true);
    }

    CPlayerRect &button = m_playerRects[t.m_button];
    button.m_hasButton = 1;
    Invalidate(TablePart::Button, t.m_button);
}

std::string CDunmereGame::HandHeader() const
{
    return gamelines::HandHeader(m_handNumber, m_table.m_smallBlind, m_table.m_bigBlind,
                                 TimeText(gamelines::kTimeStamp));
}

void CDunmereGame::PostAntesAndBlinds()
{
    CGameTable &t = m_table;
    int small = 0;
    int big = 0;
    betting::PostAntesAndBlinds(t, small, big);
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (t.m_inGame[s] && t.m_invested[s] > 0)
            SetStackText(s, t.m_stack[s]);
    }
    SetPotText();

    using SeatLine = std::string (*)(int);
    using PostLine = std::string (*)(const std::string &, int);
    const auto postBlind = [&](int seat, int amount, SeatLine logLine, PostLine historyLine) {
        m_files.WriteLogText(logLine(seat) + "\n");
        WriteHistory(historyLine(t.m_players[seat].m_name, amount));
        SetActionText(seat, amount);
    };
    const rules::BlindSeats blinds = t.BlindSeats();
    postBlind(blinds.small, small, gamelines::LogSmallBlind, gamelines::PostsSmallBlind);
    postBlind(blinds.big, big, gamelines::LogBigBlind, gamelines::PostsBigBlind);
}

// ---------------------------------------------------------------------------------------------
// Dealing

namespace {

CDeck DeckOf(const int *cards, int count)
{
    CDeck deck;
    for (int i = 0; i < count; ++i)
        deck.AddCard(CCard(cards[i]));
    return deck;
}

} // namespace

void CDunmereGame::DealHoleCards()
{
    CGameTable &t = m_table;
    std::fill(std::begin(t.m_cards), std::end(t.m_cards), -1);
    // The board of the last hand is gone; decisions before the flop must not see it.
    t.m_boardCount = 0;
    m_random.SetInterval(0, 51);
    m_random.SetTimerSeed();
    for (int pass = 0; pass < 2; ++pass) {
        for (int s = 0; s < t.m_seatCount; ++s) {
            if (t.m_inGame[s] <= 0)
                continue;
            t.m_cards[2 * s + pass] = DrawUnused(2 * t.m_seatCount);
        }
    }
    for (int s = 0; s < t.m_seatCount; ++s) {
        if (!t.m_inGame[s])
            continue;
        const std::string cards = Narrow(DeckOf(&t.m_cards[2 * s], 2).display2());
        WriteLog(gamelines::LogHoleCards(s, cards), false);
        if (IsHumanPersona(t.m_players[s].m_persona))
            WriteHistory(gamelines::DealtTo(t.m_players[s].m_name, cards));
        m_playerRects[s].m_showCards = 1;
        Invalidate(TablePart::Cards, s);
    }
}

void CDunmereGame::DealFlop()
{
    CGameTable &t = m_table;
    m_random.SetInterval(0, 51);
    m_boardShown = 1;
    for (int i = 20; i < 23; ++i)
        t.m_cards[i] = DrawUnused(i);
    t.m_boardCount = 3;
    const std::string cards = Narrow(DeckOf(&t.m_cards[brisquel::kBoardFirst], 3).display2());
    WriteLog(gamelines::LogFlop(cards), true);
    WriteHistory(gamelines::Flop(cards));
    Invalidate(TablePart::Board);
}

void CDunmereGame::DealTurn()
{
    DealBoardCard(brisquel::kBoardFirst + 3, gamelines::LogTurn, gamelines::Turn);
}

void CDunmereGame::DealRiver()
{
    DealBoardCard(brisquel::kBoardFirst + 4, gamelines::LogRiver, gamelines::River);
}

// The turn and the river: one card into board slot `slot`, which is also the card count
// before it (so the draw avoids every card dealt so far).
void CDunmereGame::DealBoardCard(int slot, BoardLine logLine, BoardLine historyLine)
{
    CGameTable &t = m_table;
    m_random.SetInterval(0, 51);
    const int c = DrawUnused(slot);
    t.m_cards[slot] = c;
    t.m_boardCount = slot - 19;
    const std::string card = Narrow(CCard(c).GetName2());
    WriteLog(logLine(card), true);
    WriteHistory(historyLine(card));
    Invalidate(TablePart::Board);
}
