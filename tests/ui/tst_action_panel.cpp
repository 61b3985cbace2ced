#include "DlgPlayerChoose.h"
#include "GameState.h"
#include "ManualResetEvent.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <thread>

// The panel against a bare table: no game thread, the test plays the engine's part by setting
// the table, preparing the panel and reading what the decision stored.
class TestActionPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hiddenBetweenDecisions();
    void betWithoutBetYetIgnoresTypedText();
    void checkWhenBetMatched();
    void callAndRaiseCaptions();
    void allInOnlyWhenCallingTakesEverything();
    void foldMarksSeatFolded();
    void enterInAmountBox_data();
    void enterInAmountBox();
    void raiseClampsTypedText_data();
    void raiseClampsTypedText();
    void sliderRuleRoundsDown();
    void halfAndThreeQuartersThenRounding();
    void sizingButtonDisabledBelowCallUntilNextDecision();
    void stepsMoveByBigBlind();
    void maxOffersWholeStack();
    void raiseWithLessThanTheMinimumBehindGoesAllIn();
    void betOrRaiseAtLeastMinimum();
    void sliderDrawnFlatOnDarkPanel();
    void preparedFromGameThread();
    void keysActOnlyWhilePrepared();

private:
    // A = amount to call (seat 1's bet), H = own bet, S = own stack, P = pot with the bets.
    void setTable(int A, int H, int S, int BB, int P);
    void prepare();
    void repaint() { m_panel->grab(); } // paints the panel, then the slider (the rule)
    int decided() const { return m_table->m_humanAmount; }

    std::unique_ptr<CGameTable> m_table;
    std::mutex m_mutex;
    ManualResetEvent m_event;
    std::unique_ptr<CDlgPlayerChoose> m_panel;
};

void TestActionPanel::init()
{
    m_table = std::make_unique<CGameTable>();
    m_event.Reset();
    m_panel = std::make_unique<CDlgPlayerChoose>(*m_table, m_mutex, m_event);
    m_panel->resize(m_panel->minimumSize());
    m_panel->show();
}

void TestActionPanel::cleanup()
{
    m_panel.reset();
    m_table.reset();
}

void TestActionPanel::setTable(int A, int H, int S, int BB, int P)
{
    m_table->m_seatCount = 2;
    m_table->m_amountToCall = A;
    m_table->m_bet[0] = H;
    m_table->m_bet[1] = A;
    m_table->m_stack[0] = S;
    m_table->m_bigBlind = BB;
    m_table->m_pot = P - H - A;
    m_table->m_folded[0] = false;
    m_table->m_humanAmount = -1;
}

void TestActionPanel::prepare()
{
    m_event.Reset();
    m_panel->PrepareDecision(m_table->m_stack[0] + m_table->m_bet[0]);
    repaint();
}

void TestActionPanel::hiddenBetweenDecisions()
{
    const QList<QWidget *> controls = {
        m_panel->foldButton(), m_panel->checkCallButton(), m_panel->raiseButton(),
        m_panel->minButton(),  m_panel->halfButton(),      m_panel->threeQuartersButton(),
        m_panel->potButton(),  m_panel->maxButton(),       m_panel->minusButton(),
        m_panel->plusButton(), m_panel->slider(),          m_panel->amountEdit()};
    for (QWidget *w : controls)
        QVERIFY(w->isHidden());
    setTable(20, 0, 1000, 20, 30);
    prepare();
    for (QWidget *w : controls)
        QVERIFY(!w->isHidden());
    m_panel->checkCallButton()->click();
    for (QWidget *w : controls)
        QVERIFY(w->isHidden());
    QVERIFY(!m_panel->IsDecisionPrepared());
}

void TestActionPanel::betWithoutBetYetIgnoresTypedText()
{
    setTable(0, 0, 1000, 20, 60);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), QString("CHECK"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 20"));

    m_panel->potButton()->click();
    repaint();
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 60"));
    m_panel->amountEdit()->setText("500");
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 60);
    QVERIFY(m_event.IsSet());
    QVERIFY(!m_table->m_folded[0]);
}

void TestActionPanel::checkWhenBetMatched()
{
    // The big blind's option before the flop.
    setTable(20, 20, 980, 20, 30);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), QString("CHECK"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 40"));
    m_panel->checkCallButton()->click();
    QCOMPARE(decided(), 0);
    QVERIFY(!m_table->m_folded[0]);
    QVERIFY(m_event.IsSet());
}

void TestActionPanel::callAndRaiseCaptions()
{
    setTable(60, 20, 980, 20, 110);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), QString("CALL 40"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 80"));
    QCOMPARE(m_panel->amountEdit()->text(), QString("80"));
    QCOMPARE(m_panel->slider()->value(), 80);
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 60); // raise to 80 with 20 already in
}

void TestActionPanel::allInOnlyWhenCallingTakesEverything()
{
    setTable(500, 0, 300, 20, 530);
    prepare();
    QVERIFY(!m_panel->foldButton()->isHidden());
    QVERIFY(!m_panel->checkCallButton()->isHidden());
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_panel->raiseButton(), m_panel->slider(), m_panel->amountEdit(),
             m_panel->minusButton(), m_panel->plusButton(), m_panel->minButton(),
             m_panel->halfButton(), m_panel->threeQuartersButton(), m_panel->potButton(),
             m_panel->maxButton()})
        QVERIFY(w->isHidden());
    QCOMPARE(m_panel->checkCallButton()->text(), QString("ALL IN"));
    QCOMPARE(int(m_panel->m_allInOnly), 1);
    m_panel->checkCallButton()->click();
    QCOMPARE(decided(), 300);

    // Exactly the stack to call is still all in.
    setTable(300, 0, 300, 20, 330);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), QString("ALL IN"));
}

void TestActionPanel::foldMarksSeatFolded()
{
    setTable(100, 20, 500, 20, 150);
    prepare();
    m_panel->foldButton()->click();
    QCOMPARE(decided(), 0);
    QVERIFY(m_table->m_folded[0]);
    QVERIFY(m_event.IsSet());

    // A second click before the game thread reacts decides nothing more.
    m_table->m_humanAmount = -1;
    m_panel->OnCheckCall();
    QCOMPARE(decided(), -1);
}

void TestActionPanel::enterInAmountBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("below minimum raise") << "5" << 40;
    QTest::newRow("in range") << "130" << 130;
    QTest::newRow("more than the stack") << "5000" << 1000;
    QTest::newRow("no number") << "abc" << 40;
}

void TestActionPanel::enterInAmountBox()
{
    QFETCH(QString, typed);
    QFETCH(int, expected);
    setTable(20, 0, 1000, 20, 30);
    prepare();
    m_panel->amountEdit()->setText(typed);
    QTest::keyClick(m_panel->amountEdit(), Qt::Key_Return);
    QCOMPARE(m_panel->m_raiseAmount, expected);
    QCOMPARE(m_panel->amountEdit()->text(), QString::number(expected));
    QVERIFY(!m_event.IsSet()); // Enter decides nothing
    QVERIFY(m_panel->IsDecisionPrepared());
}

void TestActionPanel::raiseClampsTypedText_data()
{
    QTest::addColumn<int>("H");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("below A raises to A") << 0 << "50" << 100;
    // More than the chips behind is all in: the round's bet counts toward the total.
    QTest::newRow("above S + H goes all in") << 20 << "9999" << 500;
    QTest::newRow("in range") << 20 << "260" << 240;
}

void TestActionPanel::raiseClampsTypedText()
{
    QFETCH(int, H);
    QFETCH(QString, typed);
    QFETCH(int, expected);
    setTable(100, H, 500, 20, 150 + H);
    prepare();
    m_panel->amountEdit()->setText(typed);
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), expected);
}

void TestActionPanel::sliderRuleRoundsDown()
{
    setTable(0, 0, 1000, 20, 40);
    prepare();
    m_panel->slider()->setValue(57);
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 40); // 57 -> 50 -> 40
    QCOMPARE(m_panel->amountEdit()->text(), QString("40"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 40"));

    // Below the smallest raise the rule leaves the amount alone.
    m_panel->slider()->setValue(15);
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 40);
}

void TestActionPanel::halfAndThreeQuartersThenRounding()
{
    setTable(0, 0, 1000, 10, 75);
    prepare();
    m_panel->halfButton()->click();
    QCOMPARE(m_panel->m_raiseAmount, 37);
    QCOMPARE(m_panel->amountEdit()->text(), QString("37"));
    QCOMPARE(m_panel->slider()->value(), 37);
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 30);
    QCOMPARE(m_panel->amountEdit()->text(), QString("30"));

    m_panel->threeQuartersButton()->click();
    QCOMPARE(m_panel->m_raiseAmount, 54); // 75 / 4 = 18, times 3
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 50);
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 50);
}

void TestActionPanel::sizingButtonDisabledBelowCallUntilNextDecision()
{
    // Pot 250 with 200 to call: half and three quarters are below A, the pot is not.
    setTable(200, 0, 1000, 20, 250);
    prepare();
    m_panel->halfButton()->click();
    QVERIFY(!m_panel->halfButton()->isEnabled());
    m_panel->threeQuartersButton()->click();
    QVERIFY(!m_panel->threeQuartersButton()->isEnabled());
    m_panel->potButton()->click();
    QVERIFY(m_panel->potButton()->isEnabled());
    QCOMPARE(m_panel->m_raiseAmount, 250);

    m_panel->foldButton()->click();
    setTable(20, 0, 1000, 20, 30);
    prepare();
    QVERIFY(m_panel->halfButton()->isEnabled());
    QVERIFY(m_panel->threeQuartersButton()->isEnabled());
}

void TestActionPanel::stepsMoveByBigBlind()
{
    setTable(20, 0, 100, 20, 30);
    prepare();
    QCOMPARE(m_panel->slider()->value(), 40);
    m_panel->plusButton()->click();
    QCOMPARE(m_panel->slider()->value(), 60);
    QCOMPARE(m_panel->m_raiseAmount, 60);
    m_panel->minusButton()->click();
    m_panel->minusButton()->click(); // 20 is below the minimum raise: no step
    QCOMPARE(m_panel->slider()->value(), 40);
    QCOMPARE(m_panel->m_raiseAmount, 40);
    m_panel->plusButton()->click();
    m_panel->plusButton()->click();
    m_panel->plusButton()->click();
    m_panel->plusButton()->click(); // 120 is more than the stack: no step
    QCOMPARE(m_panel->slider()->value(), 100);
}

void TestActionPanel::maxOffersWholeStack()
{
    setTable(0, 0, 1234, 20, 60);
    prepare();
    m_panel->maxButton()->click();
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 1234);
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 1234"));
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 1234);

    // With chips already in this round, MAX still means every chip behind.
    setTable(100, 40, 1000, 20, 200);
    prepare();
    m_panel->maxButton()->click();
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 1040);
    QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 1040"));
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 1000);

    // MIN goes back to the smallest raise even after another sizing button.
    setTable(35, 0, 1000, 20, 70);
    prepare();
    m_panel->potButton()->click();
    m_panel->minButton()->click();
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 55);
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 55);
}

void TestActionPanel::raiseWithLessThanTheMinimumBehindGoesAllIn()
{
    // The big blind posted 20 with 30 behind and faces 40: any raise is all in (30 more, 50 in
    // all), never 10 more for a total below the call.
    setTable(40, 20, 30, 20, 80);
    prepare();
    QVERIFY(!m_panel->raiseButton()->isHidden());
    m_panel->amountEdit()->setText("9999");
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 30);
}

void TestActionPanel::betOrRaiseAtLeastMinimum()
{
    // Half of a 39 pot is 19, below the big blind: the bet is the big blind.
    setTable(0, 0, 1000, 20, 39);
    prepare();
    m_panel->halfButton()->click();
    repaint();
    QCOMPARE(m_panel->m_raiseAmount, 19);
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 20);

    // A typed raise between the call and the minimum raise is the minimum raise.
    setTable(100, 0, 1000, 20, 150);
    prepare();
    m_panel->amountEdit()->setText("105");
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 120);

    // With fewer chips than the minimum raise, the raise is the whole stack.
    setTable(100, 0, 110, 20, 150);
    prepare();
    m_panel->amountEdit()->setText("105");
    m_panel->raiseButton()->click();
    QCOMPARE(decided(), 110);
}

void TestActionPanel::sliderDrawnFlatOnDarkPanel()
{
    setTable(0, 0, 1000, 20, 30);
    prepare();
    auto count = [](const QImage &img, QColor c) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += img.pixelColor(x, y) == c;
        return n;
    };
    const QImage normal = m_panel->slider()->grab().toImage();
    QCOMPARE(normal.pixelColor(0, 0), QColor(35, 35, 35));
    QVERIFY(count(normal, QColor(203, 203, 203)) > 20);
    QCOMPARE(count(normal, QColor(152, 152, 152)), 0);
    m_panel->slider()->setSliderDown(true);
    const QImage pressed = m_panel->slider()->grab().toImage();
    QVERIFY(count(pressed, QColor(152, 152, 152)) > 20);
    QCOMPARE(count(pressed, QColor(203, 203, 203)), 0);
    m_panel->slider()->setSliderDown(false);
}

void TestActionPanel::preparedFromGameThread()
{
    setTable(20, 0, 1000, 20, 30);
    std::atomic<bool> returned{false};
    std::thread game([&] {
        m_panel->PrepareDecision(1000);
        returned = true;
    });
    QTRY_VERIFY(returned.load());
    game.join();
    QVERIFY(m_panel->IsDecisionPrepared());
    QCOMPARE(m_panel->slider()->maximum(), 1000);

    // At shutdown a game thread is released without the UI thread's help.
    m_panel->AbandonPendingPrepare();
    std::thread late([&] { m_panel->PrepareDecision(1000); });
    late.join();
}

void TestActionPanel::keysActOnlyWhilePrepared()
{
    m_panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
    setTable(20, 0, 1000, 20, 30);
    QTest::keyClick(m_panel.get(), Qt::Key_F2);
    QVERIFY(!m_event.IsSet());

    prepare();
    QTest::keyClick(m_panel.get(), Qt::Key_F4);
    QCOMPARE(m_panel->m_raiseAmount, 1000);
    QVERIFY(!m_event.IsSet());
    QTest::keyClick(m_panel.get(), Qt::Key_F3);
    QVERIFY(m_event.IsSet());
    QCOMPARE(decided(), 1000);

    prepare();
    QTest::keyClick(m_panel.get(), Qt::Key_F2);
    QCOMPARE(decided(), 20);

    prepare();
    QTest::keyClick(m_panel.get(), Qt::Key_F1);
    QVERIFY(m_table->m_folded[0]);
}

QTEST_MAIN(TestActionPanel)
#include "tst_action_panel.moc"
