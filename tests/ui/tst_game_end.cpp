// Ending a game the ways a person does, in a game where the human plays seat 0: closing the
// output pane while a decision is pending, which brings it back; closing the window mid-hand and
// answering the question; the desktop session ending (SIGTERM); going bust and declining to add
// chips. One scenario per process, as a game cannot be restarted:
// tst_game_end pane | close | keep | sigterm | bust | decline | summary, and the saves that
// fail: locked | full | offer, and a settings file that cannot be read:
// settings_fifo | settings_zero.
// BRISQUEL_SHOTS=<folder> keeps pictures of the summary and of the review it opens.

#include "engine/Game.h"
#include "history/HistoryReader.h"
#include "storage/LedgerReader.h"
#include "storage/UnsavedResults.h"
#include "tests/support/FullDisk.h"
#include "tests/ui/TestApp.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DlgAddChips.h"
#include "ui/app/MainFrame.h"
#include "ui/output_pane/OutputWnd.h"
#include "ui/review/GameSummaryWindow.h"
#include "ui/review/HandsWindow.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/ListCtrlEx.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>

namespace {

int g_failures = 0;

#define CHECK(cond)                                                                                \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "FAIL %s:%d: %s\n", __FILE__, __LINE__, #cond);                   \
            ++g_failures;                                                                          \
        }                                                                                          \
    } while (0)

struct Table
{
    CDunmereApp &app;
    CMainFrame &frame;
    CDlgPlayerChoose &panel;

    void settle()
    {
        QCoreApplication::processEvents();
        frame.grab();
        QCoreApplication::processEvents();
    }
    bool waitFor(const std::function<bool()> &condition, int ms = 60000)
    {
        return QTest::qWaitFor(
            [&] {
                frame.grab(); // a repaint between the steps, as on a screen
                return condition();
            },
            ms);
    }
    bool waitForDecision()
    {
        return waitFor([&] { return panel.IsDecisionPrepared(); });
    }
    // "Start game" with the set-up dialog changed by setUp, then OK.
    void startGame(const std::function<void(CDialogTable &)> &setUp)
    {
        frame.m_runSetupDialog = [setUp](CDialogTable &dialog) {
            setUp(dialog);
            dialog.okButton()->click();
            return dialog.result();
        };
        frame.ExecuteCommand(ID_START_GAME);
    }
    // Runs answer once on the "Add chips !" dialog as soon as it is offered.
    void onAddChipsOffered(QTimer &watch, bool &offered,
                           const std::function<void(CDlgAddChips &)> &answer)
    {
        QObject::connect(&watch, &QTimer::timeout, [&offered, answer] {
            auto *dialog = qobject_cast<CDlgAddChips *>(QApplication::activeModalWidget());
            if (!offered && dialog) {
                offered = true;
                answer(*dialog);
            }
        });
        watch.start(5);
    }
    int handsCompleted()
    {
        auto lock = app.Game().LockState();
        return app.Game().m_handsCompleted;
    }
    // Folds (or checks) decisions until `hands` hands are over and the next decision is pending.
    bool playUntil(int hands)
    {
        for (int guard = 0; guard < 500; ++guard) {
            if (!waitForDecision())
                return false;
            if (handsCompleted() >= hands)
                return true;
            QPushButton *button = panel.foldButton();
            QTest::mouseClick(button, Qt::LeftButton);
            settle();
        }
        return false;
    }
};

// Pictures of a window as it opened (<stem>.png) and on a 1024 x 700 and a 1600 x 1000
// screen (<stem>-<w>x<h>.png).
void saveShots(Table &t, QWidget *window, const QString &stem)
{
    window->grab().save(stem + ".png");
    for (const QSize size : {QSize(1024, 700), QSize(1600, 1000)}) {
        window->resize(size);
        t.settle();
        window->grab().save(
            QStringLiteral("%1-%2x%3.png").arg(stem).arg(size.width()).arg(size.height()));
    }
}

void checkHistory(CDunmereApp &app, int handsPlayed, double hero);

std::string databasePath(CDunmereApp &app)
{
    return QDir(app.DatabaseFolder()).filePath("PokerDB.db3").toStdString();
}

// The ledger rows of the one saved game, the hand history read back, and their agreement.
void checkSavedGame(CDunmereApp &app, int handsPlayed)
{
    LedgerContents ledger;
    std::string error;
    CHECK(ReadLedger(databasePath(app), ledger, error));
    CHECK(ledger.players.size() == 5);
    double sum = 0;
    double hero = 0;
    for (const LedgerRow &row : ledger.players) {
        sum += row.amount;
        if (row.name == "Hero")
            hero = row.amount;
    }
    CHECK(sum == 0); // no chips were added: what one won, the others lost
    CHECK(ledger.statistics.size() == 5);
    checkHistory(app, handsPlayed, hero);
}

// The hand history agrees with the human's result `hero` and with the table.
void checkHistory(CDunmereApp &app, int handsPlayed, double hero)
{
    std::string error;
    const std::vector<std::string> found =
        history::FindHistoryFiles(app.TextFolder().toStdString(), error);
    CHECK(found.size() == 1);
    if (found.size() != 1)
        return;
    history::Game game;
    CHECK(history::ReadGameFile(found[0], game, error));
    CHECK(!game.truncated);
    CHECK(game.warnings.empty());
    for (const std::string &warning : game.warnings)
        std::fprintf(stderr, "warning: %s\n", warning.c_str());
    CHECK(static_cast<int>(game.hands.size()) == handsPlayed);
    if (game.hands.empty() || game.seats.empty())
        return;
    // The human's result in the ledger is his stack after the last complete hand.
    CHECK(hero == game.hands.back().seats[0].endStack - game.seats[0].stack);
    auto lock = app.Game().LockState();
    CHECK(app.Game().m_table.m_stack[0] == game.hands.back().seats[0].endStack);
}

// "Last hand & Stop game": the summary, a review of one hand from it, and the program's window
// closing once both are closed.
int summaryScenario(Table &t)
{
    CMainFrame &frame = t.frame;
    frame.ExecuteCommand(ID_STOP_GAME);
    // The human folds what is left of the hand.
    while (t.app.CloseRequests() == 0) {
        if (t.panel.IsDecisionPrepared())
            QTest::mouseClick(t.panel.foldButton(), Qt::LeftButton);
        t.settle();
    }
    CHECK(t.waitFor([&] { return frame.closeGuard()->summary() != nullptr; }));
    CGameSummaryWindow *summary = frame.closeGuard()->summary();
    if (!summary)
        return g_failures;
    t.settle();
    CHECK(summary->isVisible());
    CHECK(frame.isVisible());
    const int hands = t.handsCompleted();
    CHECK(summary->figureText("Hands") == QString::number(hands));
    CHECK(summary->figures().hands == hands);
    // The chips the human's stack moved by, as the table has it.
    int stack = 0;
    int start = 0;
    {
        auto lock = t.app.Game().LockState();
        stack = t.app.Game().m_table.m_stack[0];
        start = t.app.Game().m_table.m_startStack[0];
    }
    CHECK(summary->figures().net == stack - start);
    CHECK(summary->figureText("Net").contains(QString::number(stack - start)));
    // The coach was on: its costliest decisions, or that none lost chips.
    CHECK(t.waitFor([&] { return summary->coachReady(); }, 240000));
    t.settle();
    const QString costly = summary->figureText("Costly");
    CHECK(costly.startsWith("Hand #") || costly.startsWith("none"));
    const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS");
    if (!shots.isEmpty())
        saveShots(t, summary, shots + "/game-summary");

    // Review the second hand.
    QComboBox *choice = summary->handChoice();
    CHECK(choice->count() == hands);
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Down);
    t.settle();
    CHECK(choice->currentIndex() == 1);
    QTest::mouseClick(summary->reviewButton(), Qt::LeftButton);
    t.settle();
    CHandsWindow *review = frame.handsWindow();
    CHECK(review && review->isVisible());
    if (!review)
        return g_failures;
    CHECK(t.waitFor([&] { return review->verdictsReady(); }));
    CHECK(review->game().hands.size() == static_cast<size_t>(hands));
    if (!shots.isEmpty())
        saveShots(t, review, shots + "/review-from-summary");

    QTest::mouseClick(summary->closeButton(), Qt::LeftButton);
    t.settle();
    CHECK(frame.isVisible()); // the review is still open
    review->close();
    CHECK(t.waitFor([&] { return !frame.isVisible(); }, 10000));
    return g_failures;
}

// Pictures only (BRISQUEL_SHOTS=<folder>): a "9 players Turbo" table on a clock sixty times
// as fast, at its first decision, then at a showdown where a player goes bust, every hand face
// up, with the tournament's line past its first level; at 1024 x 700 and 1600 x 1000.
int showdownShot(Table &t)
{
    CMainFrame &frame = t.frame;
    const auto start = std::chrono::steady_clock::now();
    const std::time_t wall = std::time(nullptr);
    t.app.Game().SetClock([start, wall] {
        const auto played = std::chrono::steady_clock::now() - start;
        return wall + 60 * std::chrono::duration_cast<std::chrono::seconds>(played).count();
    });
    t.startGame([](CDialogTable &dialog) {
        dialog.gameTypeCombo()->setCurrentIndex(4); // "9 players Turbo"
    });
    {
        auto lock = t.app.Game().LockState();
        t.app.Game().SetShowdownMinimumMs(4000); // time for the pictures of a showdown
    }
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS");
    CHECK(t.waitForDecision());
    saveShots(t, &frame, shots + "/table-midhand");
    const auto bustAtShowdown = [&] {
        auto lock = t.app.Game().LockState();
        const CDunmereGame &game = t.app.Game();
        int atShowdown = 0;
        bool bust = false;
        for (int s = 1; s < 9; ++s) {
            atShowdown += game.m_playerRects[s].m_atShowdown;
            bust |= game.m_playerRects[s].m_atShowdown != 0 && game.m_table.m_inGame[s] == 0;
        }
        return atShowdown >= 2 && bust && game.m_levelIndex > 0;
    };
    CHECK(t.waitFor(
        [&] {
            if (t.panel.IsDecisionPrepared())
                QTest::mouseClick(t.panel.foldButton(), Qt::LeftButton);
            return bustAtShowdown();
        },
        500000));
    saveShots(t, &frame, shots + "/showdown-tournament");
    CHECK(t.app.Game().StopNowAndSave());
    return g_failures;
}

// The session ends while "Add chips !" waits for the human, who has just gone bust: the dialog
// runs for the game thread, so it must close before the game can stop; the hand that busted
// him counts as not played.
int sigtermWhileAddingChips(Table &t)
{
    CMainFrame &frame = t.frame;
    t.startGame([](CDialogTable &dialog) {
        dialog.seatList()->SetCellText(0, 2, QStringLiteral("100")); // the human: five big blinds
    });
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    bool offered = false;
    QTimer watch;
    t.onAddChipsOffered(watch, offered, [](CDlgAddChips &) { std::raise(SIGTERM); });
    CHECK(t.waitFor(
        [&] {
            // Folds two hands, then calls everything until he is out of chips.
            if (t.panel.IsDecisionPrepared())
                QTest::mouseClick(t.handsCompleted() >= 2 ? t.panel.checkCallButton()
                                                          : t.panel.foldButton(),
                                  Qt::LeftButton);
            return !frame.isVisible();
        },
        120000));
    CHECK(offered);
    // Stopped where the busting hand began: the human still has chips in the saved game.
    CHECK(!t.app.Game().GameThreadRunning());
    const int played = t.handsCompleted();
    std::fprintf(stderr, "hands before the bust: %d\n", played);
    if (played > 0) {
        checkSavedGame(t.app, played);
    } else {
        LedgerContents ledger;
        std::string error;
        ReadLedger(QDir(t.app.DatabaseFolder()).filePath("PokerDB.db3").toStdString(), ledger,
                   error);
        CHECK(ledger.players.empty());
    }
    return g_failures;
}

// A tournament the human leaves by going bust and declining "Add chips !": the game is saved
// like a stopped one, the hand that busted him included, and its summary shows.
int declineAddChips(Table &t)
{
    CMainFrame &frame = t.frame;
    t.startGame([](CDialogTable &dialog) {
        dialog.gameTypeCombo()->setCurrentIndex(4); // "9 players Turbo"
    });
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    bool offered = false;
    QTimer watch;
    t.onAddChipsOffered(watch, offered, [](CDlgAddChips &dialog) {
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    CHECK(t.waitFor(
        [&] {
            // All in at every decision until he is out of chips.
            if (t.panel.IsDecisionPrepared() && t.panel.raiseButton()->isVisible()) {
                QTest::mouseClick(t.panel.maxButton(), Qt::LeftButton);
                QTest::mouseClick(t.panel.raiseButton(), Qt::LeftButton);
            } else if (t.panel.IsDecisionPrepared()) {
                QTest::mouseClick(t.panel.checkCallButton(), Qt::LeftButton);
            }
            return frame.closeGuard()->summary() != nullptr;
        },
        120000));
    CHECK(offered);
    CHECK(!t.app.Game().GameThreadRunning());
    const int played = t.handsCompleted();
    CHECK(played > 0);
    checkSavedGame(t.app, played);
    {
        auto lock = t.app.Game().LockState();
        CHECK(t.app.Game().m_table.m_stack[0] == 0);
    }
    if (CGameSummaryWindow *summary = frame.closeGuard()->summary())
        CHECK(summary->figureText("Hands") == QString::number(played));
    return g_failures;
}

// Saves that fail. locked: another program holds the database while the window closes with
// "Stop and save": a dialog names the file and the reason until answered, and Retry once the
// lock is gone saves. full: writes past 4 KiB fail (the journal) as the session ends: the
// results wait beside the database, and the exit status says so. Both agree with the history.
int failedSaveScenario(Table &t, bool locked)
{
    CHECK(t.playUntil(2));
    const int played = t.handsCompleted();
    const std::string database = databasePath(t.app), kept = UnsavedResultsPath(database);
    sqlite3 *other = nullptr;
    std::optional<testsupport::FullDisk> disk;
    if (locked) {
        CHECK(sqlite3_open(database.c_str(), &other) == SQLITE_OK);
        CHECK(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK);
        t.frame.close();
        t.settle();
        auto *question = t.frame.findChild<QMessageBox *>("StopGameQuestion");
        if (question)
            QTest::mouseClick(question->findChild<QPushButton *>("StopAndSave"), Qt::LeftButton);
        QMessageBox *failed = t.frame.findChild<QMessageBox *>("SaveFailed");
        CHECK(failed && t.frame.isVisible());
        if (!failed)
            return g_failures;
        CHECK(failed->text().contains(QString::fromStdString(database + ": database is locked")));
        CHECK(failed->informativeText().contains(QString::fromStdString(kept)));
        sqlite3_close(other); // ends its transaction
        QTest::mouseClick(failed->findChild<QPushButton *>("RetrySave"), Qt::LeftButton);
    } else {
        disk.emplace(4096);
        std::raise(SIGTERM);
    }
    CHECK(t.waitFor([&] { return !t.frame.isVisible(); }, 30000));
    disk.reset();
    std::vector<UnsavedGame> games;
    std::string error;
    CHECK(ReadUnsavedResults(kept, games, error));
    CHECK(t.app.ExitStatus() == (locked ? 0 : 3));
    if (locked) {
        CHECK(games.empty());
        checkSavedGame(t.app, played);
        return g_failures;
    }
    LedgerContents ledger;
    CHECK(ReadLedger(database, ledger, error) && ledger.isEmpty());
    CHECK(games.size() == 1 && games[0].result.size() == 5);
    if (games.size() == 1 && !games[0].result.empty())
        checkHistory(t.app, played, games[0].result[0].amount); // Hero's
    return g_failures;
}

// The next start offers the two games kept beside the database (Hero -10, then +40), and
// "Save now" saves them.
int offerScenario(Table &t)
{
    auto *offer = t.frame.findChild<QMessageBox *>("KeptResultsQuestion");
    CHECK(offer && offer->text().contains("2 earlier games"));
    if (!offer)
        return g_failures;
    QTest::mouseClick(offer->findChild<QPushButton *>("SaveKept"), Qt::LeftButton);
    LedgerContents ledger;
    std::vector<UnsavedGame> games;
    std::string error;
    CHECK(ReadLedger(databasePath(t.app), ledger, error) && ledger.statistics.size() == 10);
    CHECK(ledger.players.size() == 10 && ledger.players[5].balance == 30);
    CHECK(ReadUnsavedResults(UnsavedResultsPath(databasePath(t.app)), games, error));
    CHECK(games.empty());
    return g_failures;
}

void keepTwoGames(const QTemporaryDir &folder)
{
    std::vector<UnsavedGame> games(2);
    for (int g = 0; g < 2; ++g) {
        for (const char *name : {"Hero", "Master", "Tim", "Maniac", "Professor"})
            games[g].result.push_back({name, 0, {}});
        games[g].result[0].amount = g == 0 ? -10 : 40;
    }
    std::string error;
    WriteUnsavedResults(
        UnsavedResultsPath(QDir(folder.path()).filePath("PokerDB.db3").toStdString()), games,
        error);
}

int runScenario(Table &t, const char *scenario)
{
    if (std::strcmp(scenario, "offer") == 0)
        return offerScenario(t);
    if (std::strcmp(scenario, "bust") == 0)
        return sigtermWhileAddingChips(t);
    if (std::strcmp(scenario, "decline") == 0)
        return declineAddChips(t);
    if (std::strcmp(scenario, "shots") == 0)
        return showdownShot(t);
    CMainFrame &frame = t.frame;
    QDockWidget *dock = frame.outputDock();
    t.startGame([](CDialogTable &) {}); // Hero at seat 0 against the default opponents
    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);

    if (std::strcmp(scenario, "pane") == 0) {
        int decisions = 0;
        QObject::connect(&t.panel, &CDlgPlayerChoose::decided, [&] { ++decisions; });
        CHECK(t.waitForDecision());
        // The pane's own close button, mid-decision: the panel goes with it.
        auto *closeButton = dock->findChild<QAbstractButton *>("qt_dockwidget_closebutton");
        CHECK(closeButton != nullptr);
        if (closeButton)
            QTest::mouseClick(closeButton, Qt::LeftButton);
        t.settle();
        // Back at once with its buttons, the decision still pending.
        CHECK(dock->isVisible());
        CHECK(t.panel.checkCallButton()->isVisible());
        CHECK(decisions == 0);
        // Hidden with the ribbon's check box: back again.
        frame.ExecuteCommand(ID_VIEW_OUTPUTWND);
        t.settle();
        CHECK(dock->isVisible());
        QTest::mouseClick(t.panel.checkCallButton(), Qt::LeftButton);
        CHECK(decisions == 1);
        // Hidden with the ribbon's check box once the decision is made: the next decision
        // brings it back by itself.
        CHECK(t.waitForDecision());
        QTest::keyClick(&frame, Qt::Key_F1);
        CHECK(decisions == 2);
        frame.ExecuteCommand(ID_VIEW_OUTPUTWND);
        CHECK(dock->isHidden());
        CHECK(t.waitFor([&] { return t.panel.IsDecisionPrepared() && !dock->isHidden(); }));
        t.settle();
        CHECK(dock->isVisible());
        CHECK(t.app.Game().StopNowAndSave());
        return g_failures;
    }

    if (std::strcmp(scenario, "locked") == 0 || std::strcmp(scenario, "full") == 0)
        return failedSaveScenario(t, std::strcmp(scenario, "locked") == 0);
    if (std::strcmp(scenario, "summary") == 0)
        frame.ExecuteCommand(ID_VIEW_COACH);
    CHECK(t.playUntil(2));
    const int played = t.handsCompleted();
    if (std::strcmp(scenario, "summary") == 0)
        return summaryScenario(t);
    if (std::strcmp(scenario, "sigterm") == 0) {
        std::raise(SIGTERM);
        CHECK(t.waitFor([&] { return !frame.isVisible(); }, 30000));
        CHECK(!t.app.Game().GameThreadRunning());
        checkSavedGame(t.app, played);
        return g_failures;
    }

    frame.close(); // the window's close button
    t.settle();
    CHECK(frame.isVisible());
    auto *question = frame.findChild<QMessageBox *>("StopGameQuestion");
    CHECK(question && question->isVisible());
    if (!question)
        return g_failures;
    CHECK(question->text() ==
          "Stop the game now? The results of the hands played so far are saved.");
    frame.close(); // a second click while asked: still one question
    t.settle();
    CHECK(frame.findChildren<QMessageBox *>("StopGameQuestion").size() == 1);

    if (std::strcmp(scenario, "keep") == 0) {
        QTest::mouseClick(question->findChild<QPushButton *>("KeepPlaying"), Qt::LeftButton);
        t.settle();
        CHECK(frame.isVisible());
        CHECK(t.app.Game().InProgress());
        // The game goes on: the next decision comes.
        QTest::mouseClick(t.panel.foldButton(), Qt::LeftButton);
        CHECK(t.waitForDecision());
        CHECK(t.app.Game().StopNowAndSave());
        return g_failures;
    }

    QPushButton *stop = question->findChild<QPushButton *>("StopAndSave");
    CHECK(stop && stop->text() == "Stop and save");
    QTest::mouseClick(stop, Qt::LeftButton);
    frame.close(); // impatient: once more while it saves
    t.settle();
    CHECK(t.waitFor([&] { return !frame.isVisible(); }, 30000));
    CHECK(!t.app.Game().GameThreadRunning());
    checkSavedGame(t.app, played);
    return g_failures;
}

} // namespace

int main(int argc, char **argv)
{
    const char *scenario = argc > 1 ? argv[1] : "close";
    int qtArgc = 1;
    QTemporaryDir folder;
    if (std::strcmp(scenario, "offer") == 0)
        keepTwoGames(folder);
    // settings_fifo, settings_zero: the settings file is a FIFO or a link to /dev/zero; the
    // program starts all the same with the settings afresh.
    const bool badSettings = std::strncmp(scenario, "settings_", 9) == 0;
    QTemporaryDir settings;
    const QString conf = settings.path() + "/Ostrivane/Brisquel.conf";
    if (badSettings) {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QDir(settings.path()).mkpath("Ostrivane");
        const QByteArray name = QFile::encodeName(conf);
        if (std::strcmp(scenario, "settings_fifo") == 0)
            ::mkfifo(name.constData(), 0600);
        else
            ::symlink("/dev/zero", name.constData());
    }
    AppOptions options;
    options.workFolder = folder.path();
    const auto app = badSettings ? StartTestApp(qtArgc, argv, options, 41)
                                 : StartTestApp(qtArgc, argv, folder, 41);
    if (!app)
        return 1;
    if (badSettings) {
        QSettings().setValue("pace", 0.5);
        QSettings().sync();
        CHECK(QFileInfo(conf).isFile() && QFileInfo::exists(conf + ".unreadable"));
        CHECK(QSettings().value("pace").toDouble() == 0.5);
    }
    CDlgPlayerChoose *panel = app->MainFrame()->outputWnd()->actionPanel();
    Table table{*app, *app->MainFrame(), *panel};
    const int failures = badSettings ? g_failures : runScenario(table, scenario);
    app->ExitInstance();
    std::fprintf(stderr, "%s: %s\n", scenario, failures == 0 ? "PASS" : "FAIL");
    return failures == 0 ? 0 : 1;
}
