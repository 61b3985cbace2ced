#include "pokerlib/WorkPool.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>

#include <sched.h>
#include <unistd.h>

namespace brisquel {

namespace {

// Workers beyond this are not started; a job asking for more slots runs on fewer threads,
// with the same result.
constexpr std::size_t kMaxWorkers = kMaxPoolThreads - 1;
// How long a thread watches for what it waits for before it sleeps. Waking a sleeping thread
// takes tens of microseconds, in a virtual machine over a hundred: a sizeable share of a job
// of a millisecond. A caller waits about as long as a helper's last unit takes; an idle worker
// watches for the next job for longer, since jobs come in runs (a study, a coach's questions).
constexpr std::chrono::microseconds kCallerSpin{50};
constexpr std::chrono::microseconds kIdleSpin{2000};

// Returns once busy() is false or `spin` has passed. Each look gives the core away to any
// thread waiting for it: a worker is sometimes woken onto the core of the caller that woke it
// (in a virtual machine whose other core is asleep), and one that watched with the core held
// kept the caller, and its job, off it for the whole watch.
template <typename Busy> void SpinWhile(std::chrono::microseconds spin, Busy busy)
{
    const auto until = std::chrono::steady_clock::now() + spin;
    for (unsigned i = 1; busy(); ++i) {
        sched_yield();
        if (i % 8 == 0 && std::chrono::steady_clock::now() >= until)
            return;
    }
}

struct Job
{
    std::uint64_t units = 0;
    std::size_t slots = 1;
    const std::function<bool(double)> *progress = nullptr;
    UnitWork work = nullptr;
    void *context = nullptr;

    std::atomic<std::uint64_t> next{0};
    std::atomic<bool> stop{false}, failed{false};
    std::mutex reportLock; // progress calls, done and error
    std::uint64_t done = 0;
    std::exception_ptr error;

    // Under the pool's lock.
    std::size_t slotsTaken = 1;          // the caller holds slot 0
    std::atomic<std::size_t> helpers{0}; // workers inside Work; changed under the lock only
    bool closed = false;

    bool WantsHelp() const
    {
        return !closed && slotsTaken < slots && !stop.load(std::memory_order_relaxed) &&
               next.load(std::memory_order_relaxed) < units;
    }
};

// Reports one more unit done; false once the job is stopped.
bool Report(Job &job)
{
    std::lock_guard lock(job.reportLock);
    if (job.stop.load(std::memory_order_relaxed))
        return false; // no reports once stopped
    ++job.done;       // counted under the lock, so that the shares reported only grow
    if (!(*job.progress)(double(job.done) / double(job.units)))
        job.stop = true;
    return true;
}

void Work(Job &job, std::size_t slot)
{
    for (;;) {
        if (job.stop.load(std::memory_order_relaxed))
            return;
        const std::uint64_t unit = job.next.fetch_add(1, std::memory_order_relaxed);
        if (unit >= job.units)
            return;
        try {
            if (!job.work(job.context, unit, slot)) {
                job.failed = true;
                job.stop = true;
                return;
            }
            if (*job.progress && !Report(job))
                return;
        } catch (...) { // from the work or the progress callback, for the caller to throw
            std::lock_guard lock(job.reportLock);
            if (!job.error)
                job.error = std::current_exception();
            job.stop = true;
            return;
        }
    }
}

class Pool
{
    struct Closer
    {
        Pool *pool;
        ~Closer() { pool->Close(); }
    };

public:
    // Never destroyed, so that a forked child (whose copy of the lock or of the condition
    // variables may name the parent's threads) and a job run late in the exit find it whole;
    // the workers are joined at exit.
    static Pool &Instance()
    {
        alignas(Pool) static unsigned char storage[sizeof(Pool)];
        static Pool *const pool = new (storage) Pool;
        static const Closer closer{pool};
        return *pool;
    }

    Pool() = default;
    Pool(const Pool &) = delete;
    Pool &operator=(const Pool &) = delete;

    // The workers are parked or finishing a unit; each leaves once it is idle. Jobs from then
    // on run on their callers' threads alone.
    void Close()
    {
        if (Forked())
            return; // the workers are the parent's; a join would wait for ever
        {
            std::lock_guard lock(m_lock);
            m_closing = true;
        }
        m_wake.notify_all();
        for (std::thread &worker : m_workers) {
            if (worker.get_id() == std::this_thread::get_id())
                worker.detach(); // exit called from a unit of work: this thread never returns
            else
                worker.join();
        }
        std::lock_guard lock(m_lock);
        m_workers.clear();
    }

    void Run(Job &job)
    {
        std::size_t wanted = 0;
        if (job.slots > 1 && job.units > 1 && !Forked()) {
            std::lock_guard lock(m_lock);
            if (!m_closing) {
                Grow(job.slots - 1);
                m_jobs.push_back(&job);
                m_posted.fetch_add(1, std::memory_order_relaxed);
                wanted = std::min(job.slots - 1, m_workers.size());
            }
        }
        for (std::size_t i = 0; i < wanted; ++i)
            m_wake.notify_one();
        Work(job, 0);
        if (wanted == 0)
            return;
        SpinWhile(kCallerSpin, [&job] { return job.helpers.load(std::memory_order_relaxed) != 0; });
        std::unique_lock lock(m_lock);
        job.closed = true;
        m_left.wait(lock, [&job] { return job.helpers == 0; });
        std::erase(m_jobs, &job);
    }

    std::size_t Workers()
    {
        if (Forked())
            return 0;
        std::lock_guard lock(m_lock);
        return m_workers.size();
    }

private:
    // In a child made by fork, which has none of the workers, and perhaps the lock held by one
    // of them: its jobs run on the caller's thread alone.
    bool Forked() const { return ::getpid() != m_pid; }

    // Under m_lock. A thread that cannot be started leaves the job to those there are.
    void Grow(std::size_t workers)
    {
        workers = std::min(workers, kMaxWorkers);
        try {
            while (m_workers.size() < workers)
                m_workers.emplace_back([this] { Serve(); });
        } catch (const std::system_error &) {
        }
    }

    Job *Open() const
    {
        for (Job *job : m_jobs)
            if (job->WantsHelp())
                return job;
        return nullptr;
    }

    void Serve()
    {
        std::unique_lock lock(m_lock);
        for (;;) {
            Job *job = Open();
            if (!job && !m_closing) {
                const std::uint64_t posted = m_posted.load(std::memory_order_relaxed);
                lock.unlock();
                SpinWhile(kIdleSpin,
                          [&] { return m_posted.load(std::memory_order_relaxed) == posted; });
                lock.lock();
                m_wake.wait(lock, [&] { return m_closing || (job = Open()) != nullptr; });
            }
            if (m_closing)
                return;
            const std::size_t slot = job->slotsTaken++;
            ++job->helpers;
            lock.unlock();
            Work(*job, slot);
            lock.lock();
            // The caller may return, and its job go, as soon as the lock is let go.
            if (--job->helpers == 0 && job->closed)
                m_left.notify_all();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;         // a job wants help, or the pool closes
    std::condition_variable m_left;         // a job's last helper left it
    std::vector<Job *> m_jobs;              // jobs at work
    std::atomic<std::uint64_t> m_posted{0}; // jobs ever put in m_jobs, for idle workers to watch
    std::vector<std::thread> m_workers;
    bool m_closing = false;
    const pid_t m_pid = ::getpid();
};

} // namespace

RunEnd RunPooled(std::uint64_t units, std::size_t slots,
                 const std::function<bool(double)> &progress, UnitWork work, void *context)
{
    Job job;
    job.units = units;
    job.slots = std::max<std::size_t>(slots, 1);
    job.progress = &progress;
    job.work = work;
    job.context = context;
    if (job.slots == 1)
        Work(job, 0);
    else
        Pool::Instance().Run(job);
    if (job.error)
        std::rethrow_exception(job.error);
    return job.failed ? RunEnd::kFailed : job.stop ? RunEnd::kStopped : RunEnd::kDone;
}

std::size_t PoolWorkers()
{
    return Pool::Instance().Workers();
}

} // namespace brisquel
