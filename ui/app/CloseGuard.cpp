#include "ui/app/CloseGuard.h"

#include "engine/Game.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/coach/CoachController.h"
#include "ui/review/GameSummaryWindow.h"
#include "ui/review/HandsWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void OnSessionEndSignal(int)
{
    // Only async-signal-safe work here: the UI thread does the rest.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

void SetSignalHandlers(void (*handler)(int))
{
    struct sigaction action
    {
    };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace

CCloseGuard::CCloseGuard(CDunmereApp &app, CMainFrame &frame)
    : QObject(&frame)
    , m_app(app)
    , m_frame(frame)
{
    if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CCloseGuard::onSignalByte);
    SetSignalHandlers(OnSessionEndSignal);
}

CCloseGuard::~CCloseGuard()
{
    // Once the window is gone a signal ends the program as usual.
    if (m_notifier)
        SetSignalHandlers(SIG_DFL);
}

void CCloseGuard::onSignalByte()
{
    char bytes[16];
    while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    // The session is ending: the program quits even with review windows open, and a question
    // about a failed save is answered "keep for later".
    m_quitWhenClosed = true;
    m_app.DismissSaveQuestion();
    if (m_state == State::GameOver || m_state == State::Done) {
        m_state = State::Done;
        m_frame.close();
        QCoreApplication::quit();
        return;
    }
    StopAndClose();
}

bool CCloseGuard::AllowClose()
{
    switch (m_state) {
    case State::Done:
    case State::GameOver:
        return true;
    case State::Saving:
        return false; // the window closes as soon as the save is done
    case State::Asking:
        if (m_question)
            m_question->raise();
        return false;
    case State::Idle:
        break;
    }
    if (!m_app.Game().InProgress())
        return true;

    m_state = State::Asking;
    int completed = 0;
    {
        auto lock = m_app.Game().LockState();
        completed = m_app.Game().m_handsCompleted;
    }
    // Before the first hand ends there are no results: the question says so rather than
    // promise a save that leaves nothing behind.
    auto *box = new QMessageBox(
        QMessageBox::Question, tr("Brisquel"),
        completed > 0 ? tr("Stop the game now? The results of the hands played so far are saved.")
                      : tr("Stop the game now? No hand is complete yet: there is nothing to save, "
                           "and the hand under way is not kept."),
        QMessageBox::NoButton, &m_frame);
    box->setObjectName(QStringLiteral("StopGameQuestion"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *stop = box->addButton(tr("Stop and save"), QMessageBox::AcceptRole);
    stop->setObjectName(QStringLiteral("StopAndSave"));
    QPushButton *keep = box->addButton(tr("Keep playing"), QMessageBox::RejectRole);
    keep->setObjectName(QStringLiteral("KeepPlaying"));
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    connect(box, &QMessageBox::finished, this, [this, box, stop] {
        if (m_state != State::Asking)
            return;
        m_state = State::Idle;
        if (box->clickedButton() == stop)
            StopAndClose();
    });
    m_question = box;
    box->open();
    return false;
}

void CCloseGuard::StopAndClose()
{
    if (m_state == State::Saving || m_state == State::Done)
        return;
    m_state = State::Saving;
    if (m_question)
        m_question->close();
    m_app.StopGameNow([this] {
        // A session that is ending has no one to answer a question.
        m_app.ConfirmSaved(!m_quitWhenClosed, [this] {
            m_state = State::Done;
            m_frame.close();
            if (m_quitWhenClosed)
                QCoreApplication::quit();
        });
    });
}

CGameSummaryWindow *CCloseGuard::summary() const
{
    return qobject_cast<CGameSummaryWindow *>(m_summary.data());
}

void CCloseGuard::GameEnded()
{
    if (m_state == State::Saving || m_state == State::Done || m_state == State::GameOver) {
        m_frame.close();
        return;
    }
    if (m_question)
        m_question->close();
    // The game thread writes its last lines after it asked to close when the human declined
    // to add chips: the file is read once it is done.
    m_app.Game().WaitForGameEnd();
    std::string path;
    {
        auto lock = m_app.Game().LockState();
        path = m_app.Game().HandHistoryPath();
    }
    history::Game game;
    std::string error;
    if (path.empty() || !history::ReadGameFile(path, game, error) || game.hands.empty()) {
        m_state = State::Done;
        m_frame.close();
        return;
    }
    m_state = State::GameOver;
    auto *window =
        new CGameSummaryWindow(game, m_frame.coach() && m_frame.coach()->isEnabled(), &m_frame);
    m_summary = window;
    connect(window, &QObject::destroyed, this, &CCloseGuard::closeWhenReviewed,
            Qt::QueuedConnection);
    connect(window, &CGameSummaryWindow::reviewRequested, this, [this](int handIndex) {
        m_frame.OnReviewHands();
        if (CHandsWindow *hands = m_frame.handsWindow()) {
            hands->selectRow(handIndex);
            hands->installEventFilter(this);
        }
    });
    window->show();
    window->raise();
    window->activateWindow();
}

bool CCloseGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched == m_frame.handsWindow())
        QTimer::singleShot(0, this, &CCloseGuard::closeWhenReviewed);
    return QObject::eventFilter(watched, event);
}

void CCloseGuard::closeWhenReviewed()
{
    if (m_state != State::GameOver)
        return;
    const CHandsWindow *hands = m_frame.handsWindow();
    if ((m_summary && m_summary->isVisible()) || (hands && hands->isVisible()))
        return;
    m_state = State::Done;
    m_frame.close();
}
