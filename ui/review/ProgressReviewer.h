#pragma once
// Works out the figures of games one after another on a worker thread, for the Progress
// window, which must never wait on a review.
//
// Threads: construct, start, stop and destroy on the UI thread. The callbacks given to start()
// run on the UI thread; the figure function runs on the worker thread. The worker leaves its
// results in m_calls under m_mutex and announces them with pending(), connected queued.

#include "ui/review/ProgressFigures.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CProgressReviewer : public QObject
{
    Q_OBJECT
public:
    using Figure =
        std::function<bool(const QString &path, GameFigures &figures, const StillWanted &wanted)>;
    struct Callbacks
    {
        std::function<void(int index)> starting;                     // game `index` is next
        std::function<void(int index, const GameFigures &)> figured; // not called when stopped
        std::function<void()> finished;                              // every game done
    };

    explicit CProgressReviewer(Figure figure, QObject *parent = nullptr);
    // Stops the work and waits for the worker (it stops at the review's next decision).
    ~CProgressReviewer() override;

    // Stops any earlier run, then figures `paths` in order. A stopped run calls nothing more.
    void start(const QStringList &paths, Callbacks callbacks);
    // Asks the worker to stop and returns at once.
    void stop();
    // A run is going on and has not been stopped.
    bool isRunning() const;

signals:
    // Worker thread: calls wait in m_calls.
    void pending();

private:
    using Flag = std::shared_ptr<std::atomic<bool>>;
    struct Run
    {
        std::thread thread;
        Flag wanted;
        Flag done;
    };
    struct Call
    {
        Flag wanted; // the run's: a call of a stopped run is dropped
        std::function<void()> call;
    };
    // Worker thread: queues a call for the UI thread.
    void post(const Flag &wanted, std::function<void()> call);
    // UI thread: runs the calls waiting.
    void deliver();
    // Joins the runs whose threads have ended.
    void joinFinished();

    Figure m_figure;
    std::vector<Run> m_runs; // the last one is the current run
    std::mutex m_mutex;
    std::vector<Call> m_calls; // guarded by m_mutex
};
