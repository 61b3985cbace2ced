#pragma once
// Works out the figures of games one after another on a worker thread, for the Progress
// window, which must never wait on a review.
//
// Threads: construct, start, stop and destroy on the UI thread. The callbacks given to start()
// run on the UI thread; the figure function runs on the worker thread (CBackgroundJobs).

#include "ui/review/ProgressFigures.h"

#include "ui/jobs/BackgroundJobs.h"

#include <QObject>
#include <QStringList>

#include <functional>

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

private:
    Figure m_figure;
    CBackgroundJobs m_jobs;
};
