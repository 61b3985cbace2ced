#pragma once
// Values the options of one decision of a replayed hand by play-outs, off the UI thread, for
// the bars of the replayer: every better estimate comes back while the decision is shown.
// Asking for another decision (or for none) makes the work in hand stop at its next estimate
// and its results stale: they never reach the window.
//
// Threads: the public functions and the signals' receivers: UI thread; the valuing runs as a
// job of CBackgroundJobs.

#include "history/HistoryReader.h"
#include "playout/Advisor.h"
#include "stats/PokerStat.h"

#include "ui/jobs/BackgroundJobs.h"

#include <QObject>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

class CDecisionValuer : public QObject
{
    Q_OBJECT
public:
    explicit CDecisionValuer(QObject *parent = nullptr);
    ~CDecisionValuer() override; // stops the work in hand and waits for the worker

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

private:
    struct Request
    {
        std::shared_ptr<const history::Game> game;
        int seat = 0;
        int hand = 0;
        int action = 0;
        playout::AdviseSettings settings;
    };
    void work(const Request &request, const CBackgroundJobs::Job &job);

    // UI thread only.
    std::shared_ptr<const history::Game> m_game;
    int m_seat = 0;
    int m_hand = -1;
    int m_action = -1;
    playout::AdviseSettings m_settings;

    // The jobs': the statistics before each hand of the game last valued.
    std::mutex m_statsMutex; // guards the two below
    std::shared_ptr<const history::Game> m_statsGame;
    std::vector<std::vector<CPokerStat>> m_stats;

    CBackgroundJobs m_jobs; // last: stopped and waited for before the members above go
};
