// The game's threads: the deal thread draws for the button and starts the first hand, the hand
// thread then plays hand after hand until the game stops; pauses, joining and shutdown.
#include "engine/Game.h"
#include "lineformat/GameLines.h"

#include <algorithm>
#include <chrono>

bool CDunmereGame::Pause(int ms, Lock &lock, int floorMs)
{
    if (Stopping())
        throw Aborted{};
    const double scaled = std::max(ms * m_pauseFactor, double(floorMs));
    if (scaled > 0) {
        const auto length = std::chrono::duration<double, std::milli>(scaled);
        m_pauseCv.wait_for(lock, length, [this] { return Stopping(); });
        if (Stopping())
            throw Aborted{};
    } else if (m_lockWaiters.load() > 0) {
        // No pause to release the lock in: let the waiting thread in, bounded so that a
        // waiter that never arrives cannot stall the game.
        lock.unlock();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
        while (m_lockWaiters.load() > 0 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        lock.lock();
        if (Stopping())
            throw Aborted{};
    }
    return true;
}

void CDunmereGame::StartDeal()
{
    Lock lock = LockState();
    if (m_table.m_seatCount < 2)
        return;
    // Greyed at once: a second deal thread must not start before the first one greys it.
    startDealEnabled = 0;
    m_firstHand = true;
    m_dealt = true;
    std::lock_guard<std::mutex> threads(m_threadMutex);
    if (m_dealThread.joinable())
        m_finishedThreads.push_back(std::move(m_dealThread));
    ++m_liveThreads;
    m_dealThread = std::thread(&CDunmereGame::DealThreadMain, this);
}

void CDunmereGame::ThreadEnded()
{
    {
        std::lock_guard<std::mutex> threads(m_threadMutex);
        --m_liveThreads;
    }
    m_endCv.notify_all();
}

void CDunmereGame::DealThreadMain()
{
    try {
        Lock lock = LockState();
        startGameEnabled = 0;
        startDealEnabled = 0;
        playEnabled = 1;
        stopEnabled = 1;
        if (m_program)
            m_program->CommandStateChanged();
        m_firstHand = true;
        ShowButtonDraw();
        Pause(kPauseAfterSetupMs, lock);
        if (m_stopRequested) {
            m_exitRequested = true;
            lock.unlock();
            if (m_program)
                m_program->CloseProgram();
        } else {
            HandStart(lock);
        }
    } catch (const Aborted &) {
    }
    ThreadEnded();
}

void CDunmereGame::ShowButtonDraw()
{
    SetWaitCursor(true);
    for (int s = 0; s < m_table.m_seatCount; ++s) {
        m_playerRects[s].m_showCards = 1;
        Invalidate(TablePart::Cards, s);
    }
    NewHandRoutine();
    SetWaitCursor(false);
}

void CDunmereGame::HandStart(Lock &lock)
{
    MarkHandStart();
    NewHandSetup();
    m_firstHand = false;
    Pause(kPauseAfterSetupMs, lock);
    SetWaitCursor(true);
    WriteLog(gamelines::kLogPreflopStart, true);
    WriteHistory(gamelines::kHoleCards);
    // Hands chain on one owned hand thread: the first hand start launches it, and later hand
    // starts run on it, so the loop simply goes on with the next hand.
    if (!m_handThreadStarted) {
        m_handThreadStarted = true;
        std::lock_guard<std::mutex> threads(m_threadMutex);
        ++m_liveThreads;
        m_handThread = std::thread(&CDunmereGame::HandThreadMain, this);
    }
    SetWaitCursor(false);
}

void CDunmereGame::HandThreadMain()
{
    try {
        Lock lock = LockState();
        for (;;) {
            m_random.SetTimerSeed();
            PlayHand(lock);
            if (m_onHandEnd)
                m_onHandEnd(*this);
            ++m_handsCompleted;
            if (m_exitRequested || m_stopRequested) {
                // However the game ended (stopped, one player left, the human declined to add
                // chips), the hands it played are its result.
                if (m_saveResults)
                    m_saveResults(*this);
                m_resultsSaved = true;
                CloseFiles();
                // Declining to add chips has asked to close already.
                const bool closeAsked = m_exitRequested;
                m_exitRequested = true;
                lock.unlock();
                if (m_program && !closeAsked)
                    m_program->CloseProgram();
                break;
            }
            HandStart(lock);
        }
    } catch (const Aborted &) {
    }
    ThreadEnded();
}

bool CDunmereGame::GameThreadRunning()
{
    std::lock_guard<std::mutex> threads(m_threadMutex);
    return m_liveThreads > 0;
}

void CDunmereGame::WaitForGameEnd()
{
    {
        std::unique_lock<std::mutex> threads(m_threadMutex);
        m_endCv.wait(threads, [this] { return m_liveThreads == 0; });
    }
    JoinThreads();
}

void CDunmereGame::JoinThreads()
{
    for (;;) {
        std::vector<std::thread> toJoin;
        {
            std::lock_guard<std::mutex> threads(m_threadMutex);
            for (std::thread &old : m_finishedThreads)
                toJoin.push_back(std::move(old));
            m_finishedThreads.clear();
            if (m_dealThread.joinable())
                toJoin.push_back(std::move(m_dealThread));
            if (m_handThread.joinable())
                toJoin.push_back(std::move(m_handThread));
        }
        if (toJoin.empty())
            return;
        for (std::thread &thread : toJoin) {
            if (thread.get_id() != std::this_thread::get_id())
                thread.join();
            else
                thread.detach(); // Shutdown from a game thread's own callback
        }
    }
}

void CDunmereGame::Shutdown()
{
    {
        Lock lock = LockState();
        m_shutdown = true;
    }
    m_pauseCv.notify_all();
    m_humanActionEvent.Wake();
    JoinThreads();
    Lock lock = LockState();
    CloseFiles();
}
