#pragma once
// Works out the figures of games one after another on a worker thread, for the Progress
// window, which must never wait on a review.
//
// Threads: construct, start, stop and destroy on the UI thread. The callbacks given to start()
// run on the UI thread, queued to `context`; the figure function runs on the worker thread.

#include "ui/review/ProgressFigures.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CProgressReviewer
{
public:
    using Figure =
        std::function<bool(const QString &path, GameFigures &figures, const StillWanted &wanted)>;
    struct Callbacks
    {
        std::function<void(int index)> starting;                     // game `index` is next
        std::function<void(int index, const GameFigures &)> figured; // not called when stopped
        std::function<void()> finished;                              // every game done
    };

    explicit CProgressReviewer(Figure figure);
    // Stops the work and waits for the worker (it stops at the review's next decision).
    ~CProgressReviewer();
    CProgressReviewer(const CProgressReviewer &) = delete;
    CProgressReviewer &operator=(const CProgressReviewer &) = delete;

    // Stops any earlier run, then figures `paths` in order. A stopped run calls nothing more.
    // `context` must outlive this object.
    void start(const QStringList &paths, QObject *context, Callbacks callbacks);
    // Asks the worker to stop and returns at once.
    void stop();
    // A run is going on and has not been stopped.
    bool isRunning() const;

private:
    struct Run
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> wanted;
        std::shared_ptr<std::atomic<bool>> done;
    };
    // Joins the runs whose threads have ended.
    void joinFinished();

    Figure m_figure;
    std::vector<Run> m_runs; // the last one is the current run
};
