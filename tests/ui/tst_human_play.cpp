// The human plays whole hands in the running program: the test answers every decision the
// game prepares by pressing the panel's buttons, then checks that the engine booked exactly
// the amounts the panel stored, both in its own records and in the hand-history file.

#include "engine/Game.h"
#include "tests/ui/TestApp.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/calculator/DlgCalculate.h"
#include "ui/output_pane/OutputWnd.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

struct Decision
{
    bool fold = false;
    int amount = 0;
};

CDunmereApp *theApp = nullptr;

} // namespace

class TestHumanPlay : public QObject
{
    Q_OBJECT

private slots:
    void calculatorOpensFromCommand();
    void playWholeHands();

private:
    // Presses one of the panel's buttons for the i-th decision; returns what the panel stored.
    Decision answer(CDlgPlayerChoose &panel, int i);
    Decision m_lastDecision; // as the panel stored it, before the game thread woke up
    // Decisions made by typing an amount and Enter: their index and the chips they must put in.
    QList<QPair<int, int>> m_typed;
};

void TestHumanPlay::calculatorOpensFromCommand()
{
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *dlg = qobject_cast<CDlgCalculate *>(QApplication::activeModalWidget());
        seen = dlg && dlg->windowTitle() == QLatin1String("Dunmere");
        if (QDialog *any = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            any->reject();
    });
    theApp->MainFrame()->ExecuteCommand(ID_CALCULATOR);
    QVERIFY(seen);
}

namespace {

// Between two things a user does, Qt delivers what is pending and repaints the panel.
void settle(CDlgPlayerChoose &panel)
{
    QCoreApplication::processEvents();
    panel.grab();
    QCoreApplication::processEvents();
}

void click(CDlgPlayerChoose &panel, QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    settle(panel);
}

} // namespace

Decision TestHumanPlay::answer(CDlgPlayerChoose &panel, int i)
{
    CDunmereGame &game = theApp->Game();
    int amountToCall = 0;
    int bet = 0;
    int stack = 0;
    int bigBlind = 0;
    int minTotal = 0;
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        amountToCall = game.m_table.m_amountToCall;
        bet = game.m_table.m_bet[0];
        stack = game.m_table.m_stack[0];
        bigBlind = game.m_table.m_bigBlind;
        minTotal = game.m_table.m_raises.MinRaiseTotal();
    }
    const int toCall = amountToCall - bet;
    const bool canRaise = !panel.raiseButton()->isHidden();
    settle(panel);
    // Keep the human in the game: never call off a big part of the stack.
    if (toCall > stack / 3) {
        click(panel, panel.foldButton());
    } else {
        switch (i % 6) {
        case 1:
            if (canRaise) {
                click(panel, panel.minButton());
                click(panel, panel.raiseButton());
                break;
            }
            [[fallthrough]];
        case 0:
            click(panel, panel.checkCallButton());
            break;
        case 5: // the key, as a player at the table would press it
            QTest::keyClick(theApp->MainFrame(), Qt::Key_F2);
            break;
        case 2:
            if (canRaise && panel.halfButton()->isEnabled()) {
                click(panel, panel.halfButton()); // the slider repaints and rounds the amount
                click(panel, panel.raiseButton());
            } else {
                click(panel, panel.checkCallButton());
            }
            break;
        case 3:
            click(panel, toCall > 0 ? panel.foldButton() : panel.checkCallButton());
            break;
        default:
            if (canRaise) {
                // A total off the big blind's steps, which the slider could not offer.
                const int total = std::max(amountToCall, 0) + 3 * bigBlind + 7;
                QLineEdit *edit = panel.amountEdit();
                edit->setFocus();
                edit->selectAll();
                QTest::keyClicks(edit, QString::number(total));
                settle(panel);
                QTest::keyClick(edit, Qt::Key_Return);
                settle(panel);
                // Below the smallest legal raise it becomes that raise.
                m_typed << qMakePair(i, std::min(std::max(total, minTotal), stack + bet) - bet);
                click(panel, panel.raiseButton());
            } else {
                click(panel, panel.checkCallButton());
            }
            break;
        }
    }
    return m_lastDecision;
}

void TestHumanPlay::playWholeHands()
{
    CDunmereGame &game = theApp->Game();
    CDlgPlayerChoose *panel = theApp->OutputWnd()->actionPanel();
    QVERIFY(panel);
    connect(panel, &CDlgPlayerChoose::decided, this, [this, panel](int amount, bool folded) {
        m_lastDecision = Decision{folded, amount};
        // Every control is gone before the game thread wakes up.
        QVERIFY(!panel->IsDecisionPrepared());
        QVERIFY(panel->foldButton()->isHidden());
    });

    // A busted human would be offered chips: decline, which ends the game.
    QTimer modalCloser;
    connect(&modalCloser, &QTimer::timeout, this, [] {
        if (auto *dlg = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dlg->reject();
    });
    modalCloser.start(50);

    theApp->MainFrame()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(theApp->MainFrame()));

    GameSetupItems items;
    items.seatCount = 4;
    items.names = {"Hero", "Maniac", "Tim", "Professor"};
    items.stacks = {2000, 2000, 2000, 2000};
    items.smallBlind = 10;
    items.bigBlind = 20;
    items.gameTypeId = 0;
    game.StartGame(items);
    theApp->MainFrame()->UpdateCommandUI(); // the ribbon enables "Start deal"
    theApp->MainFrame()->ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    QVERIFY(game.GameThreadRunning());

    QList<Decision> decisions;
    bool stopSent = false;
    constexpr int kDecisions = 24;
    while (game.GameThreadRunning() || !stopSent) {
        QVERIFY(QTest::qWaitFor(
            [&] { return panel->IsDecisionPrepared() || !game.GameThreadRunning(); }, 30000));
        if (panel->IsDecisionPrepared()) {
            decisions << answer(*panel, int(decisions.size()));
        }
        if (!stopSent && (decisions.size() >= kDecisions || !game.GameThreadRunning())) {
            theApp->MainFrame()->ExecuteCommand(ID_STOP_GAME);
            stopSent = true;
        }
    }
    game.WaitForGameEnd();
    QVERIFY(decisions.size() >= 8);

    // The hand history names the human "Hero_0" and shows each decision's chips.
    const QDir folder(QDir::current().filePath("HandHistory"));
    const QStringList files = folder.entryList({"HH_*.txt"}, QDir::Files);
    QCOMPARE(files.size(), 1);
    QFile file(folder.filePath(files.first()));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    static const QRegularExpression action(
        "^Hero_0: (folds|checks|calls (\\d+)|raises (\\d+))\\s*$");
    QList<Decision> booked;
    for (const QString &line : lines) {
        const QRegularExpressionMatch m = action.match(line);
        if (!m.hasMatch())
            continue;
        Decision d;
        d.fold = m.captured(1) == QLatin1String("folds");
        d.amount = m.captured(2).isEmpty() ? m.captured(3).toInt() : m.captured(2).toInt();
        booked << d;
    }
    QCOMPARE(booked.size(), decisions.size());
    int raises = 0;
    for (int i = 0; i < decisions.size(); ++i) {
        QCOMPARE(booked[i].fold, decisions[i].fold);
        if (!decisions[i].fold)
            QCOMPARE(booked[i].amount, decisions[i].amount);
        raises += lines.contains(QStringLiteral("Hero_0: raises %1").arg(decisions[i].amount));
    }
    QVERIFY(raises > 0);
    // What was typed and confirmed with Enter is what went in.
    QVERIFY(!m_typed.isEmpty());
    for (const auto &[index, chips] : m_typed)
        QCOMPARE(decisions[index].amount, chips);
}

int main(int argc, char **argv)
{
    QTemporaryDir work;
    const auto app = StartTestApp(argc, argv, work, 7, true);
    if (!app)
        return 1;
    theApp = app.get();
    TestHumanPlay test;
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_human_play.moc"
