#pragma once
// Work off the UI thread for a window that must never wait. A job asked for with start() runs
// at once on a thread of its own and makes the jobs in hand unwanted, as stop() does: they
// should end at their next check of wanted(), and whatever they still deliver is dropped; the
// UI thread never waits for them but on destruction. Jobs added with queue() run one after
// another on one worker, each to its end.
//
// Threads: construct, start, stop, isRunning and destroy on the UI thread; queue on any
// thread. What a job delivers runs on the UI thread (queued), and only while its job is still
// wanted. Destroying the object stops the jobs and waits for them, so a window may close
// while its job runs.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class CBackgroundJobs : public QObject
{
    Q_OBJECT
public:
    // What the work gets to ask whether it is still wanted and to hand results over.
    class Job
    {
    public:
        // False once another job was asked for, or the jobs were stopped.
        bool wanted() const;
        // Runs `call` on the UI thread, unless the job is no longer wanted by then.
        void deliver(std::function<void()> call) const;

    private:
        friend class CBackgroundJobs;
        Job(CBackgroundJobs &owner, int generation)
            : m_owner(owner)
            , m_generation(generation)
        {}
        CBackgroundJobs &m_owner;
        int m_generation;
    };
    using Work = std::function<void(const Job &)>;

    explicit CBackgroundJobs(QObject *parent = nullptr);
    ~CBackgroundJobs() override;

    // Makes the jobs in hand unwanted and runs `work` at once.
    void start(Work work);
    // Runs `work` after the jobs asked for before it, none of them made unwanted.
    void queue(Work work);
    // Makes the job in hand unwanted; returns at once.
    void stop();
    // A job is waiting, or running and still wanted.
    bool isRunning() const;

signals:
    // Worker thread: deliveries wait in m_inbox (connected queued to takeInbox).
    void inboxFilled();

private:
    void workerMain();
    void takeInbox();
    // Joins the started jobs' threads that have ended.
    void joinFinished();

    struct Started
    {
        std::thread thread;
        int generation = 0;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Started> m_started; // UI thread only

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Work> m_pending; // guarded by m_mutex
    bool m_stopping = false;    // guarded by m_mutex
    // Guarded by m_mutex: the hand-over goes through a lock of ours, not only Qt's event queue,
    // so that ThreadSanitizer sees it.
    std::vector<std::pair<int, std::function<void()>>> m_inbox;
    // Changed on the UI thread only; the worker and the deliveries compare their job's with it.
    std::atomic<int> m_generation{0};
    std::atomic<int> m_running{-1}; // the generation of the job the worker runs, -1 for none
    std::thread m_worker;
};
