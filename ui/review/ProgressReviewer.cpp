#include "ui/review/ProgressReviewer.h"

#include <QMetaObject>

CProgressReviewer::CProgressReviewer(Figure figure)
    : m_figure(std::move(figure))
{}

CProgressReviewer::~CProgressReviewer()
{
    for (Run &run : m_runs)
        run.wanted->store(false);
    for (Run &run : m_runs)
        run.thread.join();
}

void CProgressReviewer::start(const QStringList &paths, QObject *context, Callbacks callbacks)
{
    stop();
    joinFinished();
    Run run;
    run.wanted = std::make_shared<std::atomic<bool>>(true);
    run.done = std::make_shared<std::atomic<bool>>(false);
    // Callbacks go through the context's event queue; a stopped run's late ones are dropped
    // there, by the wanted flag, which only the UI thread clears.
    auto post = [context, wanted = run.wanted](std::function<void()> call) {
        QMetaObject::invokeMethod(
            context,
            [wanted, call = std::move(call)] {
                if (wanted->load())
                    call();
            },
            Qt::QueuedConnection);
    };
    run.thread = std::thread([figure = m_figure, paths, callbacks = std::move(callbacks), post,
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
                post([starting = callbacks.starting, i] { starting(i); });
            GameFigures figures;
            figure(paths[i], figures, stillWanted);
            if (!wanted->load())
                return;
            if (callbacks.figured)
                post([figured = callbacks.figured, i, figures] { figured(i, figures); });
        }
        if (wanted->load() && callbacks.finished)
            post(callbacks.finished);
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
