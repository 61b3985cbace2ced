#pragma once
// The application object: owns the one game, the computer deciders, the statistics database
// and the main window, and connects the engine's interfaces to the widgets.
//
// Threads: created and destroyed on the UI thread. The IOutputPane, IHumanPlayer and IProgram
// members are called from the game thread; they queue their work to the UI thread (the data
// under a mutex, announced by a queued signal), and the blocking ones give up when the program
// is closing.

#include "engine/EngineInterfaces.h"
#include "engine/Game.h"
#include "storage/PokerTables.h"
#include "storage/UnsavedResults.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class CMainFrame;
class CDunmereView;
class CPersonaDecider;
class COutputWnd;

struct AppOptions
{
    QString workFolder;       // current directory for the database and the text files; empty: as is
    QString dataFolder;       // --data-dir: the folder for all files
    QString programFolder;    // where the program runs; empty: the executable's folder
    double pauseFactor = 1.0; // 0 in tests: the game does not pause
    // The pause factor comes from the Pace control's setting instead (no --pace given).
    bool paceFromSettings = false;
    // However quick the pace, the hands shown down stay this long (0 in tests).
    int showdownMinimumMs = 1500;
    bool showWindow = true;
    bool seeded = false; // reproducible games
    std::uint64_t seed = 0;
};

class CDunmereApp : public QApplication, public IOutputPane, public IHumanPlayer, public IProgram
{
    Q_OBJECT
public:
    static constexpr int kFrameWidth = 1200;
    static constexpr int kFrameHeight = 1000;

    CDunmereApp(int &argc, char **argv, AppOptions options = {});
    ~CDunmereApp() override;

    // Start-up: settings, main window, database, the human-action event. False on failure.
    bool InitInstance();
    // Stops the game threads and releases the window and the database; idempotent.
    int ExitInstance();

    CDunmereGame &Game() { return m_game; }
    CMainFrame *MainFrame() const { return m_frame.get(); }
    CDunmereView *View() const;
    COutputWnd *OutputWnd() const;
    bool DatabaseOpen() const { return m_databaseOpen; }
    // After a game's save, UI thread: when it failed, says so in a dialog naming the file and
    // the reason, with Retry and Keep for later (the results wait in the file of unsaved
    // results, offered at the next start), then runs `then`. Without `ask` (the session is
    // ending) the failure goes to standard error instead. `then` runs at once when all is saved.
    void ConfirmSaved(bool ask, std::function<void()> then);
    // Closes the dialog of ConfirmSaved as Keep for later, if it is open.
    void DismissSaveQuestion();
    // The exit status for main: 3 when a game's results were not saved to the database.
    int ExitStatus() const;
    // The folders in use: the game log and hand histories, and PokerDB.db3; the same folder
    // unless the program runs from its build tree.
    QString TextFolder() const { return m_textFolder; }
    QString DatabaseFolder() const { return m_databaseFolder; }
    // Why the chosen folder cannot be used; empty when it can.
    QString FolderProblem() const { return m_folderProblem; }
    // The folders in use, in words for the about box.
    QString FilesText() const;
    // Number of CloseProgram calls the game made (the end of a stopped game).
    int CloseRequests() const { return m_closeRequests; }

    // Ends a running game at once and saves the hands played (the window is closing or the
    // session ends), then runs done. A modal dialog the game thread waits for is closed first,
    // so done may run later, from the event loop.
    void StopGameNow(std::function<void()> done);

    // IOutputPane
    void AppendOutputLine(const std::wstring &line) override;
    // IHumanPlayer
    void PrepareDecision(int sliderMax) override;
    bool RunAddChipsDialog(int &chips) override;
    // IProgram
    void CloseProgram() override;
    void CommandStateChanged() override;

signals:
    // Any thread: work for the UI thread is waiting (each connected queued to its handler).
    void outputLinesPending();
    void closeRequested();
    void commandStatesChanged();
    void uiCallPending();
    void actionPanelWanted();

private:
    struct UiCall;
    // Game thread: the PokerStars-format copy of the game being played, brought up to date.
    void WriteTrackerCopy();
    // Runs fn on the UI thread and waits for it, unless the program is closing.
    bool RunOnUiThread(const std::function<void()> &fn);
    void RunPendingUiCalls();
    void OnCloseRequested();
    void OnCommandStatesChanged();
    // No further blocking UI call of the game thread waits for the UI thread.
    void ReleaseGameThreadCalls();
    void ChooseFolders();
    void WarnAboutFolder();
    void OpenDatabase();
    void OfferKeptResults();
    void AskAboutFailedSave(std::function<void()> then);
    void FlushOutputLines();

    AppOptions m_options;
    CDunmereGame m_game;
    std::unique_ptr<CPersonaDecider> m_decider;
    CPokerDatabase m_database;
    std::unique_ptr<CMainFrame> m_frame;
    QString m_textFolder;
    QString m_databaseFolder;
    QString m_folderProblem;
    std::atomic<bool> m_trackerCopyFailed{false};
    bool m_databaseOpen = false;
    std::mutex m_saveMutex; // guards the two members below: saved on the game thread
    SaveOutcome m_lastSave = SaveOutcome::Saved();
    UnsavedGame m_lastGame;
    bool m_resultsLost = false; // UI thread: a failed save left unresolved
    QPointer<QMessageBox> m_saveQuestion;
    bool m_exited = false;
    int m_closeRequests = 0;

    std::mutex m_linesMutex; // guards the two members below; taken inside the state mutex
    std::deque<QString> m_pendingLines;
    bool m_linesPosted = false;

    std::mutex m_uiCallMutex; // guards the two members below and the calls' states
    std::condition_variable m_uiCallDone;
    std::deque<std::shared_ptr<UiCall>> m_uiCalls; // queued, not yet started
    bool m_closing = false;
};
