#pragma once
// The coach at the table. While it is on and the human decides, a line under the action
// panel's buttons shows the equity against the opponents' likely hands and the equity the price
// demands; after each hand the output pane gets one line per decision of the human with its
// verdict. Nothing of it goes into the game log or the hand history.
//
// Threads:
// - DecisionStarting(), DecisionShown() and HandEnded() are called on the game thread: the
//   first two without the state mutex (DecisionStarting takes it for a moment to copy the
//   decision point), HandEnded with the mutex held (it only queues). None waits for the
//   estimate: the game never waits for it.
// - The estimates run on the controller's own worker thread; results come back to the UI
//   thread with queued calls. A result for a decision that is already over does not reach
//   the panel (it still serves the verdict after the hand).
// - Everything else: UI thread.

#include "coach/Coach.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

class CDunmereGame;
class CDlgPlayerChoose;
class COutputWnd;
class QLabel;

class CCoachController : public QObject
{
    Q_OBJECT
public:
    CCoachController(CDunmereGame &game, CDlgPlayerChoose *panel, COutputWnd *pane,
                     QObject *parent = nullptr);
    ~CCoachController() override; // stops and joins the worker

    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled.load(); }
    QLabel *line() const { return m_line; }

    // Game thread, lock not held: the human is to decide; called before the action panel is
    // prepared (DecisionStarting) and once it is (DecisionShown).
    void DecisionStarting();
    void DecisionShown();
    // Game thread, lock held: a hand has been paid out.
    void HandEnded(int handNumber);

signals:
    // UI thread: an estimate reached the panel, or a verdict line the pane (for tests).
    void panelLineShown(const QString &text);
    void paneLineWritten(const QString &text);
    // Any thread: the inbox has news for the UI thread (connected queued to ProcessInbox).
    void inboxFilled();

private:
    struct Decision
    {
        int id = 0;
        int hand = 0;
        std::string street;
        int stack = 0;
        coach::DecisionPoint point;
        std::optional<coach::Estimate> estimate;
        std::optional<coach::Move> move;
        int amount = 0;
    };
    struct Job
    {
        int id = 0;
        coach::DecisionPoint point;
    };

    // What the game thread and the worker hand to the UI thread, in order. Values travel
    // through this mutex-guarded queue rather than inside queued lambdas, so that the hand-over
    // is visible to ThreadSanitizer (Qt's own event queue is not).
    struct InboxItem
    {
        enum Kind
        {
            Register,
            Estimated,
            HandOver,
        } kind = Register;
        Decision decision;        // Register
        int id = 0;               // Estimated
        coach::Estimate estimate; // Estimated
        int hand = 0;             // HandOver
    };

    void Post(InboxItem item);
    void ProcessInbox();
    void WorkerMain();
    void OnDecided(int amount, bool fold);
    void OnEstimate(int id, const coach::Estimate &estimate);
    void OnHandEnded(int handNumber);
    void FlushFinishedHands();

    CDunmereGame &m_game;
    CDlgPlayerChoose *m_panel;
    COutputWnd *m_pane;
    QLabel *m_line = nullptr;
    std::atomic<bool> m_enabled{false};

    // UI thread only.
    std::map<int, Decision> m_decisions; // by id, in order
    int m_openDecision = 0;              // the decision the panel is showing, 0 when none
    int m_lastEndedHand = 0;

    // Shared with the worker and the game thread.
    std::mutex m_jobsMutex;
    std::condition_variable m_jobsCv;
    std::deque<Job> m_jobs;
    std::deque<InboxItem> m_inbox;
    std::optional<Job> m_startingJob; // between DecisionStarting and DecisionShown
    bool m_stopping = false;
    int m_nextId = 0;
    std::thread m_worker;
};
