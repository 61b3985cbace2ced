#include "engine/Game.h"
#include "ui/action_panel/DlgPlayerChoose.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <sstream>

#include <memory>
#include <thread>

// The panel against a game never dealt: no game thread, the test plays the engine's part by
// setting the table, preparing the panel and reading what the decision stored.
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
    void keyboardFocusRingFollowsTab();
    void preparedFromGameThread();
    void keysActOnlyWhilePrepared();
    void legalTotalsOnly_data();
    void legalTotalsOnly();
    void noAmountBelowTheMinimum_data();
    void noAmountBelowTheMinimum();

private:
    // A = amount to call (seat 1's bet), H = own bet, S = own stack, P = pot with the bets.
    void setTable(int A, int H, int S, int BB, int P);
    // The round so far: "seat:total,..." as the seats acted, after the blinds (preflop) or
    // from the start of a street; A is then the highest total.
    void setRound(bool preflop, const QString &acts, int H, int S, int P);
    void prepare();
    // What happens between two things a user does: Qt delivers what is pending and paints the
    // panel, then the slider (whose paint runs the slider rule).
    void settle()
    {
        QCoreApplication::processEvents();
        m_panel->grab();
        QCoreApplication::processEvents();
    }
    void click(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    // Replaces the amount box's text by typing, as a user selects it and types over it.
    void type(const QString &text)
    {
        QLineEdit *edit = m_panel->amountEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        settle();
    }
    void pressEnter()
    {
        QTest::keyClick(m_panel->amountEdit(), Qt::Key_Return);
        settle();
    }
    void dragSliderTo(int value) // where a drag of the thumb ends
    {
        m_panel->slider()->setValue(value);
        settle();
    }
    int decided() const { return m_table->m_humanAmount; }

    std::unique_ptr<CDunmereGame> m_game; // never dealt: no game thread
    CGameTable *m_table = nullptr;
    ManualResetEvent *m_event = nullptr;
    std::unique_ptr<CDlgPlayerChoose> m_panel;
};

void TestActionPanel::init()
{
    m_game = std::make_unique<CDunmereGame>();
    m_table = &m_game->m_table;
    m_event = &m_game->m_humanActionEvent;
    m_panel = std::make_unique<CDlgPlayerChoose>(*m_game);
    m_panel->resize(m_panel->minimumSize());
    m_panel->show();
}

void TestActionPanel::cleanup()
{
    m_panel.reset();
    m_game.reset();
}

void TestActionPanel::setTable(int A, int H, int S, int BB, int P)
{
    m_table->m_seatCount = 2;
    m_table->m_amountToCall = A;
    m_table->m_bet[0] = H;
    m_table->m_bet[1] = A;
    m_table->m_stack[0] = S;
    m_table->m_stack[1] = 1000;
    m_table->m_inGame[0] = m_table->m_inGame[1] = 1;
    m_table->m_bigBlind = BB;
    m_table->m_pot = P - H - A;
    m_table->m_folded[0] = false;
    m_table->m_humanAmount = -1;
    // A round whose raises were full ones: the smallest raise is A + BB (a bet, BB).
    m_table->m_raises.Begin(BB, A > 0 ? A : 0, A > 0);
}

void TestActionPanel::setRound(bool preflop, const QString &acts, int H, int S, int P)
{
    constexpr int BB = 20;
    setTable(preflop ? BB : 0, H, S, BB, P);
    m_table->m_raises.Begin(BB, preflop ? BB : 0, preflop);
    int A = preflop ? BB : 0;
    for (const QString &act : acts.split(u',', Qt::SkipEmptyParts)) {
        // "1:80!": seat 1 is all in with 80.
        const int seat = act.section(u':', 0, 0).toInt();
        const int total = act.section(u':', 1).remove(u'!').toInt();
        m_table->m_raises.Act(seat, total);
        if (act.endsWith(u'!'))
            m_table->m_stack[seat] = 0;
        A = std::max(A, total);
    }
    m_table->m_amountToCall = A;
    m_table->m_bet[1] = A;
    m_table->m_pot = P - H - A;
}

void TestActionPanel::prepare()
{
    m_event->Reset();
    m_panel->PrepareDecision(m_table->m_stack[0] + m_table->m_bet[0]);
    settle();
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
    click(m_panel->checkCallButton());
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

    click(m_panel->potButton());
    settle();
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 60"));
    type("500");
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 60);
    QVERIFY(m_event->IsSet());
    QVERIFY(!m_table->m_folded[0]);
}

void TestActionPanel::checkWhenBetMatched()
{
    // The big blind's option before the flop.
    setTable(20, 20, 980, 20, 30);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), QString("CHECK"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 40"));
    click(m_panel->checkCallButton());
    QCOMPARE(decided(), 0);
    QVERIFY(!m_table->m_folded[0]);
    QVERIFY(m_event->IsSet());
}

void TestActionPanel::callAndRaiseCaptions()
{
    setTable(60, 20, 980, 20, 110);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), QString("CALL 40"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 80"));
    QCOMPARE(m_panel->amountEdit()->text(), QString("80"));
    QCOMPARE(m_panel->slider()->value(), 80);
    click(m_panel->raiseButton());
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
    click(m_panel->checkCallButton());
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
    click(m_panel->foldButton());
    QCOMPARE(decided(), 0);
    QVERIFY(m_table->m_folded[0]);
    QVERIFY(m_event->IsSet());

    // A second click before the game thread reacts decides nothing more.
    m_table->m_humanAmount = -1;
    m_panel->OnCheckCall();
    QCOMPARE(decided(), -1);
}

void TestActionPanel::enterInAmountBox_data()
{
    QTest::addColumn<int>("A");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("below minimum raise") << 20 << "5" << 40;
    QTest::newRow("in range, off the big blind's steps") << 20 << "130" << 130;
    QTest::newRow("more than the stack") << 20 << "5000" << 1000;
    QTest::newRow("no number") << 20 << "abc" << 40;
    QTest::newRow("a bet") << 0 << "130" << 130;
    QTest::newRow("a bet of the whole stack") << 0 << "5000" << 1000;
}

// What Enter sets survives the repaints that follow, shows on the slider, and is what the raise
// button puts in.
void TestActionPanel::enterInAmountBox()
{
    QFETCH(int, A);
    QFETCH(QString, typed);
    QFETCH(int, expected);
    setTable(A, 0, 1000, 20, 30 + A);
    prepare();
    type(typed);
    pressEnter();
    QCOMPARE(m_panel->m_raiseAmount, expected);
    QCOMPARE(m_panel->amountEdit()->text(), QString::number(expected));
    QCOMPARE(m_panel->slider()->value(), expected);
    QCOMPARE(m_panel->raiseButton()->text(),
             (A > 0 ? QString("RAISE TO %1") : QString("BET %1")).arg(expected));
    QVERIFY(!m_event->IsSet()); // Enter decides nothing
    QVERIFY(m_panel->IsDecisionPrepared());
    settle();
    click(m_panel->raiseButton());
    QCOMPARE(decided(), expected);

    // Once the slider moves, it speaks for the amount again, rounded as usual.
    prepare();
    type(typed);
    pressEnter();
    dragSliderTo(97);
    QCOMPARE(m_panel->m_raiseAmount, 80);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 80);
}

void TestActionPanel::raiseClampsTypedText_data()
{
    QTest::addColumn<int>("H");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");
    QTest::newRow("below the minimum raises to the minimum") << 0 << "50" << 120;
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
    type(typed);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), expected);
}

void TestActionPanel::sliderRuleRoundsDown()
{
    setTable(0, 0, 1000, 20, 40);
    prepare();
    dragSliderTo(57);
    QCOMPARE(m_panel->m_raiseAmount, 40); // 57 -> 50 -> 40
    QCOMPARE(m_panel->amountEdit()->text(), QString("40"));
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 40"));

    // The slider stops at the smallest bet.
    dragSliderTo(15);
    QCOMPARE(m_panel->slider()->value(), 20);
    QCOMPARE(m_panel->m_raiseAmount, 20);
}

void TestActionPanel::halfAndThreeQuartersThenRounding()
{
    setTable(0, 0, 1000, 10, 75);
    prepare();
    QTest::mouseClick(m_panel->halfButton(), Qt::LeftButton); // before the slider repaints
    QCOMPARE(m_panel->m_raiseAmount, 37);
    QCOMPARE(m_panel->amountEdit()->text(), QString("37"));
    QCOMPARE(m_panel->slider()->value(), 37);
    settle();
    QCOMPARE(m_panel->m_raiseAmount, 30);
    QCOMPARE(m_panel->amountEdit()->text(), QString("30"));

    QTest::mouseClick(m_panel->threeQuartersButton(), Qt::LeftButton);
    QCOMPARE(m_panel->m_raiseAmount, 54); // 75 / 4 = 18, times 3
    settle();
    QCOMPARE(m_panel->m_raiseAmount, 50);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 50);
}

void TestActionPanel::sizingButtonDisabledBelowCallUntilNextDecision()
{
    // Pot 250 with 200 to call: half and three quarters are below A, the pot is not.
    setTable(200, 0, 1000, 20, 250);
    prepare();
    click(m_panel->halfButton());
    QVERIFY(!m_panel->halfButton()->isEnabled());
    click(m_panel->threeQuartersButton());
    QVERIFY(!m_panel->threeQuartersButton()->isEnabled());
    QTest::mouseClick(m_panel->potButton(), Qt::LeftButton);
    QVERIFY(m_panel->potButton()->isEnabled());
    QCOMPARE(m_panel->m_raiseAmount, 250);
    settle();
    QCOMPARE(m_panel->m_raiseAmount, 240); // the slider rule's rounding

    click(m_panel->foldButton());
    setTable(20, 0, 1000, 20, 200);
    prepare();
    QVERIFY(m_panel->halfButton()->isEnabled());
    QVERIFY(m_panel->threeQuartersButton()->isEnabled());
}

void TestActionPanel::stepsMoveByBigBlind()
{
    setTable(20, 0, 100, 20, 30);
    prepare();
    QCOMPARE(m_panel->slider()->value(), 40);
    click(m_panel->plusButton());
    QCOMPARE(m_panel->slider()->value(), 60);
    QCOMPARE(m_panel->m_raiseAmount, 60);
    click(m_panel->minusButton());
    click(m_panel->minusButton()); // 20 is below the minimum raise: no step
    QCOMPARE(m_panel->slider()->value(), 40);
    QCOMPARE(m_panel->m_raiseAmount, 40);
    click(m_panel->plusButton());
    click(m_panel->plusButton());
    click(m_panel->plusButton());
    click(m_panel->plusButton()); // 120 is more than the stack: no step
    QCOMPARE(m_panel->slider()->value(), 100);
}

void TestActionPanel::maxOffersWholeStack()
{
    setTable(0, 0, 1234, 20, 60);
    prepare();
    click(m_panel->maxButton());
    settle();
    QCOMPARE(m_panel->m_raiseAmount, 1234);
    QCOMPARE(m_panel->raiseButton()->text(), QString("BET 1234"));
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 1234);

    // With chips already in this round, MAX still means every chip behind.
    setTable(100, 40, 1000, 20, 200);
    prepare();
    click(m_panel->maxButton());
    settle();
    QCOMPARE(m_panel->m_raiseAmount, 1040);
    QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 1040"));
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 1000);

    // MIN goes back to the smallest raise even after another sizing button.
    setTable(35, 0, 1000, 20, 70);
    prepare();
    click(m_panel->potButton());
    click(m_panel->minButton());
    settle();
    QCOMPARE(m_panel->m_raiseAmount, 55);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 55);
}

void TestActionPanel::raiseWithLessThanTheMinimumBehindGoesAllIn()
{
    // The big blind posted 20 with 30 behind and faces 40: any raise is all in (30 more, 50 in
    // all), never 10 more for a total below the call.
    setTable(40, 20, 30, 20, 80);
    prepare();
    QVERIFY(!m_panel->raiseButton()->isHidden());
    type("9999");
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 30);
}

void TestActionPanel::betOrRaiseAtLeastMinimum()
{
    // Half of a 39 pot is 19, below the big blind: no bet the rules allow.
    setTable(0, 0, 1000, 20, 39);
    prepare();
    QVERIFY(!m_panel->halfButton()->isEnabled());
    click(m_panel->halfButton());
    QCOMPARE(m_panel->m_raiseAmount, 20);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 20);

    // A typed raise between the call and the minimum raise is the minimum raise.
    setTable(100, 0, 1000, 20, 150);
    prepare();
    type("105");
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 120);

    // With fewer chips than the minimum raise, the raise is the whole stack.
    setTable(100, 0, 110, 20, 150);
    prepare();
    type("105");
    click(m_panel->raiseButton());
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

void TestActionPanel::keyboardFocusRingFollowsTab()
{
    setTable(20, 0, 1000, 20, 30);
    prepare();
    const auto ringAbove = [this](const QWidget *w) { // in the gap above the control
        const QPoint p(w->geometry().center().x(), w->geometry().top() - 3);
        return m_panel->grab().toImage().pixelColor(p) == QColor::fromRgb(kFocusColour);
    };
    m_panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
    m_panel->foldButton()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(ringAbove(m_panel->foldButton()));
    QTest::keyClick(m_panel->foldButton(), Qt::Key_Tab); // the ring moves on
    QTRY_VERIFY(m_panel->checkCallButton()->hasFocus() && ringAbove(m_panel->checkCallButton()));
    QVERIFY(!ringAbove(m_panel->foldButton()));
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
    QVERIFY(!m_event->IsSet());

    prepare();
    QTest::keyClick(m_panel.get(), Qt::Key_F4);
    QCOMPARE(m_panel->m_raiseAmount, 1000);
    QVERIFY(!m_event->IsSet());
    QTest::keyClick(m_panel.get(), Qt::Key_F3);
    QVERIFY(m_event->IsSet());
    QCOMPARE(decided(), 1000);

    prepare();
    QTest::keyClick(m_panel.get(), Qt::Key_F2);
    QCOMPARE(decided(), 20);

    prepare();
    QTest::keyClick(m_panel.get(), Qt::Key_F1);
    QVERIFY(m_table->m_folded[0]);
}

void TestActionPanel::legalTotalsOnly_data()
{
    QTest::addColumn<bool>("preflop");
    QTest::addColumn<QString>("acts");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("S");
    QTest::addColumn<int>("P");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("min");     // the raise caption after MIN; empty: no raising
    QTest::addColumn<QString>("enabled"); // 1/2, 3/4 and POT
    // Blinds 10/20; seat 0 is the human.
    QTest::newRow("facing a bet of 80") << false << "1:80" << 0 << 1000 << 180 << "CALL 80"
                                        << "RAISE TO 160"
                                        << "001";
    QTest::newRow("small blind before the flop") << true << "" << 10 << 990 << 30 << "CALL 10"
                                                 << "RAISE TO 40"
                                                 << "000";
    QTest::newRow("heads-up big blind facing the button's raise")
        << true << "1:60" << 20 << 980 << 80 << "CALL 40"
        << "RAISE TO 100"
        << "000";
    QTest::newRow("a short all-in does not reopen")
        << false << "0:100,1:150,2:150" << 100 << 900 << 500 << "CALL 50"
        << ""
        << "";
    QTest::newRow("two short all-ins reopen")
        << false << "0:100,1:150,2:220" << 100 << 900 << 600 << "CALL 120"
        << "RAISE TO 320"
        << "011";
    // Nobody left who could answer a raise.
    QTest::newRow("the only other player all in")
        << false << "1:80!" << 0 << 1000 << 180 << "CALL 80"
        << ""
        << "";
    QTest::newRow("a lone big blind all in") << true << "1:20!" << 10 << 990 << 30 << "CALL 10"
                                             << ""
                                             << "";
    // 120 behind, below the minimum of 160: all in is the only raise; 3/4 and POT reach it.
    QTest::newRow("all in below the minimum") << false << "1:80" << 0 << 120 << 180 << "CALL 80"
                                              << "RAISE TO 120"
                                              << "011";
}

// The panel shows only what the rules allow, and each caption says what its button will do.
void TestActionPanel::legalTotalsOnly()
{
    QFETCH(bool, preflop);
    QFETCH(QString, acts);
    QFETCH(int, H);
    QFETCH(int, S);
    QFETCH(int, P);
    QFETCH(QString, call);
    QFETCH(QString, min);
    QFETCH(QString, enabled);
    setRound(preflop, acts, H, S, P);
    prepare();
    QCOMPARE(m_panel->checkCallButton()->text(), call);
    QVERIFY(!m_panel->foldButton()->isHidden());
    // With BRISQUEL_SHOTS=<folder>: the panel as the player sees it in each case.
    const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS");
    if (!shots.isEmpty())
        m_panel->grab().save(shots + "/panel_" + QString(QTest::currentDataTag()) + ".png");
    if (min.isEmpty()) {
        for (QWidget *w : std::initializer_list<QWidget *>{
                 m_panel->raiseButton(), m_panel->slider(), m_panel->amountEdit(),
                 m_panel->minButton(), m_panel->potButton(), m_panel->maxButton()})
            QVERIFY(w->isHidden());
        click(m_panel->checkCallButton());
        QCOMPARE(decided(), m_table->m_amountToCall - H);
        return;
    }
    QCOMPARE(m_panel->halfButton()->isEnabled(), enabled[0] == u'1');
    QCOMPARE(m_panel->threeQuartersButton()->isEnabled(), enabled[1] == u'1');
    QCOMPARE(m_panel->potButton()->isEnabled(), enabled[2] == u'1');
    click(m_panel->potButton());
    click(m_panel->minButton());
    QCOMPARE(m_panel->raiseButton()->text(), min);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), min.section(u' ', 2).toInt() - H);
}

void TestActionPanel::noAmountBelowTheMinimum_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter") << "enter";
    QTest::newRow("raise button") << "raise";
    QTest::newRow("minus step") << "minus";
    QTest::newRow("slider") << "slider";
}

// Facing a bet of 80 the smallest raise is to 160, however the amount is asked for.
void TestActionPanel::noAmountBelowTheMinimum()
{
    QFETCH(QString, how);
    setRound(false, "1:80", 0, 1000, 180);
    prepare();
    QCOMPARE(m_panel->slider()->value(), 160);
    if (how == "enter" || how == "raise") {
        type("100");
        if (how == "enter") {
            pressEnter();
            QCOMPARE(m_panel->amountEdit()->text(), QString("160"));
            QCOMPARE(m_panel->raiseButton()->text(), QString("RAISE TO 160"));
        }
    } else if (how == "minus") {
        click(m_panel->minusButton());
    } else {
        dragSliderTo(100);
    }
    QVERIFY(m_panel->slider()->value() >= 160);
    click(m_panel->raiseButton());
    QCOMPARE(decided(), 160);
}

QTEST_MAIN(TestActionPanel)
#include "tst_action_panel.moc"
