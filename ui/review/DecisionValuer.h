#pragma once
// Values the options of one decision of a replayed hand by play-outs, on a worker thread of
// its own, for the bars of the replayer: every better estimate comes back while the decision
// is shown. Asking for another decision (or for none) makes the work in hand stop at its next
// estimate and its results stale: they never reach the window.
//
// Threads: the public functions and the signals' receivers: UI thread. The worker reads its
// requests and hands its results over under m_mutex; inboxFilled announces them (queued).

#include "history/HistoryReader.h"
#include "playout/Advisor.h"
#include "stats/PokerStat.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CDecisionValuer : public QObject
{
    Q_OBJECT
public:
    explicit CDecisionValuer(QObject *parent = nullptr);
    ~CDecisionValuer() override; // stops the work in hand and joins the worker

    // The game whose decisions are asked about next, and whose seat decides.
    void setGame(std::shared_ptr<const history::Game> game, int seat);
    // The seat's decision at game().hands[hand].actions[action] (not a blind or an ante); a
    // request for the one in hand already changes nothing (false).
    bool request(int hand, int action);
    // Nothing to value any more.
    void cancel();
    // How the play-outs run (tests make them short and repeatable).
    void setSettings(const playout::AdviseSettings &settings) { m_settings = settings; }

signals:
    // UI thread: values of the decision asked for last, `chosen` set to what the seat did.
    void advised(const playout::Advice &advice, bool exactChoice);
    // UI thread: the decision asked for last cannot be valued.
    void unavailable(const QString &reason);
    // Worker thread: results wait in the inbox (connected queued to takeResults).
    void inboxFilled();

private:
    struct Request
    {
        int generation = 0;
        std::shared_ptr<const history::Game> game;
        int seat = 0;
        int hand = 0;
        int action = 0;
        playout::AdviseSettings settings;
    };
    struct Result
    {
        int generation = 0;
        bool valued = false;
        playout::Advice advice;
        bool exact = true;
        QString reason;
    };
    void workerMain();
    void work(const Request &request);
    void post(Result result);
    void takeResults();
    bool current(int generation);

    // UI thread only.
    std::shared_ptr<const history::Game> m_game;
    int m_seat = 0;
    int m_hand = -1;
    int m_action = -1;
    int m_shownGeneration = 0;
    playout::AdviseSettings m_settings;

    // Worker only: the statistics before each hand of the game last valued.
    std::shared_ptr<const history::Game> m_statsGame;
    std::vector<std::vector<CPokerStat>> m_stats;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Request> m_pending; // guarded by m_mutex, as the three below
    std::deque<Result> m_inbox;
    int m_generation = 0;
    bool m_stopping = false;
    std::thread m_worker;
};
