#include "ui/app/DunmereApp.h"

#include "places/BrisquelVersion.h"
#include "ui/coach/CoachController.h"
#include "opponents/Decisions.h"
#include "ui/app/DlgAddChips.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/table_view/DunmereView.h"
#include "places/FilePlaces.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/MainFrame.h"
#include "ui/output_pane/OutputWnd.h"
#include "storage/SessionSave.h"

#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

CDunmereApp::CDunmereApp(int &argc, char **argv, AppOptions options)
    : QApplication(argc, argv)
    , m_options(std::move(options))
{
    setOrganizationName(QStringLiteral("Ostrivane"));
    setApplicationName(QStringLiteral("Brisquel"));
    setApplicationVersion(QString::fromLatin1(kBrisquelVersion));
    setDesktopFileName(QStringLiteral("Ostrivane.Brisquel.1"));
    m_decider = std::make_unique<CPersonaDecider>();
}

CDunmereApp::~CDunmereApp()
{
    ExitInstance();
}

bool CDunmereApp::InitInstance()
{
    if (!m_options.workFolder.isEmpty() && !QDir::setCurrent(m_options.workFolder))
        return false;

    const double pace =
        m_options.paceFromSettings ? CMainFrame::SavedPace() : m_options.pauseFactor;
    m_game.SetPauseFactor(pace);
    if (m_options.seeded)
        m_game.SetSeed(m_options.seed);
    ChooseFolders();
    m_game.SetOutputFolder(QDir::toNativeSeparators(m_textFolder).toStdString());
    m_game.SetDecider(m_decider.get());
    m_game.SetOutputPane(this);
    m_game.SetHumanPlayer(this);
    m_game.SetProgram(this);

    m_frame = std::make_unique<CMainFrame>(*this);
    m_frame->ShowPace(pace);
    // Game thread, lock held: the coach only queues its verdicts.
    m_game.m_onHandEnd = [this](CDunmereGame &game) {
        if (m_frame && m_frame->coach())
            m_frame->coach()->HandEnded(game.m_handNumber);
    };
    m_game.SetScreen(m_frame->view());
    m_frame->resize(kFrameWidth, kFrameHeight);
    if (m_options.showWindow)
        m_frame->show();
    {
        auto lock = m_game.LockState();
        m_game.m_windowReady = 1;
    }
    m_frame->view()->update();

    OpenDatabase();
    m_game.m_humanActionEvent.Reset();
    if (!m_folderProblem.isEmpty())
        WarnAboutFolder();
    return true;
}

void CDunmereApp::ChooseFolders()
{
    // A test's working folder holds every file, unless a data folder is named.
    m_textFolder = m_databaseFolder = QDir::currentPath();
    if (!m_options.workFolder.isEmpty() && m_options.dataFolder.isEmpty())
        return;
    const QString program =
        m_options.programFolder.isEmpty() ? applicationDirPath() : m_options.programFolder;
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const std::filesystem::path data = ChooseDataFolder(
        program.toStdString(), m_options.dataFolder.toStdString(), userData.toStdString());
    if (data.empty()) {
        // The build tree's places: the files beside the program, the database here.
        m_textFolder = program;
        return;
    }
    m_textFolder = m_databaseFolder = QString::fromStdString(data.string());
    m_folderProblem = QString::fromStdString(PrepareFolder(data));
}

QString CDunmereApp::FilesText() const
{
    const QString text = QDir::toNativeSeparators(m_textFolder);
    QString result = m_textFolder == m_databaseFolder
                         ? QStringLiteral("Files: %1").arg(text)
                         : QStringLiteral("Game log and hand histories: %1\nResults: %2")
                               .arg(text, QDir::toNativeSeparators(m_databaseFolder));
    if (!m_folderProblem.isEmpty())
        result += QStringLiteral("\nNot saved: Brisquel %1").arg(m_folderProblem);
    return result;
}

void CDunmereApp::WarnAboutFolder()
{
    // Not modal for the application: the game can be played all the same.
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Brisquel"),
                                QStringLiteral("Brisquel %1.").arg(m_folderProblem),
                                QMessageBox::Ok, m_frame.get());
    box->setObjectName(QStringLiteral("FolderWarning"));
    box->setInformativeText(QStringLiteral("The game plays, but the game log, the hand "
                                           "histories and the results are not saved. Start "
                                           "Brisquel with --data-dir FOLDER to choose another "
                                           "folder."));
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (m_options.showWindow)
        box->open();
}

void CDunmereApp::OpenDatabase()
{
    m_databaseOpen = ::OpenDatabase(m_database, m_databaseFolder.toStdString());
    m_game.m_saveResults = [this](CDunmereGame &game) {
        if (m_databaseOpen)
            SaveSessionResults(m_database, game);
    };
}

int CDunmereApp::ExitInstance()
{
    if (m_exited)
        return 0;
    m_exited = true;
    ReleaseGameThreadCalls();
    // The game threads end before the widgets they draw into go away.
    m_game.Shutdown();
    m_game.SetScreen(nullptr);
    m_frame.reset();
    return 0;
}

void CDunmereApp::ReleaseGameThreadCalls()
{
    {
        std::lock_guard<std::mutex> lock(m_uiCallMutex);
        m_closing = true;
    }
    m_uiCallDone.notify_all();
    if (m_frame && m_frame->outputWnd() && m_frame->outputWnd()->actionPanel())
        m_frame->outputWnd()->actionPanel()->AbandonPendingPrepare();
}

void CDunmereApp::StopGameNow(std::function<void()> done)
{
    ReleaseGameThreadCalls();
    m_game.InterruptGame();
    // The add-chips dialog runs for the game thread on this thread's stack: it must return
    // before the game thread can be joined.
    if (QWidget *modal = activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        QTimer::singleShot(0, this, [this, done = std::move(done)]() mutable {
            StopGameNow(std::move(done));
        });
        return;
    }
    m_game.StopNowAndSave();
    done();
}

CDunmereView *CDunmereApp::View() const
{
    return m_frame ? m_frame->view() : nullptr;
}

COutputWnd *CDunmereApp::OutputWnd() const
{
    return m_frame ? m_frame->outputWnd() : nullptr;
}

void CDunmereApp::AppendOutputLine(const std::wstring &line)
{
    // Lines are batched into one queued call, so that a game without pauses cannot flood the
    // event queue; the pane keeps only its last lines anyway.
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(m_linesMutex);
        m_pendingLines.push_back(QString::fromStdWString(line));
        while (m_pendingLines.size() > kMaxChatLines + 1)
            m_pendingLines.pop_front();
        post = !m_linesPosted;
        m_linesPosted = true;
    }
    if (post)
        QMetaObject::invokeMethod(this, &CDunmereApp::FlushOutputLines, Qt::QueuedConnection);
}

void CDunmereApp::FlushOutputLines()
{
    std::deque<QString> lines;
    {
        std::lock_guard<std::mutex> lock(m_linesMutex);
        lines.swap(m_pendingLines);
        m_linesPosted = false;
    }
    COutputWnd *pane = OutputWnd();
    if (!pane)
        return;
    for (const QString &line : lines)
        pane->AppendOutputLine(line);
}

void CDunmereApp::PrepareDecision(int sliderMax)
{
    COutputWnd *pane = OutputWnd();
    // The coach's record of the decision must be there before a click can answer it, and its
    // estimate must not show before the panel does.
    CCoachController *coach = m_frame ? m_frame->coach() : nullptr;
    if (coach)
        coach->DecisionStarting();
    // Queued before the panel's preparation: the pane is back before the buttons are live.
    if (m_frame)
        QMetaObject::invokeMethod(m_frame.get(), &CMainFrame::RevealActionPanel,
                                  Qt::QueuedConnection);
    if (pane && pane->actionPanel())
        pane->actionPanel()->PrepareDecision(sliderMax);
    if (coach)
        coach->DecisionShown();
}

bool CDunmereApp::RunAddChipsDialog(int &chips)
{
    bool accepted = false;
    int result = chips;
    const bool ran = RunOnUiThread([&] {
        int startStake = 0;
        {
            auto lock = m_game.LockState();
            startStake = m_game.m_table.m_startStack[0];
        }
        CDlgAddChips dialog(m_frame.get(), startStake);
        accepted = dialog.exec() == QDialog::Accepted;
        result = dialog.m_chips;
    });
    if (!ran || !accepted)
        return false;
    chips = result;
    return true;
}

void CDunmereApp::CloseProgram()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            ++m_closeRequests;
            if (m_frame)
                m_frame->closeGuard()->GameEnded();
        },
        Qt::QueuedConnection);
}

void CDunmereApp::CommandStateChanged()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_frame)
                m_frame->UpdateCommandUI();
        },
        Qt::QueuedConnection);
}

bool CDunmereApp::RunOnUiThread(const std::function<void()> &fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
        return true;
    }
    // fn refers to the caller's stack: once it has started, the caller waits for its end even
    // when the program is closing; a call that never started is dropped.
    struct CallState
    {
        bool started = false;
        bool done = false;
    };
    auto state = std::make_shared<CallState>();
    {
        std::lock_guard<std::mutex> lock(m_uiCallMutex);
        if (m_closing)
            return false;
    }
    QMetaObject::invokeMethod(
        this,
        [this, &fn, state] {
            {
                std::lock_guard<std::mutex> lock(m_uiCallMutex);
                if (m_closing)
                    return;
                state->started = true;
            }
            fn();
            {
                std::lock_guard<std::mutex> lock(m_uiCallMutex);
                state->done = true;
            }
            m_uiCallDone.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(m_uiCallMutex);
    m_uiCallDone.wait(lock, [&] { return state->done || (m_closing && !state->started); });
    return state->done;
}
