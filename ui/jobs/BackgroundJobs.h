#pragma once
// Work off the UI thread for a window that must never wait: one worker thread runs the job
// asked for last. Asking for another job with start(), or stopping, makes the jobs in hand
// unwanted: they should end at their next check of wanted(), and whatever they still deliver
// is dropped. Jobs added with queue() run one after another, each to its end.
//
// Threads: construct, start, stop, isRunning and destroy on the UI thread; queue on any
// thread. The work runs on
// the worker; what it delivers runs on the UI thread (queued), and only while its job is
// still the one wanted. Destroying the object stops the job and waits for the worker, so a
// window may close while its job runs.

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
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

    // Makes the jobs in hand unwanted and runs `work` once the worker is free of them.
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
