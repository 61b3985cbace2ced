#include "ui/app/DunmereApp.h"
#include "ui/app/WindowFit.h"

#include "opponents/Decisions.h"
#include "places/BrisquelVersion.h"
#include "places/FilePlaces.h"
#include "storage/SessionSave.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/DlgAddChips.h"
#include "ui/app/MainFrame.h"
#include "ui/coach/CoachController.h"
#include "ui/output_pane/OutputWnd.h"
#include "ui/table_view/DunmereView.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include "interchange/Interchange.h"
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <ctime>

#include <sys/stat.h>

namespace {

// Far more than the few settings take.
constexpr qint64 kMaxSettingsBytes = 1024 * 1024;

// QSettings reads its file without looking at what it is: a FIFO in its place would stop the
// program before its window shows, a link to /dev/zero would fill the memory. Such a file is
// set aside (never opened) and the settings start from their defaults. The folder is learnt
// from a file of another name, whose reading is harmless.
void SetAsideUnreadableSettings()
{
    const QString probe =
        QSettings(QSettings::NativeFormat, QSettings::UserScope,
                  QCoreApplication::organizationName(), QStringLiteral("settings-probe"))
            .fileName();
    const QString path = QFileInfo(probe).dir().filePath(QCoreApplication::applicationName() +
                                                         QStringLiteral(".conf"));
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(name.constData(), &info) != 0)
        return; // none yet
    if (::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
        info.st_size <= kMaxSettingsBytes)
        return;
    const QByteArray aside = name + ".unreadable";
    const bool moved = ::rename(name.constData(), aside.constData()) == 0;
    std::fprintf(
        stderr, "brisquel: the settings file %s is not a regular file or is too large; %s\n",
        name.constData(),
        moved ? ("it is set aside as " + aside + " and the settings start afresh").constData()
              : "the settings cannot be kept");
}

} // namespace

CDunmereApp::CDunmereApp(int &argc, char **argv, AppOptions options)
    : QApplication(argc, argv)
    , m_options(std::move(options))
{
    setOrganizationName(QStringLiteral("Ostrivane"));
    setApplicationName(QStringLiteral("Brisquel"));
    setApplicationVersion(QString::fromLatin1(kBrisquelVersion));
    setDesktopFileName(QStringLiteral("Ostrivane.Brisquel.1"));
    SetAsideUnreadableSettings();
    m_decider = std::make_unique<CPersonaDecider>();
    // The game thread's requests reach the UI thread as queued signals, whose events Qt
    // allocates itself, with their data under a mutex: ThreadSanitizer sees every hand-over.
    connect(this, &CDunmereApp::outputLinesPending, this, &CDunmereApp::FlushOutputLines,
            Qt::QueuedConnection);
    connect(this, &CDunmereApp::closeRequested, this, &CDunmereApp::OnCloseRequested,
            Qt::QueuedConnection);
    connect(this, &CDunmereApp::commandStatesChanged, this, &CDunmereApp::OnCommandStatesChanged,
            Qt::QueuedConnection);
    connect(this, &CDunmereApp::uiCallPending, this, &CDunmereApp::RunPendingUiCalls,
            Qt::QueuedConnection);
    connect(
        this, &CDunmereApp::actionPanelWanted, this,
        [this] {
            if (m_frame)
                m_frame->RevealActionPanel();
        },
        Qt::QueuedConnection);
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
    m_game.SetShowdownMinimumMs(m_options.showdownMinimumMs);
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
        if (m_frame && m_frame->trackerCopy())
            WriteTrackerCopy();
    };
    m_game.SetScreen(m_frame->view());
    ResizeWithinScreen(m_frame.get(), QSize(kFrameWidth, kFrameHeight));
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

void CDunmereApp::WriteTrackerCopy()
{
    // The game being played has the newest hand-history file (named by its start time).
    std::string error;
    const std::vector<std::string> files =
        history::FindHistoryFiles(QDir::toNativeSeparators(m_textFolder).toStdString(), error);
    if (files.empty() ||
        interchange::WriteCopyBeside(files.back(), interchange::Format::PokerStars, error))
        return;
    if (!m_trackerCopyFailed.exchange(true)) // said once per run, not after every hand
        AppendOutputLine(
            QString::fromStdString("The PokerStars copy could not be written: " + error)
                .toStdWString());
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
                         ? tr("Files: %1").arg(text)
                         : tr("Game log and hand histories: %1\nResults: %2")
                               .arg(text, QDir::toNativeSeparators(m_databaseFolder));
    if (!m_folderProblem.isEmpty())
        result += tr("\nNot saved: Brisquel %1").arg(m_folderProblem);
    return result;
}

namespace {

// A warning or question of the program's own, not modal for the application: the game can be
// played all the same. Shown unless the window is not.
QMessageBox *NoticeBox(QMessageBox::Icon icon, const QString &name, const QString &text,
                       const QString &details, QWidget *parent)
{
    auto *box = new QMessageBox(icon, QObject::tr("Brisquel"), text, QMessageBox::NoButton, parent);
    box->setObjectName(name);
    box->setInformativeText(details);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

// "the results could not ..." as a sentence.
QString Sentence(const std::string &text)
{
    QString sentence = QString::fromStdString(text);
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    return sentence + QLatin1Char('.');
}

} // namespace

void CDunmereApp::WarnAboutFolder()
{
    QMessageBox *box = NoticeBox(QMessageBox::Warning, QStringLiteral("FolderWarning"),
                                 tr("Brisquel %1.").arg(m_folderProblem),
                                 tr("The game plays, but the game log, the hand "
                                    "histories and the results are not saved. Start "
                                    "Brisquel with --data-dir FOLDER to choose another "
                                    "folder."),
                                 m_frame.get());
    box->addButton(QMessageBox::Ok);
    if (m_options.showWindow)
        box->open();
}

void CDunmereApp::OpenDatabase()
{
    m_databaseOpen = ::OpenDatabase(m_database, m_databaseFolder.toStdString());
    // Game thread, state lock held; the folder's problem was said at the start.
    m_game.m_saveResults = [this](CDunmereGame &game) {
        if (!m_folderProblem.isEmpty())
            return;
        const UnsavedGame results{std::time(nullptr),
                                  CollectSessionResult(game.m_table, game.m_chipsAdded)};
        std::lock_guard<std::mutex> lock(m_saveMutex);
        m_lastGame = results;
        m_lastSave = SaveOrKeep(m_database, m_databaseFolder.toStdString(), results);
    };
    if (!m_folderProblem.isEmpty() || !m_options.showWindow)
        return;
    if (!m_databaseOpen) {
        QMessageBox *box = NoticeBox(
            QMessageBox::Warning, QStringLiteral("DatabaseWarning"),
            Sentence(SaveProblemText({}, m_database)),
            tr("The game plays; at its end Brisquel tries again, and keeps the results for a "
               "later start if it still cannot save them."),
            m_frame.get());
        box->addButton(QMessageBox::Ok);
        box->open();
        return;
    }
    OfferKeptResults();
}

void CDunmereApp::OfferKeptResults()
{
    std::vector<UnsavedGame> games;
    std::string error;
    if (ReadUnsavedResults(UnsavedResultsPath(m_database.m_path), games, error) && games.empty())
        return;
    const QString path = QString::fromStdString(m_database.m_path);
    QMessageBox *box =
        error.empty()
            ? NoticeBox(QMessageBox::Question, QStringLiteral("KeptResultsQuestion"),
                        tr("The results of %1 could not be saved to %2.")
                            .arg(games.size() == 1 ? tr("an earlier game")
                                                   : tr("%1 earlier games").arg(games.size()),
                                 path),
                        tr("Save them now?"), m_frame.get())
            : NoticeBox(QMessageBox::Warning, QStringLiteral("KeptResultsWarning"), Sentence(error),
                        {}, m_frame.get());
    if (!error.empty()) {
        box->addButton(QMessageBox::Ok);
        box->open();
        return;
    }
    QPushButton *save = box->addButton(tr("Save now"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("SaveKept"));
    box->addButton(tr("Not now"), QMessageBox::RejectRole)
        ->setObjectName(QStringLiteral("KeepKept"));
    connect(box, &QMessageBox::finished, this, [this, box, save] {
        if (box->clickedButton() != save)
            return;
        std::string problem;
        bool saved = false;
        {
            std::lock_guard<std::mutex> lock(m_saveMutex);
            saved = SaveKeptResults(m_database, m_databaseFolder.toStdString(), problem);
        }
        if (!saved)
            NoticeBox(QMessageBox::Warning, QStringLiteral("KeptResultsWarning"), Sentence(problem),
                      tr("They stay kept for a later start."), m_frame.get())
                ->open();
    });
    box->open();
}

void CDunmereApp::ConfirmSaved(bool ask, std::function<void()> then)
{
    SaveOutcome outcome;
    {
        std::lock_guard<std::mutex> lock(m_saveMutex);
        outcome = m_lastSave;
    }
    if (outcome.saved) {
        then();
        return;
    }
    if (ask && m_frame) {
        AskAboutFailedSave(std::move(then));
        return;
    }
    std::fprintf(stderr, "brisquel: %s\n", outcome.problem.c_str());
    if (const std::string kept = KeptText(outcome); !kept.empty())
        std::fprintf(stderr, "brisquel: %s\n", kept.c_str());
    {
        std::lock_guard<std::mutex> lock(m_saveMutex);
        m_lastSave = SaveOutcome::Saved();
    }
    m_resultsLost = true;
    then();
}

void CDunmereApp::AskAboutFailedSave(std::function<void()> then)
{
    SaveOutcome outcome;
    {
        std::lock_guard<std::mutex> lock(m_saveMutex);
        outcome = m_lastSave;
    }
    const bool kept = !outcome.keptIn.empty();
    QMessageBox *box =
        NoticeBox(QMessageBox::Warning, QStringLiteral("SaveFailed"), Sentence(outcome.problem),
                  Sentence(KeptText(outcome)), m_frame.get());
    QPushButton *retry = box->addButton(tr("Retry"), QMessageBox::AcceptRole);
    retry->setObjectName(QStringLiteral("RetrySave"));
    QPushButton *later =
        box->addButton(kept ? tr("Keep for later") : tr("Discard"), QMessageBox::RejectRole);
    later->setObjectName(QStringLiteral("SaveLater"));
    box->setDefaultButton(retry);
    connect(box, &QMessageBox::finished, this, [this, box, retry, then = std::move(then)] {
        const bool again = box->clickedButton() == retry;
        {
            std::lock_guard<std::mutex> lock(m_saveMutex);
            const std::string folder = m_databaseFolder.toStdString();
            std::string problem;
            if (!again)
                ; // left as it is: kept in the file, or given up
            else if (m_lastSave.keptIn.empty())
                m_lastSave = SaveOrKeep(m_database, folder, m_lastGame);
            else if (SaveKeptResults(m_database, folder, problem))
                m_lastSave = SaveOutcome::Saved();
            else
                m_lastSave.problem = problem;
        }
        ConfirmSaved(again, then);
    });
    m_saveQuestion = box;
    box->open();
}

void CDunmereApp::DismissSaveQuestion()
{
    if (m_saveQuestion)
        m_saveQuestion->close();
}

int CDunmereApp::ExitStatus() const
{
    return m_resultsLost ? 3 : 0;
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
        m_uiCalls.clear();
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
        QTimer::singleShot(
            0, this, [this, done = std::move(done)]() mutable { StopGameNow(std::move(done)); });
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
        emit outputLinesPending();
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
    emit actionPanelWanted();
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
        dialog.PlaceBeside(m_frame->view());
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
    emit closeRequested();
}

void CDunmereApp::OnCloseRequested()
{
    ++m_closeRequests;
    ConfirmSaved(true, [this] {
        if (m_frame)
            m_frame->closeGuard()->GameEnded();
    });
}

void CDunmereApp::CommandStateChanged()
{
    emit commandStatesChanged();
}

void CDunmereApp::OnCommandStatesChanged()
{
    if (m_frame)
        m_frame->UpdateCommandUI();
}

// A call waiting for the UI thread. fn refers to the caller's stack: once it has started, the
// caller waits for its end even when the program is closing; a call that never started is
// dropped.
struct CDunmereApp::UiCall
{
    const std::function<void()> *fn = nullptr;
    bool started = false;
    bool done = false;
};

bool CDunmereApp::RunOnUiThread(const std::function<void()> &fn)
{
    if (QThread::currentThread() == thread()) {
        fn();
        return true;
    }
    auto call = std::make_shared<UiCall>();
    call->fn = &fn;
    {
        std::lock_guard<std::mutex> lock(m_uiCallMutex);
        if (m_closing)
            return false;
        m_uiCalls.push_back(call);
    }
    emit uiCallPending();
    std::unique_lock<std::mutex> lock(m_uiCallMutex);
    m_uiCallDone.wait(lock, [&] { return call->done || (m_closing && !call->started); });
    return call->done;
}

void CDunmereApp::RunPendingUiCalls()
{
    for (;;) {
        std::shared_ptr<UiCall> call;
        {
            std::lock_guard<std::mutex> lock(m_uiCallMutex);
            if (m_closing || m_uiCalls.empty())
                return;
            call = std::move(m_uiCalls.front());
            m_uiCalls.pop_front();
            call->started = true;
        }
        (*call->fn)();
        {
            std::lock_guard<std::mutex> lock(m_uiCallMutex);
            call->done = true;
        }
        m_uiCallDone.notify_all();
    }
}
