#pragma once
// A manual-reset event: stays signalled until Reset. Any thread may call any member.

#include <condition_variable>
#include <mutex>

class ManualResetEvent
{
public:
    void Set()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_signalled = true;
        }
        m_cv.notify_all();
    }

    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_signalled = false;
    }

    bool IsSet() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_signalled;
    }

    // Waits without time-out until the event is set or cancel() becomes true; cancel is
    // re-evaluated whenever someone calls Set or Wake. Returns true if the event was set.
    template <class Cancel> bool Wait(Cancel cancel)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [&] { return m_signalled || cancel(); });
        return m_signalled;
    }

    // Wakes waiters so that they re-check their cancel condition; the state is unchanged.
    void Wake()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
        }
        m_cv.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled = false;
};
