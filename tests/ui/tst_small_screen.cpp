// The windows on a 1366 x 768 screen, and the main window at 1024 x 700: every window opens
// within the screen, the ribbon's captions are whole, the table is drawn large enough to read
// and the action panel is not cut.

#include "tests/ui/TestApp.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/CommandIds.h"
#include "ui/app/MainFrame.h"
#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/output_pane/OutputWnd.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/ProgressWindow.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/table_view/DunmereView.h"

#include <QScreen>
#include <QToolButton>
#include <QtTest>

class TestSmallScreen : public QObject
{
    Q_OBJECT
public:
    explicit TestSmallScreen(CDunmereApp &app)
        : m_app(app)
    {}

private slots:
    void everyWindowFitsTheScreen();
    void mainWindowAt1024x700();

private:
    CMainFrame &Frame() { return *m_app.MainFrame(); }
    CDunmereApp &m_app;
};

void TestSmallScreen::everyWindowFitsTheScreen()
{
    CMainFrame &frame = Frame();
    const QRect screen = frame.screen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(1366, 768));
    frame.ExecuteCommand(ID_REVIEW_HANDS);
    frame.ExecuteCommand(ID_REVIEW_PROGRESS);
    frame.ExecuteCommand(ID_EQUITY_LAB);
    GameType types[2] = {};
    CDialogTable setup(types, &frame);
    setup.show();
    const QList<QWidget *> windows = {&frame, frame.handsWindow(), frame.progressWindow(),
                                      frame.findChild<CEquityLabWindow *>(), &setup};
    for (QWidget *window : windows) {
        QVERIFY(window && window->isVisible());
        QCoreApplication::processEvents();
        // A title bar and borders on top of the window's own size.
        QVERIFY2(window->width() + 16 <= screen.width() && window->height() + 48 <= screen.height(),
                 qPrintable(window->objectName()));
    }
    // Every one of them is big enough to be of use.
    QVERIFY(frame.width() >= 1200 && frame.height() >= 700);
    QVERIFY(frame.handsWindow()->width() >= 1300);
    for (QWidget *window : windows.mid(1))
        window->close();
}

void TestSmallScreen::mainWindowAt1024x700()
{
    CMainFrame &frame = Frame();
    frame.resize(1024, 700);
    QTRY_COMPARE(frame.size(), QSize(1024, 700));
    frame.grab(); // painted as a screen shows it
    QCoreApplication::processEvents();
    if (const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS"); !shots.isEmpty())
        frame.grab().save(shots + "/frame-1024x700.png");
    // Ribbon captions whole, every panel within the window.
    const QList<QToolButton *> buttons =
        frame.menuWidget()->findChild<QWidget *>("RibbonPanels")->findChildren<QToolButton *>();
    QVERIFY(buttons.size() >= 7);
    for (const QToolButton *button : buttons) {
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
        QVERIFY(button->mapTo(&frame, QPoint(button->width(), 0)).x() <= frame.width());
    }
    // The table drawn at more than half its size, the action panel whole.
    QVERIFY2(frame.view()->Zoom() >= 0.5, qPrintable(QString::number(frame.view()->Zoom())));
    const CDlgPlayerChoose *panel = frame.outputWnd()->actionPanel();
    QCOMPARE(panel->visibleRegion().boundingRect().size(), panel->size());
    QVERIFY(QRect(QPoint(), frame.size())
                .contains(QRect(panel->mapTo(&frame, QPoint()), panel->size())));
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 7);
    if (!app)
        return 1;
    TestSmallScreen test(*app);
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_small_screen.moc"
