// The application and main frame: start-up, ribbon commands and their enable rules.

#include "tests/ui/TestApp.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/AboutDlg.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DlgAddChips.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/output_pane/OutputWnd.h"
#include "ui/review/GameSummaryWindow.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/ProgressWindow.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/ListCtrlEx.h"
#include "ui/table_view/DunmereView.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include <mutex>
#include <set>

class TestApp : public QObject
{
    Q_OBJECT
public:
    TestApp(CDunmereApp &app, const QString &folder)
        : m_app(app)
        , m_folder(folder)
    {}

private slots:
    void startUp();
    void frameNeverSmallerThan500();
    void viewToggles();
    void visualStyles();
    void goOpensTheMakersPage();
    void cancellingSetUpChangesNothing();
    void gameCommandsThroughAGame();
    void aboutBox();
    void addChipsDialog();
    void addChipsOffersTheStartingStake();
    void windowsOnASmallScreen();

private:
    CMainFrame &Frame() { return *m_app.MainFrame(); }
    bool Enabled(int id) { return Frame().action(id)->isEnabled(); }
    CDunmereApp &m_app;
    QString m_folder;
};

void TestApp::startUp()
{
    CMainFrame &f = Frame();
    QCOMPARE(f.windowTitle(), QStringLiteral("Brisquel"));
    QCOMPARE(f.size(), QSize(1200, 768 - 48)); // within the screen, title bar included
    QCOMPARE(f.minimumSize(), QSize(500, 500));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Ostrivane"));
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("Ostrivane.Brisquel.1"));
    QVERIFY(m_app.DatabaseOpen());
    QVERIFY(QFile::exists(m_folder + QStringLiteral("/PokerDB.db3")));

    // Only the output pane, the ribbon and the caption bar are shown.
    QVERIFY(!f.outputDock()->isHidden());
    QVERIFY(!f.captionBar()->isHidden());
    for (int id : {int(ID_VIEW_CLASSVIEW), int(ID_VIEW_FILEVIEW), int(ID_VIEW_PROPERTIESWND)})
        QVERIFY(f.paneDock(id)->isHidden());
    QVERIFY(f.statusBar()->isHidden());
    QCOMPARE(f.outputDock()->widget(), static_cast<QWidget *>(f.outputWnd()));

    // Game commands: only Start game.
    QVERIFY(Enabled(ID_START_GAME));
    QVERIFY(!Enabled(ID_WHO_IS_ON_BUTTON));
    QVERIFY(!Enabled(ID_STOP_GAME));
    QCOMPARE(f.action(ID_STOP_GAME)->text(), QStringLiteral("Last hand && Stop game"));
    QVERIFY(!f.action(ID_STATISTICS)->isChecked());

    // The black look, at every start.
    QCOMPARE(f.appLook(), unsigned(ID_VIEW_APPLOOK_OFF_2007_BLACK));
    QVERIFY(f.action(ID_VIEW_APPLOOK_OFF_2007_BLACK)->isChecked());

    std::lock_guard<std::mutex> lock(m_app.Game().StateMutex());
    QCOMPARE(m_app.Game().m_windowReady, 1);
    QCOMPARE(m_app.Game().m_table.m_seatCount, 0);
}

void TestApp::frameNeverSmallerThan500()
{
    const QSize before = Frame().size();
    Frame().resize(300, 200);
    QCOMPARE(Frame().size(), QSize(500, 500));
    Frame().resize(before);
}

void TestApp::viewToggles()
{
    CMainFrame &f = Frame();
    struct Toggle
    {
        int id;
        QWidget *widget;
    };
    const Toggle toggles[] = {{ID_VIEW_OUTPUTWND, f.outputDock()},
                              {ID_VIEW_CAPTION_BAR, f.captionBar()},
                              {ID_VIEW_CLASSVIEW, f.paneDock(ID_VIEW_CLASSVIEW)},
                              {ID_VIEW_FILEVIEW, f.paneDock(ID_VIEW_FILEVIEW)},
                              {ID_VIEW_PROPERTIESWND, f.paneDock(ID_VIEW_PROPERTIESWND)}};
    for (const Toggle &t : toggles) {
        const bool wasShown = !t.widget->isHidden();
        QCOMPARE(f.action(t.id)->isChecked(), wasShown);
        f.ExecuteCommand(t.id);
        QCOMPARE(!t.widget->isHidden(), !wasShown);
        QCOMPARE(f.action(t.id)->isChecked(), !wasShown);
        f.ExecuteCommand(t.id);
        QCOMPARE(!t.widget->isHidden(), wasShown);
        QCOMPARE(f.action(t.id)->isChecked(), wasShown);
    }

    // Statistics before a game: the flag flips, no seat has a box.
    f.ExecuteCommand(ID_STATISTICS);
    QVERIFY(f.action(ID_STATISTICS)->isChecked());
    {
        std::lock_guard<std::mutex> lock(m_app.Game().StateMutex());
        QVERIFY(m_app.Game().m_showStatistics);
    }
    f.ExecuteCommand(ID_STATISTICS);
    QVERIFY(!f.action(ID_STATISTICS)->isChecked());

    // The ticks as the player leaves them are those of the next start: Statistics on, the
    // caption bar off.
    f.ExecuteCommand(ID_STATISTICS);
    f.ExecuteCommand(ID_VIEW_CAPTION_BAR);
    {
        std::lock_guard<std::mutex> lock(m_app.Game().StateMutex());
        m_app.Game().m_showStatistics = false; // as a new run's game starts
    }
    {
        CMainFrame next(m_app);
        QVERIFY(next.action(ID_STATISTICS)->isChecked());
        QVERIFY(next.captionBar()->isHidden());
    }
    f.ExecuteCommand(ID_STATISTICS);
    f.ExecuteCommand(ID_VIEW_CAPTION_BAR);
    QVERIFY(!f.captionBar()->isHidden());
}

void TestApp::visualStyles()
{
    CMainFrame &f = Frame();
    std::set<QRgb> windowColours;
    std::set<QString> sheets;
    for (int id = ID_VIEW_APPLOOK_OFF_2007_BLUE; id <= ID_VIEW_APPLOOK_WINDOWS_7; ++id) {
        f.ExecuteCommand(id);
        QCOMPARE(f.appLook(), unsigned(id));
        for (int other = ID_VIEW_APPLOOK_OFF_2007_BLUE; other <= ID_VIEW_APPLOOK_WINDOWS_7; ++other)
            QCOMPARE(f.action(other)->isChecked(), other == id);
        windowColours.insert(QApplication::palette().color(QPalette::Window).rgb());
        // For a look at the program: BRISQUEL_SCREENSHOTS=<folder> keeps the window's pictures.
        if (const QString folder = qEnvironmentVariable("BRISQUEL_SCREENSHOTS"); !folder.isEmpty())
            f.grab().save(QStringLiteral("%1/style%2.png").arg(folder).arg(id));
        sheets.insert(qApp->styleSheet());
    }
    QCOMPARE(int(windowColours.size()), 5);
    QCOMPARE(int(sheets.size()), 5);
    // Left on silver: starting a game brings the black look back.
    f.ExecuteCommand(ID_VIEW_APPLOOK_OFF_2007_SILVER);
}

void TestApp::goOpensTheMakersPage()
{
    QList<QUrl> opened;
    Frame().m_openUrl = [&opened](const QUrl &url) { opened << url; };
    Frame().ExecuteCommand(ID_TOOLS_OPTIONS);
    QCOMPARE(opened, QList<QUrl>{QUrl(QString::fromLatin1(kMakerWebAddress))});
    QCOMPARE(Frame().action(ID_TOOLS_OPTIONS)->toolTip(),
             QStringLiteral("Click here to see more options"));
}

void TestApp::cancellingSetUpChangesNothing()
{
    int runs = 0;
    Frame().m_runSetupDialog = [&runs](CDialogTable &dialog) {
        ++runs;
        dialog.seatCountCombo()->setCurrentText(QStringLiteral("3"));
        dialog.cancelButton()->click();
        return dialog.result();
    };
    Frame().ExecuteCommand(ID_START_GAME);
    QCOMPARE(runs, 1);
    QVERIFY(Enabled(ID_START_GAME));
    QVERIFY(!Enabled(ID_WHO_IS_ON_BUTTON));
    QVERIFY(!Enabled(ID_STOP_GAME));
    QCOMPARE(Frame().appLook(), unsigned(ID_VIEW_APPLOOK_OFF_2007_SILVER));
    std::lock_guard<std::mutex> lock(m_app.Game().StateMutex());
    QCOMPARE(m_app.Game().m_table.m_seatCount, 0);
    QCOMPARE(m_app.Game().m_playerRects[0].m_visible, 0);
}

void TestApp::gameCommandsThroughAGame()
{
    CMainFrame &f = Frame();
    int runs = 0;
    f.m_runSetupDialog = [&runs](CDialogTable &dialog) {
        ++runs;
        dialog.seatCountCombo()->setCurrentText(QStringLiteral("4"));
        dialog.seatList()->SetCellText(0, 1, QStringLiteral("Master")); // seat 0 plays itself
        dialog.seatList()->SetCellText(1, 1, QStringLiteral("Tim"));
        dialog.seatList()->SetCellText(2, 2, QStringLiteral("2500"));
        dialog.okButton()->click();
        return dialog.result();
    };
    f.ExecuteCommand(ID_START_GAME);
    QCOMPARE(runs, 1);
    QVERIFY(!Enabled(ID_START_GAME));
    QVERIFY(Enabled(ID_WHO_IS_ON_BUTTON));
    QVERIFY(!Enabled(ID_STOP_GAME));
    QCOMPARE(f.appLook(), unsigned(ID_VIEW_APPLOOK_OFF_2007_BLACK));
    {
        CDunmereGame &g = m_app.Game();
        std::lock_guard<std::mutex> lock(g.StateMutex());
        QCOMPARE(g.m_table.m_seatCount, 4);
        QCOMPARE(g.m_table.m_players[0].m_name, std::string("Master_0"));
        QCOMPARE(g.m_table.m_players[0].m_persona, 4);
        QCOMPARE(g.m_table.m_players[3].m_name, std::string("Unknow_3"));
        QCOMPARE(g.m_table.m_stack[2], 2500);
        QCOMPARE(g.m_table.m_startStack[2], 2500);
        QCOMPARE(g.m_playerRects[0].m_nameText, std::wstring(L"Master_0"));
        QCOMPARE(g.m_playerRects[0].m_visible, 1);
    }
    f.ExecuteCommand(ID_START_GAME); // greyed: no second dialog
    QCOMPARE(runs, 1);

    f.ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    // Greyed before the deal thread has run: a second press starts nothing.
    QVERIFY(!Enabled(ID_WHO_IS_ON_BUTTON));
    f.OnStartDeal();
    QTRY_VERIFY(Enabled(ID_STOP_GAME));
    QVERIFY(!Enabled(ID_WHO_IS_ON_BUTTON));
    QVERIFY(!Enabled(ID_START_GAME));
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            std::lock_guard<std::mutex> lock(m_app.Game().StateMutex());
            return m_app.Game().m_handNumber >= 3;
        }(),
        60000);

    f.ExecuteCommand(ID_STOP_GAME);
    QVERIFY(!Enabled(ID_STOP_GAME));
    QVERIFY(!Enabled(ID_WHO_IS_ON_BUTTON));
    QVERIFY(!Enabled(ID_START_GAME));
    // The hand in progress ends, the results are saved and the program is told to close.
    QTRY_VERIFY_WITH_TIMEOUT(m_app.CloseRequests() == 1, 60000);
    QTRY_VERIFY(!m_app.Game().GameThreadRunning());
    // The summary of the game first; closing it closes the program's window.
    QTRY_VERIFY(f.closeGuard()->summary() && f.closeGuard()->summary()->isVisible());
    QVERIFY(f.isVisible());
    f.closeGuard()->summary()->close();
    QTRY_VERIFY(!f.isVisible());
}

void TestApp::aboutBox()
{
    CAboutDlg about;
    QStringList texts;
    for (const QLabel *label : about.findChildren<QLabel *>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("Brisquel, Version 1.0")));
    QVERIFY(texts.contains(QString::fromLatin1(kMakerEmail)));
    QVERIFY(texts.join(u' ').contains(QString::fromLatin1(kMakerWebAddress)));
}

void TestApp::addChipsDialog()
{
    CDlgAddChips dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Add chips !"));
    QCOMPARE(dialog.edit()->text(), QStringLiteral("0"));
    // Refusals show a message box: answer it as a person would.
    int refusals = 0;
    const auto typeAndAccept = [&](const QString &text) {
        dialog.setResult(QDialog::Rejected);
        dialog.edit()->setText(text);
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++refusals;
                box->accept();
            }
        });
        dialog.accept();
        QTest::qWait(20);
        return dialog.result();
    };
    QCOMPARE(typeAndAccept(QStringLiteral("lots")), int(QDialog::Rejected));
    QCOMPARE(typeAndAccept(QStringLiteral("-500")), int(QDialog::Rejected));
    QCOMPARE(refusals, 2);
    QCOMPARE(typeAndAccept(QStringLiteral("1500")), int(QDialog::Accepted));
    QCOMPARE(dialog.m_chips, 1500);
}

void TestApp::addChipsOffersTheStartingStake()
{
    {
        auto lock = m_app.Game().LockState();
        m_app.Game().m_table.m_startStack[0] = 1500;
    }
    QString offered;
    QString note;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<CDlgAddChips *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        QTest::qWait(20); // shown and painted, as a person sees it
        offered = dialog->edit()->text();
        if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("CancelNote")))
            note = label->text();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    int chips = 0;
    QVERIFY(!m_app.RunAddChipsDialog(chips)); // Cancel
    QCOMPARE(offered, QStringLiteral("1500"));
    QCOMPARE(note, QStringLiteral("Cancel ends the game."));
}

// On the 1366 x 768 screen the test runs on (a laptop's): every window opens within it, big
// enough to use; at 1024 x 700 the ribbon's captions are whole, the table is drawn at more
// than half its size, the action panel is whole and "Add chips !" leaves the board in view.
void TestApp::windowsOnASmallScreen()
{
    CMainFrame &frame = Frame();
    frame.show(); // closed at the end of the game above
    const QRect screen = frame.screen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(1366, 768));
    for (int id : {ID_REVIEW_HANDS, ID_REVIEW_PROGRESS, ID_EQUITY_LAB})
        frame.ExecuteCommand(id);
    const QList<QWidget *> windows = {&frame, frame.handsWindow(), frame.progressWindow(),
                                      frame.findChild<CEquityLabWindow *>()};
    for (QWidget *window : windows) // a title bar and borders on top
        QVERIFY(window->isVisible() && window->width() + 16 <= screen.width() &&
                window->height() + 48 <= screen.height());
    QVERIFY(frame.height() >= 700 && frame.handsWindow()->width() >= 1300);
    for (QWidget *window : windows.mid(1))
        window->close();

    frame.resize(1024, 700);
    frame.grab(); // painted as a screen shows it
    if (const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS"); !shots.isEmpty())
        frame.grab().save(shots + "/frame-1024x700.png");
    const auto buttons =
        frame.menuWidget()->findChild<QWidget *>("RibbonPanels")->findChildren<QToolButton *>();
    for (const QToolButton *button : buttons)
        QVERIFY2(button->width() >= button->sizeHint().width() &&
                     button->mapTo(&frame, QPoint(button->width(), 0)).x() <= frame.width(),
                 qPrintable(button->text()));
    QVERIFY(buttons.size() >= 7 && frame.view()->Zoom() >= 0.5);
    const CDlgPlayerChoose *panel = frame.outputWnd()->actionPanel();
    QCOMPARE(panel->visibleRegion().boundingRect().size(), panel->size());
    CDlgAddChips chips(&frame, 1500);
    chips.PlaceBeside(frame.view());
    const QRect placed(chips.pos(), chips.size());
    QVERIFY(screen.contains(placed));
    QVERIFY(!placed.contains(frame.view()->mapToGlobal(frame.view()->rect().center())));
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 20261207);
    if (!app)
        return 1;
    TestApp test(*app, folder.path());
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_app.moc"
