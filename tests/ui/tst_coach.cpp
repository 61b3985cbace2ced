// The coach at the table, driven as a player drives it: the View panel's "Coach" check box and
// "Pace" control, the coach line under the action panel while the human decides, and one
// verdict line per decision in the output pane after each hand; the files stay free of it.

#include "engine/Game.h"
#include "practice/Store.h"
#include "tests/ui/TestApp.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/CommandIds.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/coach/CoachController.h"
#include "ui/output_pane/OutputWnd.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

CDunmereApp *theApp = nullptr;

QCheckBox *ViewCheckBox(const QString &text)
{
    for (QCheckBox *box : theApp->MainFrame()->findChildren<QCheckBox *>()) {
        if (box->text() == text)
            return box;
    }
    return nullptr;
}

// A click on the box itself, where a player aims (the widget may be wider than its text).
void ClickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

// For a look at the program: BRISQUEL_SCREENSHOTS=<folder> keeps the window's pictures.
void SaveShot(const QString &name)
{
    if (const QString folder = qEnvironmentVariable("BRISQUEL_SCREENSHOTS"); !folder.isEmpty())
        theApp->MainFrame()->grab().save(folder + QLatin1Char('/') + name);
}

QString FileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestCoach : public QObject
{
    Q_OBJECT

private slots:
    void paceControlSetsThePauses();
    void coachCheckBoxIsRemembered();
    void coachJudgesEveryDecision();
};

void TestCoach::paceControlSetsThePauses()
{
    CMainFrame *frame = theApp->MainFrame();
    QSlider *pace = frame->paceSlider();
    auto *value = frame->findChild<QLabel *>(QStringLiteral("PaceValue"));
    QVERIFY(pace && value);
    // The tests start without pauses.
    QCOMPARE(pace->value(), 0);
    QCOMPARE(value->text(), QStringLiteral("no pauses"));

    pace->setFocus();
    QTest::keyClick(pace, Qt::Key_End);
    QCOMPARE(value->text(), QStringLiteral("2.0\u00d7"));
    {
        auto lock = theApp->Game().LockState();
        QCOMPARE(theApp->Game().PauseFactor(), 2.0);
    }
    QTest::keyClick(pace, Qt::Key_PageDown);
    QCOMPARE(value->text(), QStringLiteral("1.5\u00d7"));
    QCOMPARE(QSettings().value(QStringLiteral("View/Pace")).toDouble(), 1.5);
    QCOMPARE(CMainFrame::SavedPace(), 1.5);

    // Back to no pauses for the game that follows.
    QTest::keyClick(pace, Qt::Key_Home);
    QCOMPARE(value->text(), QStringLiteral("no pauses"));
    QCOMPARE(QSettings().value(QStringLiteral("View/Pace")).toDouble(), 0.0);
    auto lock = theApp->Game().LockState();
    QCOMPARE(theApp->Game().PauseFactor(), 0.0);
}

void TestCoach::coachCheckBoxIsRemembered()
{
    QCheckBox *box = ViewCheckBox(QStringLiteral("Coach"));
    QVERIFY(box);
    QVERIFY(!box->isChecked()); // off until the player turns it on
    QVERIFY(!theApp->MainFrame()->coach()->isEnabled());
    ClickBox(box);
    QTRY_VERIFY(box->isChecked());
    QVERIFY(theApp->MainFrame()->coach()->isEnabled());
    QVERIFY(theApp->MainFrame()->action(ID_VIEW_COACH)->isChecked());
    QCOMPARE(QSettings().value(QStringLiteral("View/Coach")).toBool(), true);
    ClickBox(box);
    QTRY_VERIFY(!box->isChecked());
    QCOMPARE(QSettings().value(QStringLiteral("View/Coach")).toBool(), false);
    ClickBox(box);
    QTRY_VERIFY(theApp->MainFrame()->coach()->isEnabled());
}

void TestCoach::coachJudgesEveryDecision()
{
    CDunmereGame &game = theApp->Game();
    CDlgPlayerChoose *panel = theApp->OutputWnd()->actionPanel();
    CCoachController *coach = theApp->MainFrame()->coach();
    QLabel *line = coach->line();
    QVERIFY(coach->isEnabled());

    // Every kind of spot drilled once and answered right: each decision after a hand says so.
    {
        practice::Store store;
        std::string error;
        QVERIFY(store.Open(QDir(theApp->DatabaseFolder())
                               .filePath(QString::fromLatin1(practice::kStoreFileName))
                               .toStdString(),
                           error));
        std::vector<practice::Spot> spots;
        for (int kind = 0; kind < 4 * 4 * 3; ++kind) {
            practice::Spot spot;
            spot.game = "drilled";
            spot.hand = kind;
            spot.hole = {0, 1};
            spot.options = {playout::Option{}}; // a fold: the store keeps no spot without one
            spot.leak = {history::Street(kind / 12), coach::Position(kind / 3 % 4),
                         practice::Faced(kind % 3), playout::Grade::Mistake};
            spots.push_back(spot);
        }
        QCOMPARE(store.Add(spots, error), int(spots.size()));
        for (const practice::Spot &spot : spots)
            QVERIFY(store.Answered(spot, {spot.key(), 1, true, 0.0}, error));
    }

    // The panel line only ever shows while the human is deciding: a late result for a decision
    // already taken is dropped.
    int shownWhileIdle = 0;
    int advicesShown = 0;
    connect(coach, &CCoachController::panelLineShown, this,
            [&] { shownWhileIdle += panel->IsDecisionPrepared() ? 0 : 1; });
    connect(coach, &CCoachController::adviceShown, this, [&] {
        shownWhileIdle += panel->IsDecisionPrepared() ? 0 : 1;
        ++advicesShown;
    });
    QTimer modalCloser;
    connect(&modalCloser, &QTimer::timeout, this, [] {
        if (auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dlg->reject();
    });
    modalCloser.start(50);

    // Off until the first decision is pending: ticked then, it advises on that decision.
    QCheckBox *box = ViewCheckBox(QStringLiteral("Coach"));
    ClickBox(box);
    QTRY_VERIFY(!coach->isEnabled());

    GameSetupItems items;
    items.seatCount = 10;
    items.names = {"Hero",   "Maniac", "Tim",       "Professor", "Master",
                   "Maniac", "Tim",    "Professor", "Master",    "Tim"};
    items.stacks = std::vector<int>(10, 2000);
    items.smallBlind = 10;
    items.bigBlind = 20;
    game.StartGame(items);
    theApp->MainFrame()->UpdateCommandUI();
    theApp->MainFrame()->ExecuteCommand(ID_WHO_IS_ON_BUTTON);

    static const QRegularExpression panelText(
        QStringLiteral("^Equity \\d+ % \u00b7 (needs (\\d+) % \\((\\d+(\\.\\d)?):1\\)|nothing to "
                       "call)$"));
    QStringList moves; // what was pressed, as the coach names it
    bool stopSent = false;
    constexpr int kDecisions = 14;
    while (game.GameThreadRunning() || !stopSent) {
        QVERIFY(QTest::qWaitFor(
            [&] { return panel->IsDecisionPrepared() || !game.GameThreadRunning(); }, 30000));
        if (panel->IsDecisionPrepared()) {
            int toCall = 0, pot = 0;
            {
                auto lock = game.LockState();
                const CGameTable &t = game.m_table;
                toCall = std::max(0, std::min(t.m_amountToCall - t.m_bet[0], t.m_stack[0]));
                pot = t.m_pot;
                for (int s = 0; s < t.m_seatCount; ++s)
                    pot += t.m_bet[s];
            }
            const int i = int(moves.size());
            // Every other decision is answered as soon as the buttons show, before the coach
            // can have answered; the others wait for the line and read it.
            if (i == 0) {
                QVERIFY(!line->isVisible());
                ClickBox(box);
            }
            if (i % 2 == 0) {
                QTRY_VERIFY_WITH_TIMEOUT(line->isVisible(), 60000);
                const QRegularExpressionMatch m = panelText.match(line->text());
                QVERIFY2(m.hasMatch(), qPrintable(line->text()));
                if (toCall > 0)
                    QCOMPARE(m.captured(2).toInt(),
                             int(std::lround(100.0 * toCall / (pot + toCall))));
                else
                    QVERIFY(m.captured(2).isEmpty());
                // The options' values follow within about a second and are refined while the
                // player thinks; what is owed decides which options there are. They come in
                // time only if the play-outs of the decisions before stopped when the player
                // acted (else they would go on refining for many seconds).
                QLabel *advice = coach->adviceLine();
                const int before = advicesShown;
                QTRY_VERIFY_WITH_TIMEOUT(advice->isVisible(), 15000);
                if (i == 0)
                    QTRY_VERIFY_WITH_TIMEOUT(advicesShown >= before + 2, 60000);
                const QString values = advice->text();
                QVERIFY2(values.startsWith(QLatin1String("Best: ")) ||
                             values.startsWith(QLatin1String("Best vs ")),
                         qPrintable(values));
                QCOMPARE(values.contains(QLatin1String("fold")), toCall > 0);
                QCOMPARE(values.contains(QLatin1String("call")), toCall > 0);
                QCOMPARE(values.contains(QLatin1String("check")), toCall == 0);
                // Every other option costs something against the best, or nothing.
                QStringList parts = values.split(QStringLiteral(" \u00b7 "));
                if (values.startsWith(QLatin1String("Best vs ")))
                    QVERIFY2(parts.takeLast().startsWith(QLatin1String("vs a typical player: ")),
                             qPrintable(values));
                static const QRegularExpression cost(
                    QStringLiteral(" (\u2212\\d+\\.\\d|0\\.0) bb$"));
                for (qsizetype k = 1; k < parts.size(); ++k)
                    QVERIFY2(cost.match(parts[k]).hasMatch(), qPrintable(parts[k]));
                SaveShot(QStringLiteral("coach_line_%1.png").arg(i));
            }
            QPushButton *button = panel->checkCallButton();
            QString move = toCall > 0 ? QStringLiteral("call") : QStringLiteral("check");
            if (toCall > 200) {
                button = panel->foldButton();
                move = QStringLiteral("fold");
            } else if (i % 3 == 1 && !panel->raiseButton()->isHidden()) {
                QTest::mouseClick(panel->minButton(), Qt::LeftButton);
                QCoreApplication::processEvents(); // the slider repaints and rounds
                button = panel->raiseButton();
                move = QStringLiteral("(bet|raise)");
            }
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!panel->IsDecisionPrepared());
            QVERIFY(line->isHidden());
            QVERIFY(coach->adviceLine()->isHidden());
            moves << move;
        }
        if (!stopSent && (moves.size() >= kDecisions || !game.GameThreadRunning())) {
            theApp->MainFrame()->ExecuteCommand(ID_STOP_GAME);
            stopSent = true;
        }
    }
    game.WaitForGameEnd();
    QVERIFY(moves.size() >= 4);

    // One verdict line per decision, in order, once the last hand is over.
    COutputList *pane = theApp->OutputWnd()->chatList();
    const auto coachLines = [pane] {
        QStringList lines;
        for (int row = 0; row < pane->count(); ++row) {
            if (pane->item(row)->text().startsWith(QLatin1String("Coach: ")))
                lines << pane->item(row)->text();
        }
        return lines;
    };
    QTRY_COMPARE_WITH_TIMEOUT(coachLines().size(), moves.size(), 60000);
    const QStringList lines = coachLines();
    // And after each verdict the options' values and the grade of the move made.
    QStringList optionLines;
    for (int row = 0; row < pane->count(); ++row) {
        const QString text = pane->item(row)->text();
        if (text.startsWith(QLatin1String("  options: ")))
            optionLines << text;
        else if (text.startsWith(QLatin1String("Coach: ")))
            QVERIFY2(row + 1 < pane->count() &&
                         pane->item(row + 1)->text().startsWith(QLatin1String("  options: ")),
                     qPrintable(text));
    }
    QCOMPARE(optionLines.size(), moves.size());
    const QString drilledLine = QStringLiteral("  you drilled this spot: 1 of 1 right");
    int drilled = 0;
    for (int row = 0; row < pane->count(); ++row)
        drilled += pane->item(row)->text() == drilledLine;
    QCOMPARE(drilled, moves.size());
    for (int i = 0; i < moves.size(); ++i) {
        const QRegularExpression graded(
            QStringLiteral("^  options: [a-z ]+( \\d+)? ([+\u2212]\\d+\\.\\d|0\\.0) bb "
                           "\\(best\\)( \u00b7 [^;]+)?; you: %1( \\d+)?( \u2248 [^,]+)?, "
                           "(ok|small mistake|mistake|blunder)( \\(uncertain\\))?"
                           "( \\(\u2212\\d+\\.\\d bb\\))?$")
                .arg(moves[i] == QLatin1String("(bet|raise)")
                         ? QStringLiteral("(bet|raise to|all in)")
                         : moves[i]));
        QVERIFY2(graded.match(optionLines[i]).hasMatch(), qPrintable(optionLines[i]));
    }
    // The verdict of each line is the grade the options' line gives the move.
    for (int i = 0; i < moves.size(); ++i) {
        const QString grade = optionLines[i]
                                  .section(QStringLiteral(", "), -1)
                                  .section(QStringLiteral(" (\u2212"), 0, 0);
        const QRegularExpression verdict(
            QStringLiteral("^Coach: (preflop|flop|turn|river) %1 .*into \\d+, equity \\d+ %"
                           "( [<=>] \\d+ % needed)?: %2( \\([+\u2212]\\d+\\))?$")
                .arg(moves[i], QRegularExpression::escape(grade)));
        QVERIFY2(verdict.match(lines[i]).hasMatch(), qPrintable(lines[i] + " / " + grade));
    }
    QCOMPARE(shownWhileIdle, 0);
    SaveShot(QStringLiteral("coach_verdicts.png"));

    // The log and the hand history keep their own texts.
    const QDir folder(QDir::current().filePath(QStringLiteral("HandHistory")));
    const QStringList files = folder.entryList({QStringLiteral("HH_*.txt")}, QDir::Files);
    QCOMPARE(files.size(), 1);
    for (const QString &text :
         {FileText(folder.filePath(files.first())), FileText(QStringLiteral("HistoryGame.log"))}) {
        QVERIFY(text.contains(QLatin1String("Hero_0")));
        QVERIFY(!text.contains(QLatin1String("Coach")));
        QVERIFY(!text.contains(QLatin1String("Equity")));
        QVERIFY(!text.contains(QLatin1String("options")));
    }
}

int main(int argc, char **argv)
{
    QTemporaryDir work;
    const auto app = StartTestApp(argc, argv, work, 11);
    if (!app)
        return 1;
    theApp = app.get();
    TestCoach test;
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_coach.moc"
