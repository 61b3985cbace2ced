#include "ui/jobs/BackgroundJobs.h"

bool CBackgroundJobs::Job::wanted() const
{
    return m_owner.m_generation.load() == m_generation;
}

void CBackgroundJobs::Job::deliver(std::function<void()> call) const
{
    {
        std::lock_guard<std::mutex> lock(m_owner.m_mutex);
        m_owner.m_inbox.emplace_back(m_generation, std::move(call));
    }
    emit m_owner.inboxFilled();
}

CBackgroundJobs::CBackgroundJobs(QObject *parent)
    : QObject(parent)
{
    connect(this, &CBackgroundJobs::inboxFilled, this, &CBackgroundJobs::takeInbox,
            Qt::QueuedConnection);
    m_worker = std::thread(&CBackgroundJobs::workerMain, this);
}

CBackgroundJobs::~CBackgroundJobs()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_pending.clear();
        ++m_generation;
    }
    m_wake.notify_all();
    m_worker.join();
    for (Started &started : m_started)
        started.thread.join();
}

void CBackgroundJobs::start(Work work)
{
    int generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        generation = ++m_generation;
        m_pending.clear();
    }
    joinFinished();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, work = std::move(work), generation, done] {
        work(Job(*this, generation));
        done->store(true); // said last: the thread may be joined at once
    });
    m_started.push_back({std::move(thread), generation, std::move(done)});
}

void CBackgroundJobs::joinFinished()
{
    std::erase_if(m_started, [](Started &started) {
        if (!started.done->load())
            return false;
        started.thread.join();
        return true;
    });
}

void CBackgroundJobs::queue(Work work)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.push_back(std::move(work));
    }
    m_wake.notify_one();
}

void CBackgroundJobs::stop()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_generation;
    m_pending.clear();
}

bool CBackgroundJobs::isRunning() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Started &started : m_started)
        if (started.generation == m_generation.load() && !started.done->load())
            return true;
    return !m_pending.empty() || m_running.load() == m_generation.load();
}

void CBackgroundJobs::workerMain()
{
    for (;;) {
        Work work;
        int generation = 0;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_pending.empty(); });
            if (m_stopping)
                return;
            work = std::move(m_pending.front());
            m_pending.pop_front();
            generation = m_generation.load();
            m_running.store(generation);
        }
        work(Job(*this, generation));
        m_running.store(-1);
    }
}

void CBackgroundJobs::takeInbox()
{
    std::vector<std::pair<int, std::function<void()>>> calls;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        calls.swap(m_inbox);
    }
    // The generation changes on this thread only: a call of a job no longer wanted stays
    // dropped.
    for (const auto &[generation, call] : calls)
        if (generation == m_generation.load())
            call();
    joinFinished();
}
