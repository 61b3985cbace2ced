// The table set-up dialog "Players".

#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/ListCtrlEx.h"
#include "ui/setup_dialog/SetupMemory.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

#include <set>

namespace {

struct Messages
{
    QStringList texts;
    QList<bool> information;
};

QStringList Column(const CListCtrlEx *list, int column)
{
    QStringList out;
    for (int row = 0; row < list->rowCount(); ++row)
        out << list->CellText(row, column);
    return out;
}

} // namespace

class TestSetupDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        BuildGameTypes(m_types);
        QStandardPaths::setTestModeEnabled(true); // settings apart from the user's
        QSettings().clear();
    }
    void opensWithNineSeats();
    void seatCountRebuildsRows();
    void tournamentTypeSetsBlindsAndStacks();
    void cashTypesRestoreDefaults();
    void removeAndPutPlayers();
    void randomPlayersNeverRepeat();
    void tabMovesBetweenStacks();
    void editedStacksAreRead();
    void validation_data();
    void validation();
    void namesThatCouldForgeLinesAreRefused_data();
    void namesThatCouldForgeLinesAreRefused();
    void remembersTheLastTable_data();
    void remembersTheLastTable();

private:
    std::unique_ptr<CDialogTable> Make(Messages &messages)
    {
        auto dialog = std::make_unique<CDialogTable>(m_types);
        dialog->m_showMessage = [&messages](const QString &text, bool information) {
            messages.texts << text;
            messages.information << information;
        };
        return dialog;
    }
    GameType m_types[2];
};

void TestSetupDialog::opensWithNineSeats()
{
    Messages messages;
    auto d = Make(messages);
    QCOMPARE(d->windowTitle(), QStringLiteral("Players"));
    QCOMPARE(Column(d->seatList(), 1), (QStringList{"Hero", "Master", "Tim", "Maniac", "Professor",
                                                    "Master", "Tim", "Maniac", "Professor"}));
    QCOMPARE(Column(d->seatList(), 0), (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8"}));
    QCOMPARE(Column(d->seatList(), 2), QStringList(9, QStringLiteral("1000")));
    QCOMPARE(d->seatCountCombo()->currentText(), QStringLiteral("9"));
    QCOMPARE(d->seatCountCombo()->count(), 9);
    QCOMPARE(d->gameTypeCombo()->currentText(), QStringLiteral("Cash"));
    QCOMPARE(d->gameTypeCombo()->itemText(3), QStringLiteral("9 players"));
    QCOMPARE(d->gameTypeCombo()->itemText(4), QStringLiteral("9 players Turbo"));
    QCOMPARE(d->smallBlindEdit()->text(), QStringLiteral("10"));
    QCOMPARE(d->bigBlindEdit()->text(), QStringLiteral("20"));
    QCOMPARE(d->playerStackEdit()->text(), QStringLiteral("1000"));
    QCOMPARE(d->personaList()->rowCount(), 4);
    QCOMPARE(d->personaList()->item(2, 1)->text(), QStringLiteral("Maniac"));
    QCOMPARE(d->personaList()->item(2, 2)->text(), QStringLiteral("Loose Agressive Strategy"));
    // Only the stack column is editable.
    QVERIFY(d->seatList()->item(0, 2)->flags() & Qt::ItemIsEditable);
    QVERIFY(!(d->seatList()->item(0, 1)->flags() & Qt::ItemIsEditable));
    // For a look at the dialog: BRISQUEL_SCREENSHOTS=<folder> keeps its picture.
    if (const QString folder = qEnvironmentVariable("BRISQUEL_SCREENSHOTS"); !folder.isEmpty()) {
        d->show();
        d->grab().save(folder + QStringLiteral("/players.png"));
    }
}

void TestSetupDialog::seatCountRebuildsRows()
{
    Messages messages;
    auto d = Make(messages);
    d->seatCountCombo()->setCurrentText(QStringLiteral("4"));
    QCOMPARE(Column(d->seatList(), 1), (QStringList{"Hero", "Unknow", "Unknow", "Unknow"}));
    QCOMPARE(Column(d->seatList(), 2), QStringList(4, QStringLiteral("1000")));
    d->seatCountCombo()->setCurrentText(QStringLiteral("10"));
    QCOMPARE(d->seatList()->rowCount(), 10);
    d->okButton()->click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    const GameSetupItems items = d->Items();
    QCOMPARE(items.seatCount, 10);
    QCOMPARE(items.names[9], std::string("Unknow"));
    QCOMPARE(items.stacks[9], 1000);
}

void TestSetupDialog::tournamentTypeSetsBlindsAndStacks()
{
    Messages messages;
    auto d = Make(messages);
    // A stack typed before the type is chosen, and one typed after it.
    d->seatList()->SetCellText(2, 2, QStringLiteral("5000"));
    d->gameTypeCombo()->setCurrentIndex(4);
    QCOMPARE(Column(d->seatList(), 2), QStringList(9, QStringLiteral("1500")));
    QCOMPARE(d->playerStackEdit()->text(), QStringLiteral("1500"));
    QCOMPARE(d->smallBlindEdit()->text(), QString::number(m_types[1].smallBlinds[0]));
    QCOMPARE(d->bigBlindEdit()->text(), QString::number(m_types[1].bigBlinds[0]));
    d->seatList()->SetCellText(4, 2, QStringLiteral("777"));
    d->bigBlindEdit()->setText(QStringLiteral("999"));
    d->okButton()->click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    const GameSetupItems items = d->Items();
    QCOMPARE(items.gameTypeId, m_types[1].typeId);
    QCOMPARE(items.bigBlind, m_types[1].bigBlinds[0]);
    for (int s = 0; s < 9; ++s)
        QCOMPARE(items.stacks[s], 1500);
}

void TestSetupDialog::cashTypesRestoreDefaults()
{
    Messages messages;
    auto d = Make(messages);
    d->gameTypeCombo()->setCurrentIndex(3);
    d->gameTypeCombo()->setCurrentIndex(2); // "Fifty"
    QCOMPARE(Column(d->seatList(), 2), QStringList(9, QStringLiteral("1000")));
    QCOMPARE(d->smallBlindEdit()->text(), QStringLiteral("10"));
    QCOMPARE(d->bigBlindEdit()->text(), QStringLiteral("20"));
    d->okButton()->click();
    QCOMPARE(d->Items().gameTypeId, 2);
}

void TestSetupDialog::removeAndPutPlayers()
{
    Messages messages;
    auto d = Make(messages);
    d->removeButton()->click();
    d->putButton()->click();
    QCOMPARE(messages.texts, (QStringList{QStringLiteral("Выберите игрока"),
                                          QStringLiteral("Выберите игрока и стратегию")}));
    QCOMPARE(messages.information, (QList<bool>{true, true}));

    d->seatList()->selectRow(3);
    d->removeButton()->click();
    QCOMPARE(d->seatList()->CellText(3, 1), QStringLiteral("Unknow Player 3"));
    QCOMPARE(d->seatList()->CellText(3, 2), QStringLiteral("0"));

    // A seat without a persona selected is still refused.
    d->putButton()->click();
    QCOMPARE(messages.texts.size(), 3);
    d->personaList()->selectRow(3); // Professor
    d->playerStackEdit()->setText(QStringLiteral("2500"));
    d->putButton()->click();
    QCOMPARE(messages.texts.size(), 3);
    QCOMPARE(d->seatList()->CellText(3, 1), QStringLiteral("Professor"));
    QCOMPARE(d->seatList()->CellText(3, 2), QStringLiteral("2500"));
    d->okButton()->click();
    const GameSetupItems items = d->Items();
    QCOMPARE(items.names[3], std::string("Professor"));
    QCOMPARE(items.stacks[3], 2500);
}

void TestSetupDialog::randomPlayersNeverRepeat()
{
    Messages messages;
    auto d = Make(messages);
    d->seatCountCombo()->setCurrentText(QStringLiteral("10"));
    d->seatList()->SetCellText(5, 2, QStringLiteral("3333"));
    for (int press = 0; press < 40; ++press) {
        d->randomButton()->click();
        const QStringList nicks = Column(d->seatList(), 1);
        QCOMPARE(nicks[0], QStringLiteral("Hero"));
        const std::set<QString> distinct(nicks.begin() + 1, nicks.end());
        QCOMPARE(int(distinct.size()), 9);
        for (const QString &nick : distinct)
            QVERIFY2(nick != QStringLiteral("Unknow"), qPrintable(nick));
    }
    QCOMPARE(d->seatList()->CellText(5, 2), QStringLiteral("3333"));
    QCOMPARE(d->seatList()->CellText(4, 2), QStringLiteral("1000"));
}

void TestSetupDialog::tabMovesBetweenStacks()
{
    Messages messages;
    auto d = Make(messages);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    CListCtrlEx *list = d->seatList();
    const auto editor = [list]() -> QLineEdit * {
        for (QLineEdit *e : list->viewport()->findChildren<QLineEdit *>())
            if (e->isVisible())
                return e;
        return nullptr;
    };
    list->setCurrentIndex(list->model()->index(1, 2));
    list->edit(list->currentIndex());
    QTRY_VERIFY(editor());
    editor()->setText(QStringLiteral("1111"));
    QTest::keyClick(editor(), Qt::Key_Tab);
    QTRY_COMPARE(list->currentIndex().row(), 2);
    QCOMPARE(list->currentIndex().column(), 2);
    QTRY_VERIFY(editor());
    editor()->setText(QStringLiteral("2222"));
    QTest::keyClick(editor(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_COMPARE(list->currentIndex().row(), 1);
    QTRY_VERIFY(editor());
    QCOMPARE(editor()->text(), QStringLiteral("1111"));
    QTest::keyClick(editor(), Qt::Key_Return);
    QTRY_VERIFY(!editor());
    QCOMPARE(list->CellText(1, 2), QStringLiteral("1111"));
    QCOMPARE(list->CellText(2, 2), QStringLiteral("2222"));

    // Tab stops at the ends of the list.
    QVERIFY(!list->NextEditableCell(8, 2, true).isValid());
    QVERIFY(!list->NextEditableCell(0, 2, false).isValid());
    QCOMPARE(list->NextEditableCell(3, 0, true), list->model()->index(3, 2));
    QCOMPARE(list->NextEditableCell(3, 2, false), list->model()->index(2, 2));
}

void TestSetupDialog::editedStacksAreRead()
{
    Messages messages;
    auto d = Make(messages);
    d->seatList()->SetCellText(1, 2, QStringLiteral("2500"));
    d->seatList()->SetCellText(2, 2, QStringLiteral("12abc"));
    d->seatList()->SetCellText(3, 2, QStringLiteral("abc"));
    d->seatList()->SetCellText(4, 2, QStringLiteral("-300"));
    d->okButton()->click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    const GameSetupItems items = d->Items();
    QCOMPARE(items.stacks[1], 2500);
    QCOMPARE(items.stacks[2], 12);
    QCOMPARE(items.stacks[3], 0);
    QCOMPARE(items.stacks[4], 0); // never a negative stack
    QCOMPARE(items.seatCount, 9);
    QCOMPARE(items.names[0], std::string("Hero"));
    QCOMPARE(items.gameTypeId, 0);
}

void TestSetupDialog::validation_data()
{
    QTest::addColumn<int>("field"); // 0 small blind, 1 big blind, 2 player stack, 3 a seat stack
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<int>("named");       // the field selected after the message
    const QString range = QStringLiteral("Please enter an integer between 1 and 4294967295.");
    const QString notNumber = QStringLiteral("Please enter a positive integer.");
    QTest::newRow("zero blind") << 0 << "0"
                                << "Small blind (SB): " + range << 0;
    QTest::newRow("too large") << 1 << "4294967296"
                               << "Big blind (BB): " + range << 1;
    QTest::newRow("letters") << 1 << "twenty"
                             << "Big blind (BB): " + notNumber << 1;
    QTest::newRow("negative") << 2 << "-5"
                              << "Stack Player: " + notNumber << 2;
    // The hand-history readers' limit: a game set up here can always be read back.
    QTest::newRow("beyond chips") << 2 << "100000001"
                                  << "Stack Player: Chips are counted up to 100000000: please "
                                     "enter a smaller amount."
                                  << 2;
    QTest::newRow("small blind above the big blind")
        << 0 << "50"
        << "Small blind (SB): The small blind may not be larger than the big blind (20)." << 0;
    QTest::newRow("big blind below the small blind")
        << 1 << "5"
        << "Small blind (SB): The small blind may not be larger than the big blind (5)." << 0;
    QTest::newRow("table total") << 3 << "50000000"
                                 << "The stacks at the table add up to more than 100000000 "
                                    "chips: please enter smaller stacks."
                                 << -1;
    QTest::newRow("upper bound") << 1 << "100000000" << QString() << -1;
    QTest::newRow("blinds equal") << 0 << "20" << QString() << -1;
}

// Typed as a person types; a refused field is named and selected, the dialog stays open.
void TestSetupDialog::validation()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, named);
    Messages messages;
    auto d = Make(messages);
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    QLineEdit *edits[] = {d->smallBlindEdit(), d->bigBlindEdit(), d->playerStackEdit()};
    if (field == 3) {
        d->seatList()->SetCellText(1, 2, text);
        d->seatList()->SetCellText(2, 2, text);
    } else {
        edits[field]->setFocus();
        edits[field]->selectAll();
        QTest::keyClicks(edits[field], text);
    }
    QTest::mouseClick(d->okButton(), Qt::LeftButton);
    QCoreApplication::processEvents();
    if (message.isEmpty()) {
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(d->result(), int(QDialog::Accepted));
        return;
    }
    QCOMPARE(messages.texts, QStringList{message});
    QVERIFY(d->isVisible()); // still open
    if (named >= 0) {
        QVERIFY(edits[named]->hasFocus());
        QCOMPARE(edits[named]->selectedText(), edits[named]->text());
    }
}

void TestSetupDialog::namesThatCouldForgeLinesAreRefused_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message"); // empty: accepted
    const QString rule = QStringLiteral(" A name holds 1 to 16 characters, no control "
                                        "characters and nothing the hand history could not be "
                                        "read back with.");
    QTest::newRow("line feed") << 2 << QStringLiteral("Tim\nSeat 3: Hero (1 in chips)")
                               << QStringLiteral("The name in seat 2 contains a control "
                                                 "character.") +
                                      rule;
    QTest::newRow("escape") << 0 << QStringLiteral("\x1b[2JHero")
                            << QStringLiteral("The name in seat 0 contains a control character.") +
                                   rule;
    QTest::newRow("too long") << 8 << QStringLiteral("Seventeen letters")
                              << QStringLiteral("The name in seat 8 is longer than 16 "
                                                "characters.") +
                                     rule;
    QTest::newRow("bracket") << 1 << QStringLiteral("A (1")
                             << QStringLiteral("The name in seat 1 contains \" (\", where the "
                                               "hand history could not be read back.") +
                                    rule;
    QTest::newRow("sixteen letters beyond ASCII")
        << 4 << QStringLiteral("ÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉ") << QString();
}

void TestSetupDialog::namesThatCouldForgeLinesAreRefused()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(QString, message);
    Messages messages;
    auto d = Make(messages);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    // The Nick column cannot be typed in; the name comes as the program would put it there.
    d->seatList()->SetCellText(row, 1, name);
    QTest::mouseClick(d->okButton(), Qt::LeftButton);
    if (message.isEmpty()) {
        QVERIFY(messages.texts.isEmpty());
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(QString::fromStdString(d->Items().names[size_t(row)]), name);
    } else {
        QCOMPARE(messages.texts, QStringList{message});
        QVERIFY(d->isVisible()); // still open, the name still shown for correction
        QCOMPARE(d->seatList()->CellText(row, 1), name);
    }
}

void TestSetupDialog::remembersTheLastTable_data()
{
    QTest::addColumn<int>("seats");
    QTest::addColumn<int>("gameType");
    QTest::addColumn<QString>("bigBlind");
    QTest::newRow("six seats, fixed blinds") << 6 << 0 << QStringLiteral("50");
    QTest::newRow("nine seats, turbo tournament") << 9 << 4 << QString();
}

void TestSetupDialog::remembersTheLastTable()
{
    QFETCH(int, seats);
    QFETCH(int, gameType);
    QFETCH(QString, bigBlind);
    QSettings().clear();
    Messages messages;
    {
        // Nothing remembered yet: the defaults.
        auto fresh = Make(messages);
        OfferLastTable(*fresh);
        QCOMPARE(fresh->seatCountCombo()->currentText(), QStringLiteral("9"));
    }
    QStringList names;
    QStringList stacks;
    {
        auto d = Make(messages);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        d->seatCountCombo()->setCurrentText(QString::number(seats));
        d->gameTypeCombo()->setCurrentIndex(gameType);
        if (!bigBlind.isEmpty()) {
            d->bigBlindEdit()->selectAll();
            QTest::keyClicks(d->bigBlindEdit(), bigBlind);
        }
        d->seatList()->SetCellText(0, 1, QStringLiteral("Hero"));
        d->seatList()->SetCellText(1, 1, QStringLiteral("Maniac"));
        d->seatList()->SetCellText(1, 2, QStringLiteral("4321"));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        RememberTable(*d);
        names = Column(d->seatList(), 1);
        stacks = Column(d->seatList(), 2);
    }
    auto next = Make(messages);
    OfferLastTable(*next);
    QCOMPARE(next->seatCountCombo()->currentText(), QString::number(seats));
    QCOMPARE(next->gameTypeCombo()->currentIndex(), gameType);
    QCOMPARE(Column(next->seatList(), 1), names);
    QCOMPARE(Column(next->seatList(), 2), stacks);
    if (!bigBlind.isEmpty())
        QCOMPARE(next->bigBlindEdit()->text(), bigBlind);
    // Accepted as it is offered, it sets up the same table.
    QTest::mouseClick(next->okButton(), Qt::LeftButton);
    QCOMPARE(next->result(), int(QDialog::Accepted));
    QCOMPARE(next->Items().seatCount, seats);
    QCOMPARE(next->Items().names[1], std::string("Maniac"));
    QVERIFY(messages.texts.isEmpty());
}

QTEST_MAIN(TestSetupDialog)
#include "tst_setup_dialog.moc"
