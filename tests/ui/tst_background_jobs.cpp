// The desktop's one way to work off the UI thread: the job asked for last is the one that
// counts, what an earlier one delivers is dropped, queued jobs each run to their end, and the
// owner may go while a job runs.

#include "ui/jobs/BackgroundJobs.h"

#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Delivers `value`, after running until no longer wanted when `held`.
CBackgroundJobs::Work Job(QList<int> &got, int value, std::atomic<bool> *held = nullptr)
{
    return [&got, value, held](const CBackgroundJobs::Job &job) {
        if (held)
            for (*held = true; job.wanted();)
                std::this_thread::yield();
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
        std::atomic<bool> held{false};
        QList<int> got;
        jobs.start(Job(got, 1, &held));
        QTRY_VERIFY(held.load());
        jobs.start(Job(got, 2)); // the first stops; what it delivers is stale
        QTRY_COMPARE(got, QList<int>{2});
        QTRY_VERIFY(!jobs.isRunning());
        jobs.start(Job(got, 3));
        jobs.stop();
        QVERIFY(!jobs.isRunning());
        QCoreApplication::processEvents();
        QCOMPARE(got, QList<int>{2});
        for (int i = 4; i <= 6; ++i)
            jobs.queue(Job(got, i)); // queued jobs all run, in turn
        QTRY_COMPARE(got, (QList<int>{2, 4, 5, 6}));
    }

    void ownerMayGoWhileAJobRuns()
    {
        std::atomic<bool> held{false};
        QList<int> got;
        auto jobs = std::make_unique<CBackgroundJobs>();
        jobs->start(Job(got, 1, &held));
        QTRY_VERIFY(held.load());
        jobs.reset(); // stops the job and waits for it; its delivery goes with the owner
        QCoreApplication::processEvents();
        QVERIFY(got.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackgroundJobs)
#include "tst_background_jobs.moc"
