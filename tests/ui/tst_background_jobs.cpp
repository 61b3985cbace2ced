// The desktop's one way to work off the UI thread: the job asked for last is the one that
// counts, what an earlier one delivers is dropped, queued jobs each run to their end, and the
// owner may go while a job runs.

#include "ui/jobs/BackgroundJobs.h"

#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// A job that runs until it is no longer wanted, then tries to deliver `value`.
CBackgroundJobs::Work Until(std::atomic<bool> &started, QList<int> &got, int value)
{
    return [&started, &got, value](const CBackgroundJobs::Job &job) {
        started = true;
        while (job.wanted())
            std::this_thread::yield();
        job.deliver([&got, value] { got << value; });
    };
}

CBackgroundJobs::Work Deliver(QList<int> &got, int value)
{
    return [&got, value](const CBackgroundJobs::Job &job) {
        job.deliver([&got, value] { got << value; });
    };
}

} // namespace

class TestBackgroundJobs : public QObject
{
    Q_OBJECT
private slots:
    void onlyTheLastJobDelivers()
    {
        CBackgroundJobs jobs;
        std::atomic<bool> started{false};
        QList<int> got;
        jobs.start(Until(started, got, 1));
        QTRY_VERIFY(started.load());
        jobs.start(Deliver(got, 2)); // the first stops; what it delivers is stale
        QTRY_COMPARE(got, QList<int>{2});
        QTRY_VERIFY(!jobs.isRunning());
        jobs.start(Deliver(got, 3));
        jobs.stop();
        QVERIFY(!jobs.isRunning());
        QCoreApplication::processEvents();
        QCOMPARE(got, QList<int>{2});
    }

    void queuedJobsAllDeliverInOrder()
    {
        CBackgroundJobs jobs;
        QList<int> got;
        for (int i = 1; i <= 5; ++i)
            jobs.queue(Deliver(got, i));
        QTRY_COMPARE(got, (QList<int>{1, 2, 3, 4, 5}));
    }

    void ownerMayGoWhileAJobRuns()
    {
        std::atomic<bool> started{false};
        QList<int> got;
        auto jobs = std::make_unique<CBackgroundJobs>();
        jobs->start(Until(started, got, 1));
        QTRY_VERIFY(started.load());
        jobs.reset(); // stops the job and waits for it; its delivery goes with the owner
        QCoreApplication::processEvents();
        QVERIFY(got.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackgroundJobs)
#include "tst_background_jobs.moc"
