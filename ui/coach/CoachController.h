#pragma once
// The coach at the table. While it is on and the human decides, a line under the action
// panel's buttons shows the equity against the opponents' likely hands and the equity the price
// demands, and a second line the value of every option from play-outs ("Best: raise to 60 ·
// call −0.4 bb"), refined while the human thinks; after each hand the output pane gets per
// decision of the human its verdict line and a line with the options' values and the grade of
// the move. Nothing of it goes into the game log or the hand history.
//
// Threads:
// - DecisionStarting(), DecisionShown() and HandEnded() are called on the game thread: the
//   first two without the state mutex (DecisionStarting takes it for a moment to copy the
//   decision point), HandEnded with the mutex held (it only queues). None waits for the
//   estimate: the game never waits for it.
// - The estimates and the play-outs run as jobs of two CBackgroundJobs (an equity line must
//   not wait for the play-outs of an earlier decision), each decision's in turn; results come
//   back to the UI thread after the decision's registration. A result for a decision that is
//   already over
//   does not reach the panel (it still serves the pane after the hand). The play-outs of a
//   decision stop at their next estimate once the human has acted, the hand has ended, the
//   coach is off or the controller is going.
// - Everything else: UI thread.

#include "coach/Coach.h"
#include "coach/Review.h"
#include "playout/Advice.h"
#include "practice/Deck.h"
#include "ui/jobs/BackgroundJobs.h"

#include <QObject>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

class CDunmereGame;
class CDlgPlayerChoose;
class COutputWnd;
class QLabel;

namespace playout {
struct HandSoFar;
}

class CCoachController : public QObject
{
    Q_OBJECT
public:
    CCoachController(CDunmereGame &game, CDlgPlayerChoose *panel, COutputWnd *pane,
                     QObject *parent = nullptr);
    ~CCoachController() override; // stops the estimates and the play-outs and waits for them

    void setEnabled(bool on);
    // Practice.db3: a decision after a hand that matches spots drilled there gets a line
    // "you drilled this spot: 4 of 5 right". Empty: none. The file is never created here.
    void setDrillStore(const std::string &path) { m_drillStore = path; }
    bool isEnabled() const { return m_enabled.load(); }
    QLabel *line() const { return m_line; }
    // The options' values while the human decides.
    QLabel *adviceLine() const { return m_adviceLine; }

    // Game thread, lock not held: the human is to decide; called before the action panel is
    // prepared (DecisionStarting) and once it is (DecisionShown).
    void DecisionStarting();
    void DecisionShown();
    // Game thread, lock held: a hand has been paid out.
    void HandEnded(int handNumber);

signals:
    // UI thread: an estimate reached the panel, or a verdict line the pane (for tests).
    void panelLineShown(const QString &text);
    // UI thread: an estimate of the options' values reached the panel.
    void adviceShown(const QString &text);
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
        bool fold = false;
        std::optional<playout::Advice> advice; // the latest; final once the work stopped
        // Where the practice deck would file the decision.
        history::Street deckStreet = history::Street::Preflop;
        coach::Position position = coach::Position::Early;
        practice::Faced faced = practice::Faced::None;
    };
    // The ranges the hand so far gives the opponents, read once per decision by whichever of
    // the two workers (equity line, play-outs) needs them first.
    struct SharedRanges
    {
        std::once_flag once;
        std::vector<playout::HandWeights> weights;
    };

    struct Job
    {
        int id = 0;
        coach::DecisionPoint point;
        std::shared_ptr<const playout::HandSoFar> hand;
        std::shared_ptr<SharedRanges> ranges = std::make_shared<SharedRanges>();
    };
    static const std::vector<playout::HandWeights> &RangesOf(const Job &job);

    // What the game thread hands to the UI thread, in order. Values travel through this
    // mutex-guarded queue rather than inside queued lambdas, so that the hand-over is visible
    // to ThreadSanitizer (Qt's own event queue is not).
    struct InboxItem
    {
        enum Kind
        {
            Register,
            HandOver,
        } kind = Register;
        Decision decision; // Register
        int hand = 0;      // HandOver
    };

    void Post(InboxItem item);
    void ProcessInbox();
    // Estimator's job: the equity line of one decision.
    void Estimate(const Job &job, const CBackgroundJobs::Job &work);
    void OnDecided(int amount, bool fold);
    void OnEstimate(int id, const coach::Estimate &estimate);
    void OnAdvice(int id, playout::Advice advice);
    // Adviser's job: values the options of one decision, delivering every estimate.
    void AdviseOn(const Job &job, const CBackgroundJobs::Job &work);
    void OnHandEnded(int handNumber);
    void FlushFinishedHands();
    std::string DrilledLine(const Decision &decision);

    CDunmereGame &m_game;
    CDlgPlayerChoose *m_panel;
    COutputWnd *m_pane;
    QLabel *m_line = nullptr;
    QLabel *m_adviceLine = nullptr;
    std::atomic<bool> m_enabled{false};
    // The decision the human is taking now, 0 when none: the play-outs of any other stop.
    std::atomic<int> m_liveDecision{0};

    // UI thread only.
    std::map<int, Decision> m_decisions; // by id, in order
    int m_openDecision = 0;              // the decision the panel is showing, 0 when none
    int m_lastEndedHand = 0;
    std::string m_drillStore;
    int m_drillsReadForHand = -1;
    std::vector<practice::Spot> m_drillSpots;
    std::vector<practice::Try> m_drillTries;

    // Shared with the game thread.
    std::mutex m_jobsMutex;
    std::deque<InboxItem> m_inbox;
    std::optional<Job> m_startingJob; // between DecisionStarting and DecisionShown
    int m_nextId = 0;
    // The estimator's jobs' only: one stream of numbers for every decision of the game.
    coach::Estimator m_estimates;
    // Last, so that they stop first.
    CBackgroundJobs m_estimator; // the equity estimates: quick, never behind the play-outs
    CBackgroundJobs m_adviser;   // the play-outs
};
