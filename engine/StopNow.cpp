// Ending a game in the middle of a hand (the window closes, the desktop session ends) without
// losing the hands already played.
#include "engine/Game.h"

void CDunmereGame::MarkHandStart()
{
    for (int s = 0; s < 10; ++s) {
        m_handStart.stacks[s] = m_table.m_stack[s];
        m_handStart.stats[s] = m_table.m_players[s].m_stat;
    }
    m_handStart.chipsAdded = m_chipsAdded;
    m_handStart.handsCompleted = m_handsCompleted;
    m_handStart.files = m_files.Here();
}

bool CDunmereGame::InProgress()
{
    Lock lock = LockState();
    return m_dealt && !m_resultsSaved && !m_exitRequested && !Stopping();
}

void CDunmereGame::InterruptGame()
{
    {
        Lock lock = LockState();
        if (!m_dealt || m_resultsSaved || m_exitRequested || Stopping())
            return;
        m_stopNow = true;
        m_shutdown = true;
    }
    m_pauseCv.notify_all();
    m_humanActionEvent.Wake();
}

bool CDunmereGame::StopNowAndSave()
{
    InterruptGame();
    JoinThreads();
    Lock lock = LockState();
    // A game that ended by itself before the interruption took hold has saved already.
    const bool stopHere = m_stopNow && !m_resultsSaved;
    if (stopHere) {
        CGameTable &t = m_table;
        for (int s = 0; s < 10; ++s) {
            t.m_stack[s] = m_handStart.stacks[s];
            t.m_players[s].m_stat = m_handStart.stats[s];
            t.m_bet[s] = 0;
            t.m_invested[s] = 0;
        }
        t.m_pot = 0;
        m_chipsAdded = m_handStart.chipsAdded;
        m_handsCompleted = m_handStart.handsCompleted;
        // Both files end where the unfinished hand began, as if it had never been dealt.
        m_files.CutBackTo(m_handStart.files);
        if (m_handsCompleted > 0 && m_saveResults)
            m_saveResults(*this);
        m_resultsSaved = true;
    }
    CloseFiles();
    return stopHere;
}
