#include "ui/calculator/DlgCalculate.h"
#include "ui/calculator/DlgCards.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <functional>

class TestCalculator : public QObject
{
    Q_OBJECT

private slots:
    void cardNamesAndButtonIds();
    void buttonsInSuitRowsAcesLeft();
    void pickTwoCardsInOrder();
    void thirdCardIgnoredDeselectFreesPlace();
    void cancelLeavesCallerUntouched();
    void calculateAgainstOneOpponent();
    void calculateTwiceRecomputes();
    void calculateWithoutTwoCardsShowsMessage();
    void pickerCancelEmptiesHandButKeepsText();
    void dotButtonsKeepTypedPlayerCount();

private:
    // Makes dlg's hand button pick the given cards and end the picker with OK or Cancel.
    static void scriptPicker(CDlgCalculate &dlg, QList<int> cards, bool ok)
    {
        dlg.m_runPicker = [cards, ok](CDlgCards &picker) {
            for (int c : cards)
                picker.cardButton(c)->click();
            (ok ? picker.okButton() : picker.cancelButton())->click();
            return picker.result();
        };
    }
};

void TestCalculator::cardNamesAndButtonIds()
{
    QCOMPARE(CDlgCards::CardName(0), QString("2c"));
    QCOMPARE(CDlgCards::CardName(12), QString("Ac"));
    QCOMPARE(CDlgCards::CardName(13), QString("2d"));
    QCOMPARE(CDlgCards::CardName(8), QString("Tc"));
    QCOMPARE(CDlgCards::CardName(51), QString("As"));
    QCOMPARE(CDlgCards::ButtonId(0), 1004);
    QCOMPARE(CDlgCards::ButtonId(1), 1002);
    QCOMPARE(CDlgCards::ButtonId(12), 1014);
    QCOMPARE(CDlgCards::ButtonId(13), 1030);
    QCOMPARE(CDlgCards::ButtonId(26), 1043);
    QCOMPARE(CDlgCards::ButtonId(38), 1053);
    QCOMPARE(CDlgCards::ButtonId(51), 1066);
}

void TestCalculator::buttonsInSuitRowsAcesLeft()
{
    QString text;
    QList<int> cards, pictures;
    CDlgCards picker(text, cards, pictures);
    QCOMPARE(picker.windowTitle(), QString("Cards"));
    for (int suit = 0; suit < 4; ++suit) {
        const int ace = 13 * suit + 12;
        const int deuce = 13 * suit;
        QVERIFY(picker.cardButton(ace)->x() < picker.cardButton(ace - 1)->x());
        QVERIFY(picker.cardButton(ace - 1)->x() < picker.cardButton(deuce)->x());
        QCOMPARE(picker.cardButton(ace)->y(), picker.cardButton(deuce)->y());
        if (suit > 0)
            QVERIFY(picker.cardButton(deuce)->y() > picker.cardButton(deuce - 13)->y());
    }
}

void TestCalculator::pickTwoCardsInOrder()
{
    QString text = "old";
    QList<int> cards, pictures;
    CDlgCards picker(text, cards, pictures);
    const QImage plain = picker.cardButton(38)->icon().pixmap(65, 87).toImage();
    picker.cardButton(38)->click(); // Ah
    picker.cardButton(24)->click(); // Kd
    QVERIFY(picker.isSelected(38));
    QVERIFY(picker.cardButton(38)->icon().pixmap(65, 87).toImage() != plain);
    QCOMPARE(text, QString("old")); // nothing reaches the caller before OK
    picker.okButton()->click();
    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(text, QString("Ah Kd "));
    QCOMPARE(cards, QList<int>({38, 24}));
    QCOMPARE(pictures.size(), 2);
}

void TestCalculator::thirdCardIgnoredDeselectFreesPlace()
{
    QString text;
    QList<int> cards, pictures;
    CDlgCards picker(text, cards, pictures);
    picker.cardButton(38)->click();
    picker.cardButton(24)->click();
    picker.cardButton(0)->click();
    QCOMPARE(picker.selectedCards(), QList<int>({38, 24}));
    QVERIFY(!picker.isSelected(0));

    picker.cardButton(38)->click(); // deselect
    QVERIFY(!picker.isSelected(38));
    picker.cardButton(0)->click();
    QCOMPARE(picker.selectedCards(), QList<int>({24, 0}));
    picker.okButton()->click();
    QCOMPARE(text, QString("Kd 2c "));
    QCOMPARE(cards, QList<int>({24, 0}));
}

void TestCalculator::cancelLeavesCallerUntouched()
{
    QString text = "Ah Kd ";
    QList<int> cards = {38, 24};
    QList<int> pictures = {7};
    CDlgCards picker(text, cards, pictures);
    picker.cardButton(0)->click();
    picker.cancelButton()->click();
    QCOMPARE(picker.result(), int(QDialog::Rejected));
    QCOMPARE(text, QString("Ah Kd "));
    QCOMPARE(cards, QList<int>({38, 24}));
    QCOMPARE(pictures, QList<int>({7}));
}

void TestCalculator::calculateAgainstOneOpponent()
{
    CDlgCalculate dlg;
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("Dunmere"));
    QCOMPARE(dlg.countEdit()->text(), QString("2"));
    scriptPicker(dlg, {38, 24}, true);
    dlg.handButton()->click();
    QCOMPARE(dlg.handEdit()->text(), QString("Ah Kd "));
    QCOMPARE(dlg.m_hand, QList<int>({38, 24}));

    dlg.calculateButton()->click();
    const QString shown = dlg.resultEdit()->text();
    QVERIFY2(QRegularExpression("^0\\.\\d{4}$").match(shown).hasMatch(), qPrintable(shown));
    // Ace-king offsuit against one random hand wins about 65 % (ties shared).
    QVERIFY2(shown.toDouble() > 0.62 && shown.toDouble() < 0.69, qPrintable(shown));
    QVERIFY(dlg.isVisible()); // Calculate does not close the dialog
}

void TestCalculator::calculateTwiceRecomputes()
{
    CDlgCalculate dlg;
    scriptPicker(dlg, {38, 24}, true);
    dlg.handButton()->click();
    dlg.calculateButton()->click();
    const double headsUp = dlg.resultEdit()->text().toDouble();

    dlg.resultEdit()->setText("stale");
    dlg.countEdit()->setText("6");
    dlg.calculateButton()->click();
    const QString shown = dlg.resultEdit()->text();
    QVERIFY2(QRegularExpression("^0\\.\\d{4}$").match(shown).hasMatch(), qPrintable(shown));
    QVERIFY(shown.toDouble() < headsUp - 0.2);
}

void TestCalculator::calculateWithoutTwoCardsShowsMessage()
{
    CDlgCalculate dlg;
    QStringList messages;
    dlg.m_showMessage = [&](const QString &m) { messages << m; };

    dlg.calculateButton()->click(); // nothing picked
    QCOMPARE(messages.size(), 1);
    QVERIFY(dlg.resultEdit()->text().isEmpty());

    scriptPicker(dlg, {38}, true); // one card
    dlg.handButton()->click();
    QCOMPARE(dlg.handEdit()->text(), QString("Ah "));
    dlg.resultEdit()->setText("0.1234");
    dlg.calculateButton()->click();
    QCOMPARE(messages.size(), 2);
    QVERIFY(dlg.resultEdit()->text().isEmpty());
}

void TestCalculator::pickerCancelEmptiesHandButKeepsText()
{
    CDlgCalculate dlg;
    QStringList messages;
    dlg.m_showMessage = [&](const QString &m) { messages << m; };
    scriptPicker(dlg, {38, 24}, true);
    dlg.handButton()->click();

    scriptPicker(dlg, {0, 1}, false);
    dlg.handButton()->click();
    QCOMPARE(dlg.handEdit()->text(), QString("Ah Kd "));
    QVERIFY(dlg.m_hand.isEmpty());
    dlg.calculateButton()->click();
    QCOMPARE(messages.size(), 1);
    QVERIFY(dlg.resultEdit()->text().isEmpty());
}

void TestCalculator::dotButtonsKeepTypedPlayerCount()
{
    CDlgCalculate dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    scriptPicker(dlg, {38, 24}, true);
    QLineEdit *count = dlg.countEdit();
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, "6");
    QCoreApplication::processEvents();

    // The hand's "..." and the three board "..." buttons, clicked as a user would.
    QList<QPushButton *> dots;
    for (QPushButton *b : dlg.findChildren<QPushButton *>())
        if (b->text() == QLatin1String("..."))
            dots << b;
    QCOMPARE(dots.size(), 4);
    QVERIFY(dots.contains(dlg.handButton()));
    for (QPushButton *b : dots) {
        QTest::mouseClick(b, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(count->text(), QString("6"));
    }
    QCOMPARE(dlg.handEdit()->text(), QString("Ah Kd "));

    QTest::mouseClick(dlg.calculateButton(), Qt::LeftButton);
    // Ace-king against five random hands wins about 30 %, heads-up about 65 %.
    QVERIFY2(dlg.resultEdit()->text().toDouble() < 0.45, qPrintable(dlg.resultEdit()->text()));
    QCOMPARE(count->text(), QString("6"));
}

QTEST_MAIN(TestCalculator)
#include "tst_calculator.moc"
