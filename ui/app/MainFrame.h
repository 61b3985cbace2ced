#pragma once
// The main window: ribbon, caption bar, the table document, the output dock and the shell
// panes. Every command is a QAction keyed by its command id; the ribbon's update pass reads
// the game's enable flags. It runs when something says they changed: the game through
// IProgram::CommandStateChanged, the docks through their visibility, every command after it ran.
//
// Threads: UI thread only.

#include <QHash>
#include <QMainWindow>

#include <atomic>

#include <functional>

class CCoachController;
class CDunmereApp;
class CDunmereGame;
class CDunmereView;
class CCloseGuard;
class CDialogTable;
class CHandsWindow;
class CProgressWindow;
class COutputWnd;
class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMenu;
class QPrinter;
class QSlider;
class QUrl;

inline constexpr const char *kMakerWebAddress = "https://www.ostrivane.com/brisquel";
inline constexpr const char *kMakerEmail = "brisquel@ostrivane.com";

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CDunmereApp &app);
    ~CMainFrame() override;

    QAction *action(int id) const { return m_actions.value(id); }
    CDunmereView *view() const { return m_view; }
    COutputWnd *outputWnd() const { return m_outputWnd; }
    QDockWidget *outputDock() const { return m_outputDock; }
    QDockWidget *paneDock(int id) const;
    QWidget *captionBar() const { return m_captionBar; }
    CCoachController *coach() const { return m_coach; }
    // Whether each game also gets a PokerStars-format copy beside its hand history, kept up
    // to date after every hand for trackers that watch the folder. Any thread.
    bool trackerCopy() const { return m_trackerCopy.load(); }
    QSlider *paceSlider() const { return m_paceSlider; }
    // Shows a pause factor on the Pace control without storing it in the settings (a --pace
    // given on the command line is for that run only).
    void ShowPace(double factor);
    // The pause factor remembered in the settings; 1 (a real table's pace) by default.
    static double SavedPace();
    unsigned appLook() const { return m_appLook; }

    // Runs a command as the ribbon does.
    void ExecuteCommand(int id);
    // The update pass: enable and check state of every command from the game and the panes.
    void UpdateCommandUI();

    // "Start game": runs the set-up dialog through m_runSetupDialog and starts the game on OK.
    void OnStartGame();
    // Shows the set-up dialog; tests replace it to fill and accept the dialog without a
    // modal loop. Returns the dialog's result code.
    std::function<int(CDialogTable &)> m_runSetupDialog;
    // "Start deal": starts the game's deal thread, once.
    void OnStartDeal();
    // "Hands…" and "Progress…": open (or raise and reload) the review windows.
    void OnReviewHands();
    void OnReviewProgress();
    // "Drill…": opens (or raises) the drill window.
    void OnReviewDrill();
    CHandsWindow *handsWindow() const { return m_handsWindow; }
    CProgressWindow *progressWindow() const { return m_progressWindow; }
    // The human must act: the pane with the action panel is shown and raised, whatever its state.
    void RevealActionPanel();
    CCloseGuard *closeGuard() const { return m_closeGuard; }
    // Opens the maker's page; tests replace it.
    std::function<void(const QUrl &)> m_openUrl;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QAction *addCommand(int id, const QString &text, std::function<void()> handler,
                        bool checkable = false);
    void createCommands();
    void createRibbon();
    void createCaptionBar();
    void createDocks();
    void onAppLook(unsigned id);
    void togglePane(QDockWidget *dock);
    void onQuickPrint();
    void onPrint();
    void onPrintPreview();
    void onPrintSetup();
    void onAbout();
    void onCalculator();
    QWidget *createViewPanel(QWidget *parent);
    void onPaceMoved(int tenths);
    // F1-F4 while the pane is hidden: bring it back and act.
    void createHiddenPaneKeys();

    CDunmereApp &m_app;
    CDunmereGame &m_game;
    unsigned m_appLook;
    QHash<int, QAction *> m_actions;
    QMdiArea *m_mdiArea = nullptr;
    CDunmereView *m_view = nullptr;
    COutputWnd *m_outputWnd = nullptr;
    QDockWidget *m_outputDock = nullptr;
    QDockWidget *m_classDock = nullptr;
    QDockWidget *m_fileDock = nullptr;
    QDockWidget *m_propertiesDock = nullptr;
    QWidget *m_captionBar = nullptr;
    QMenu *m_recentMenu = nullptr;
    QPrinter *m_printer = nullptr;
    CHandsWindow *m_handsWindow = nullptr;
    CProgressWindow *m_progressWindow = nullptr;
    CCoachController *m_coach = nullptr;
    std::atomic<bool> m_trackerCopy{false}; // read by the game thread
    QSlider *m_paceSlider = nullptr;
    QLabel *m_paceValue = nullptr;
    CCloseGuard *m_closeGuard = nullptr;
    QList<class QShortcut *> m_hiddenPaneKeys;
};
