#pragma once
// Closing the main window while a game runs: asks whether to stop, and on "Stop and save"
// ends the game at a hand boundary, saves the hands played and then closes the window. The
// end of the desktop session (SIGTERM, SIGHUP) stops and saves the same way without asking.
//
// Threads: UI thread. The signal handler only writes a byte into a pipe that a socket
// notifier reads on the UI thread.

#include <QMessageBox>
#include <QObject>
#include <QPointer>

class CDunmereApp;
class CGameSummaryWindow;
class CMainFrame;
class QSocketNotifier;

class CCloseGuard : public QObject
{
    Q_OBJECT
public:
    CCloseGuard(CDunmereApp &app, CMainFrame &frame);
    ~CCloseGuard() override;

    // From the frame's close event: true when the window may close now. Otherwise the
    // question is shown (or the save is under way) and the window closes by itself later.
    bool AllowClose();
    // Stops a running game at once, saves it and closes the window; without a game, closes it.
    void StopAndClose();
    // The game has ended by itself (stopped after a hand, one player left, no chips added):
    // the summary shows, and the window closes once it and the review windows are closed.
    // Without a hand to sum up the window closes at once, as it always did.
    void GameEnded();
    CGameSummaryWindow *summary() const;

private:
    enum class State
    {
        Idle,
        Asking,
        Saving,
        GameOver,
        Done
    };
    void onSignalByte();
    void closeWhenReviewed();
    bool eventFilter(QObject *watched, QEvent *event) override;

    CDunmereApp &m_app;
    CMainFrame &m_frame;
    State m_state = State::Idle;
    bool m_quitWhenClosed = false; // a signal asked to end the program
    QPointer<QMessageBox> m_question;
    QPointer<QWidget> m_summary;
    QSocketNotifier *m_notifier = nullptr;
};
