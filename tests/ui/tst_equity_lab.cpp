// The Equity lab driven as a person drives it: classes dragged on the grid, the top-share
// slider moved with the keyboard, the board picked with the card picker, a count stopped, the
// window closed while it counts; results read from the labels that show them.

#include "pokerlib/CardNames.h"
#include "pokerlib/EquityCalculator.h"
#include "tests/ui/TestApp.h"
#include "ui/app/CommandIds.h"
#include "ui/app/MainFrame.h"
#include "ui/calculator/DlgCards.h"
#include "ui/equity_lab/EquityLabWindow.h"
#include "ui/equity_lab/RangeGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include <tuple>

namespace {

constexpr int kCountTimeoutMs = 120'000;

QPoint CellCentre(const CRangeGrid *grid, int row, int col)
{
    return grid->cellRect(row, col).center();
}

// Types text into a line edit the way a person does: select all, type, press Enter.
void TypeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Enter);
    QCoreApplication::processEvents();
}

// Saves a picture of the window when BRISQUEL_SHOTS names a folder (for a look under xvfb).
void Shot(QWidget *w, const char *name)
{
    const QString folder = qEnvironmentVariable("BRISQUEL_SHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
}

} // namespace

class TestEquityLab : public QObject
{
    Q_OBJECT
public:
    explicit TestEquityLab(CDunmereApp &app)
        : m_app(app)
    {}

private slots:
    void openedFromTheToolsPanel();
    void gridDragPicksAndUnpicksClasses();
    void topSliderPicksTheBestShare();
    void boardPickedAndExactCountShown();
    void rangeAgainstRangeShowsHeatMap();
    void badInputGetsAMessage();
    void stopEndsTheCount();
    void closingWhileCountingStopsTheWork();

private:
    CDunmereApp &m_app;
};

void TestEquityLab::openedFromTheToolsPanel()
{
    CMainFrame *frame = m_app.MainFrame();
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    QToolButton *button = nullptr;
    for (QToolButton *b : frame->findChildren<QToolButton *>())
        if (b->defaultAction() == frame->action(ID_EQUITY_LAB))
            button = b;
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->text(), QString("Equity\nlab…")); // on two lines, as ribbons show them
    QTest::mouseClick(button, Qt::LeftButton);
    QPointer<CEquityLabWindow> lab = frame->findChild<CEquityLabWindow *>();
    QVERIFY(lab && lab->isVisible());
    Shot(frame, "main_frame_tools");
    QTest::mouseClick(button, Qt::LeftButton); // the same window again
    QCOMPARE(frame->findChildren<CEquityLabWindow *>().size(), 1);
    lab->close();
    QTRY_VERIFY(lab.isNull());
}

void TestEquityLab::gridDragPicksAndUnpicksClasses()
{
    CEquityLabWindow lab;
    lab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lab));
    CRangeGrid *grid = lab.grid();
    // AA across to AQs: three classes, 6 + 4 + 4 combinations.
    QTest::mousePress(grid, Qt::LeftButton, {}, CellCentre(grid, 0, 0));
    QTest::mouseMove(grid, CellCentre(grid, 0, 1));
    QTest::mouseMove(grid, CellCentre(grid, 0, 2));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, CellCentre(grid, 0, 2));
    QCoreApplication::processEvents();
    QCOMPARE(lab.playerEdit(0)->text(), QString("AA,AKs,AQs"));
    QCOMPARE(lab.comboLabel(0)->text(), QString("14 combinations"));
    QVERIFY(lab.gridLabel()->text().contains("14 combinations"));
    // A drag that starts on a picked class unpicks; offsuit AKo sits below the diagonal.
    QTest::mousePress(grid, Qt::LeftButton, {}, CellCentre(grid, 0, 1));
    QTest::mouseMove(grid, CellCentre(grid, 0, 2));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, CellCentre(grid, 0, 2));
    QTest::mouseClick(grid, Qt::LeftButton, {}, CellCentre(grid, 1, 0));
    QCoreApplication::processEvents();
    QCOMPARE(lab.playerEdit(0)->text(), QString("AA,AKo"));
    QCOMPARE(lab.comboLabel(0)->text(), QString("18 combinations"));

    // Another player's row shows that player's range on the grid, and typing updates it.
    QTest::mouseClick(lab.playerChoice(1), Qt::LeftButton);
    QVERIFY(!grid->isPicked(0, 0));
    TypeInto(lab.playerEdit(1), "22-44,T9s");
    QVERIFY(grid->isPicked(12, 12) && grid->isPicked(10, 10) && grid->isPicked(4, 5));
    QVERIFY(!grid->isPicked(9, 9) && !grid->isPicked(5, 4));
    QCOMPARE(lab.comboLabel(1)->text(), QString("22 combinations"));
    Shot(&lab, "equity_lab_grid");
}

void TestEquityLab::topSliderPicksTheBestShare()
{
    CEquityLabWindow lab;
    lab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lab));
    lab.topSlider()->setFocus();
    QTest::keyClick(lab.topSlider(), Qt::Key_PageUp); // one page: 10 %
    QCoreApplication::processEvents();
    QCOMPARE(lab.playerEdit(0)->text(), QString("top10%"));
    brisquel::ComboList top;
    std::string error;
    QVERIFY(brisquel::ParseRange("top10%", top, error));
    QCOMPARE(lab.comboLabel(0)->text(), QString("%1 combinations").arg(top.size()));
    QVERIFY(lab.grid()->isPicked(0, 0));   // AA
    QVERIFY(!lab.grid()->isPicked(12, 7)); // 72o
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(lab.topSlider(), Qt::Key_PageUp);
    QCOMPARE(lab.playerEdit(0)->text(), QString("top100%"));
    QCOMPARE(lab.comboLabel(0)->text(), QString("1326 combinations"));
    QTest::keyClick(lab.topSlider(), Qt::Key_Home);
    QCOMPARE(lab.playerEdit(0)->text(), QString());
    QCOMPARE(lab.comboLabel(0)->text(), QString("random"));
    // A typed range moves the slider without being rewritten by it.
    const std::tuple<QString, int, QString> typedRanges[] = {{"top25%", 25, "Top 25 %"},
                                                             {"top 2.5%", 3, "Top 2.5 %"},
                                                             {"QQ+,AKs", 2, "1.7 % of hands"},
                                                             {"", 0, "Top 0 %"}};
    for (const auto &[typed, slider, label] : typedRanges) {
        TypeInto(lab.playerEdit(0), typed);
        QCOMPARE(std::tuple(lab.topSlider()->value(), lab.topLabel()->text()),
                 std::tuple(slider, label));
        QCOMPARE(lab.playerEdit(0)->text(), typed);
    }
}

void TestEquityLab::boardPickedAndExactCountShown()
{
    CEquityLabWindow lab;
    lab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lab));
    TypeInto(lab.playerEdit(0), "AhKh");
    TypeInto(lab.playerEdit(1), "QQ,77,AKo");
    const QList<int> flop = {brisquel::ParseCard("Qh"), brisquel::ParseCard("7h"),
                             brisquel::ParseCard("2c"), brisquel::ParseCard("3d")};
    lab.m_runPicker = [&flop](CDlgCards &picker) {
        for (int c : flop)
            picker.cardButton(c)->click();
        picker.cardButton(flop[3])->click(); // the fourth card taken back
        picker.okButton()->click();
        return picker.result();
    };
    QTest::mouseClick(lab.boardButton(), Qt::LeftButton);
    QCOMPARE(lab.boardEdit()->text(), QString("Qh 7h 2c"));
    // Picked again from the board typed, the dead card greyed: 9d taken back.
    TypeInto(lab.deadEdit(), "As");
    TypeInto(lab.boardEdit(), "Qh 7h 2c 9d");
    lab.m_runPicker = [&](CDlgCards &picker) {
        const QPushButton *dead = picker.cardButton(brisquel::ParseCard("As"));
        if (picker.selectedCards().size() == 4 && !dead->isEnabled())
            picker.cardButton(brisquel::ParseCard("9d"))->click();
        picker.okButton()->click();
        return picker.result();
    };
    QTest::mouseClick(lab.boardButton(), Qt::LeftButton);
    QCOMPARE(lab.boardEdit()->text(), QString("Qh 7h 2c"));
    TypeInto(lab.deadEdit(), "");

    QSignalSpy finished(&lab, &CEquityLabWindow::finished);
    QTest::mouseClick(lab.calculateButton(), Qt::LeftButton);
    QVERIFY(!lab.calculateButton()->isEnabled());
    QVERIFY(finished.wait(kCountTimeoutMs));
    QVERIFY(lab.calculateButton()->isEnabled());
    QVERIFY(!lab.stopButton()->isEnabled());

    brisquel::EquitySetup s;
    std::string error;
    s.players.resize(2);
    QVERIFY(brisquel::ParseRange("AhKh", s.players[0].combos, error));
    QVERIFY(brisquel::ParseRange("QQ,77,AKo", s.players[1].combos, error));
    s.board = {flop[0], flop[1], flop[2]};
    s.exact = true;
    const brisquel::EquityResult r = brisquel::CalculateEquity(s);
    QVERIFY(r.ok);
    for (int p = 0; p < 2; ++p) {
        const QString shown = lab.resultLabel(p)->text();
        QVERIFY2(shown.contains(QString::number(100 * r.players[std::size_t(p)].equity, 'f', 2)),
                 qPrintable(shown));
        QVERIFY(shown.endsWith("exact"));
    }
    QVERIFY(lab.statusLabel()->text().startsWith("Exact: "));
    Shot(&lab, "equity_lab_board");
    // Results go the moment an input changes, while it is typed.
    lab.boardEdit()->setFocus();
    QTest::keyClick(lab.boardEdit(), Qt::Key_Backspace);
    QVERIFY(lab.resultLabel(0)->text().isEmpty() && lab.resultLabel(1)->text().isEmpty());
    QCOMPARE(lab.statusLabel()->text(), QString("The inputs changed: Calculate for new results."));
}

void TestEquityLab::rangeAgainstRangeShowsHeatMap()
{
    CEquityLabWindow lab;
    lab.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lab));
    QTest::keyClick(lab.playerCount(), Qt::Key_Up); // three players
    QVERIFY(lab.playerEdit(2)->isVisible());
    TypeInto(lab.playerEdit(0), "AA,KK,72o");
    TypeInto(lab.playerEdit(1), "QQ+,AKs");
    TypeInto(lab.playerEdit(2), "JTs");
    TypeInto(lab.boardEdit(), "9h 8c 2d");
    TypeInto(lab.deadEdit(), "Js");
    QTest::mouseClick(lab.playerChoice(0), Qt::LeftButton);
    QSignalSpy finished(&lab, &CEquityLabWindow::finished);
    QTest::mouseClick(lab.calculateButton(), Qt::LeftButton);
    QVERIFY(finished.wait(kCountTimeoutMs));
    QVERIFY2(lab.resultLabel(2)->text().endsWith("exact"), qPrintable(lab.statusLabel()->text()));
    const CRangeGrid *grid = lab.grid();
    QVERIFY(grid->hasHeat());
    // Aces beat kings and both beat 72o; classes outside the range stay plain.
    QVERIFY(grid->heatAt(0, 0) > grid->heatAt(1, 1));
    QVERIFY(grid->heatAt(1, 1) > grid->heatAt(12, 7));
    QVERIFY(grid->heatAt(2, 2) < 0);
    Shot(&lab, "equity_lab_heat");
    // Changing the range takes the stale heat map away.
    TypeInto(lab.playerEdit(0), "AA");
    QVERIFY(!grid->hasHeat());
}

void TestEquityLab::badInputGetsAMessage()
{
    CEquityLabWindow lab;
    lab.show();
    TypeInto(lab.playerEdit(1), "K2x");
    QCOMPARE(lab.comboLabel(1)->text(), QString("not a range"));
    QTest::mouseClick(lab.calculateButton(), Qt::LeftButton);
    QVERIFY(lab.statusLabel()->text().startsWith("Player 2: "));
    QVERIFY(!lab.isRunning());
    TypeInto(lab.playerEdit(1), "AA");
    TypeInto(lab.playerEdit(0), "AA");
    TypeInto(lab.deadEdit(), "As Ah");
    QSignalSpy finished(&lab, &CEquityLabWindow::finished);
    QTest::mouseClick(lab.calculateButton(), Qt::LeftButton);
    QVERIFY(finished.wait(kCountTimeoutMs));
    QCOMPARE(lab.statusLabel()->text(), QString("The players' hands cannot all be dealt at once."));
    TypeInto(lab.deadEdit(), "Xx");
    QTest::mouseClick(lab.calculateButton(), Qt::LeftButton);
    QCOMPARE(lab.statusLabel()->text(), QString("Dead: 'Xx' is not a card"));
}

void TestEquityLab::stopEndsTheCount()
{
    CEquityLabWindow lab;
    lab.show();
    lab.playerCount()->setFocus();
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(lab.playerCount(), Qt::Key_Up); // ten random players: sampled
    QCOMPARE(lab.playerCount()->value(), 10);
    QSignalSpy finished(&lab, &CEquityLabWindow::finished);
    QTest::mouseClick(lab.calculateButton(), Qt::LeftButton);
    QVERIFY(lab.stopButton()->isEnabled());
    QTest::mouseClick(lab.stopButton(), Qt::LeftButton);
    QVERIFY(finished.wait(kCountTimeoutMs));
    QCOMPARE(lab.statusLabel()->text(), QString("The calculation was stopped."));
    QCOMPARE(lab.resultLabel(0)->text(), QString());
    QCOMPARE(lab.progressBar()->value(), 0);
    QVERIFY(lab.calculateButton()->isEnabled());
}

void TestEquityLab::closingWhileCountingStopsTheWork()
{
    QPointer<CEquityLabWindow> lab = new CEquityLabWindow;
    lab->show();
    TypeInto(lab->playerEdit(0), "top40%");
    TypeInto(lab->playerEdit(1), "top30%");
    QTest::mouseClick(lab->calculateButton(), Qt::LeftButton);
    QVERIFY(lab->isRunning());
    lab->close(); // deletes itself once the worker has stopped
    QTRY_VERIFY_WITH_TIMEOUT(lab.isNull(), kCountTimeoutMs);
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 20261208);
    if (!app)
        return 1;
    TestEquityLab test(*app);
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_equity_lab.moc"
