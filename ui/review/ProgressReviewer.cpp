#include "ui/review/ProgressReviewer.h"

CProgressReviewer::CProgressReviewer(Figure figure, QObject *parent)
    : QObject(parent)
    , m_figure(std::move(figure))
{}

CProgressReviewer::~CProgressReviewer() = default;

void CProgressReviewer::start(const QStringList &paths, Callbacks callbacks)
{
    m_jobs.start([figure = m_figure, paths,
                  callbacks = std::move(callbacks)](const CBackgroundJobs::Job &job) {
        const StillWanted stillWanted = [&job] { return job.wanted(); };
        for (int i = 0; i < paths.size() && job.wanted(); ++i) {
            if (callbacks.starting)
                job.deliver([starting = callbacks.starting, i] { starting(i); });
            GameFigures figures;
            figure(paths[i], figures, stillWanted);
            if (!job.wanted())
                return;
            if (callbacks.figured)
                job.deliver([figured = callbacks.figured, i, figures] { figured(i, figures); });
        }
        if (job.wanted() && callbacks.finished)
            job.deliver(callbacks.finished);
    });
}

void CProgressReviewer::stop()
{
    m_jobs.stop();
}

bool CProgressReviewer::isRunning() const
{
    return m_jobs.isRunning();
}
