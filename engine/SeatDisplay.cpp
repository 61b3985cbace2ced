// What the table view shows of the game: the seat boxes, the pot, the output pane and the wait
// cursor. Lock held; the interfaces only queue work.
#include "engine/Game.h"

namespace {

std::wstring NumberText(int value)
{
    return charTOwchar(std::to_string(value).c_str());
}

} // namespace

void CDunmereGame::Invalidate(TablePart part, int seat)
{
    if (m_screen)
        m_screen->Invalidate(part, seat);
}

void CDunmereGame::InvalidateAll()
{
    if (m_screen)
        m_screen->InvalidateAll();
}

void CDunmereGame::AppendPane(const std::string &text)
{
    if (m_outputPane)
        m_outputPane->AppendOutputLine(charTOwchar(text.c_str()));
}

void CDunmereGame::SetWaitCursor(bool on)
{
    if (m_screen)
        m_screen->SetWaitCursor(on);
}

void CDunmereGame::SetStackText(int s, int amount)
{
    CPlayerRect &box = m_playerRects[s];
    box.m_visible = 1;
    box.m_stackText = NumberText(amount);
    Invalidate(TablePart::SeatBox, s);
}

void CDunmereGame::SetActionText(int s, int amount)
{
    if (m_table.m_folded[s])
        return;
    CPlayerRect &box = m_playerRects[s];
    box.m_showAction = 1;
    box.m_actionText = NumberText(amount);
    Invalidate(TablePart::Action, s);
}

void CDunmereGame::HideAction(int s)
{
    CPlayerRect &box = m_playerRects[s];
    if (box.m_showAction) {
        box.m_showAction = 0;
        Invalidate(TablePart::Action, s);
    }
}

void CDunmereGame::HideCards(int s)
{
    CPlayerRect &box = m_playerRects[s];
    if (box.m_showCards) {
        box.m_showCards = 0;
        Invalidate(TablePart::Cards, s);
    }
}

void CDunmereGame::ShowStatistics(int s)
{
    if (m_table.m_inGame[s] == 0)
        return;
    CPlayerStatisticRect &stat = m_playerRects[s].m_statRect;
    stat.m_visible = 1;
    for (int i = 0; i < 4; ++i)
        stat.m_lines[i] = m_table.m_players[s].m_stat.m_lines[i];
    Invalidate(TablePart::Statistics, s);
}

void CDunmereGame::SetPotText()
{
    m_potShown = 1;
    m_potText = NumberText(m_table.m_pot);
    Invalidate(TablePart::Pot);
}
