#include "ui/review/ProgressReviewer.h"

CProgressReviewer::CProgressReviewer(Figure figure, QObject *parent)
    : QObject(parent)
    , m_figure(std::move(figure))
{
    connect(this, &CProgressReviewer::pending, this, &CProgressReviewer::deliver,
            Qt::QueuedConnection);
}

CProgressReviewer::~CProgressReviewer()
{
    for (Run &run : m_runs)
        run.wanted->store(false);
    for (Run &run : m_runs)
        run.thread.join();
}

void CProgressReviewer::start(const QStringList &paths, Callbacks callbacks)
{
    stop();
    joinFinished();
    Run run;
    run.wanted = std::make_shared<std::atomic<bool>>(true);
    run.done = std::make_shared<std::atomic<bool>>(false);
    run.thread = std::thread([this, figure = m_figure, paths, callbacks = std::move(callbacks),
                              wanted = run.wanted, done = run.done] {
        // Said last, whatever way the work ends: the thread may then be joined at once.
        struct Done
        {
            std::atomic<bool> &flag;
            ~Done() { flag.store(true); }
        } finished{*done};
        const StillWanted stillWanted = [wanted] { return wanted->load(); };
        for (int i = 0; i < paths.size() && wanted->load(); ++i) {
            if (callbacks.starting)
                post(wanted, [starting = callbacks.starting, i] { starting(i); });
            GameFigures figures;
            figure(paths[i], figures, stillWanted);
            if (!wanted->load())
                return;
            if (callbacks.figured)
                post(wanted, [figured = callbacks.figured, i, figures] { figured(i, figures); });
        }
        if (wanted->load() && callbacks.finished)
            post(wanted, callbacks.finished);
    });
    m_runs.push_back(std::move(run));
}

void CProgressReviewer::stop()
{
    if (!m_runs.empty())
        m_runs.back().wanted->store(false);
}

bool CProgressReviewer::isRunning() const
{
    return !m_runs.empty() && m_runs.back().wanted->load() && !m_runs.back().done->load();
}

void CProgressReviewer::post(const Flag &wanted, std::function<void()> call)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_calls.push_back({wanted, std::move(call)});
    }
    emit pending();
}

void CProgressReviewer::deliver()
{
    std::vector<Call> calls;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        calls.swap(m_calls);
    }
    // The wanted flag is cleared on this thread only, so a stopped run's calls stay dropped.
    for (const Call &c : calls) {
        if (c.wanted->load())
            c.call();
    }
    joinFinished();
}

void CProgressReviewer::joinFinished()
{
    for (auto it = m_runs.begin(); it != m_runs.end();) {
        if (it->done->load()) {
            it->thread.join();
            it = m_runs.erase(it);
        } else {
            ++it;
        }
    }
}
