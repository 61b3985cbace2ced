#include "engine/Game.h"
#include "ui/action_panel/DlgPlayerChoose.h"
#include "ui/output_pane/OutputWnd.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <thread>

class TestOutputPane : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void welcomeAtCreationAndPanelBeside();
    void keepsAtMost1001Lines();
    void linesFromGameThreadKeepOrder();
    void sendChat_data();
    void sendChat();
    void heroLinesDrawnGreen();
    void lineEndingInLineFeedDrawnAsOneLine();
    void wrappedLineFitsTheListWidth();
    void contextMenuCommandsLeaveList();

private:
    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < m_pane->chatList()->count(); ++i)
            out << m_pane->chatList()->item(i)->text();
        return out;
    }

    std::unique_ptr<CDunmereGame> m_game;
    std::unique_ptr<COutputWnd> m_pane;
};

void TestOutputPane::init()
{
    m_game = std::make_unique<CDunmereGame>();
    m_pane = std::make_unique<COutputWnd>(*m_game);
    m_pane->resize(1000, 220);
    m_pane->show();
}

void TestOutputPane::cleanup()
{
    m_pane.reset();
    m_game.reset();
}

void TestOutputPane::welcomeAtCreationAndPanelBeside()
{
    QCOMPARE(lines(), QStringList({"Welcome to Brisquel"}));
    QVERIFY(m_pane->actionPanel());
    QVERIFY(m_pane->actionPanel()->foldButton()->isHidden());
    // The chat list and the panel share the pane side by side.
    const QRect list(m_pane->chatList()->mapTo(m_pane.get(), QPoint(0, 0)),
                     m_pane->chatList()->size());
    const QRect panel(m_pane->actionPanel()->mapTo(m_pane.get(), QPoint(0, 0)),
                      m_pane->actionPanel()->size());
    QVERIFY(!list.intersects(panel));
    QVERIFY(list.right() < panel.left());
    QCOMPARE(m_pane->chatEdit()->text(), QString("<enter text>"));
}

void TestOutputPane::keepsAtMost1001Lines()
{
    for (int i = 1; i <= 1500; ++i)
        m_pane->AppendOutputLine(QStringLiteral("line %1").arg(i));
    const QStringList all = lines();
    QCOMPARE(all.size(), 1001);
    QCOMPARE(all.first(), QString("line 500"));
    QCOMPARE(all.last(), QString("line 1500"));
    QVERIFY(!all.contains("Welcome to Brisquel"));
    QCOMPARE(m_pane->chatList()->currentRow(), 1000);

    // Chat lines are not limited and do not move the selection.
    m_pane->AppendChatLines("HERO:", "hi");
    QCOMPARE(m_pane->chatList()->count(), 1003);
    QCOMPARE(m_pane->chatList()->currentRow(), 1000);
}

void TestOutputPane::linesFromGameThreadKeepOrder()
{
    std::mutex &mutex = m_game->StateMutex();
    std::thread game([&] {
        // The engine appends with its state mutex held: the call must not wait for the UI.
        std::lock_guard<std::mutex> lock(mutex);
        for (int i = 0; i < 200; ++i)
            static_cast<IOutputPane *>(m_pane.get())->AppendOutputLine(std::to_wstring(i));
    });
    game.join();
    QTRY_COMPARE(m_pane->chatList()->count(), 201);
    for (int i = 0; i < 200; ++i)
        QCOMPARE(m_pane->chatList()->item(i + 1)->text(), QString::number(i));
}

void TestOutputPane::sendChat_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("added");
    QTest::newRow("placeholder") << "<enter text>" << QStringList();
    QTest::newRow("empty box") << "" << QStringList({"HERO:", ""});
    QTest::newRow("text") << "gl hf" << QStringList({"HERO:", "gl hf"});
}

void TestOutputPane::sendChat()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, added);
    m_pane->chatEdit()->setText(typed);
    m_pane->sendAction()->trigger();
    QCOMPARE(lines(), QStringList({"Welcome to Brisquel"}) + added);
    QCOMPARE(m_pane->chatEdit()->text(), QString("<enter text>"));
}

void TestOutputPane::heroLinesDrawnGreen()
{
    m_pane->AppendChatLines("hero:", "text");
    QListWidget *list = m_pane->chatList();
    QCoreApplication::processEvents(); // the list lays its items out later
    const QImage img = list->viewport()->grab().toImage();
    auto countColour = [&](QRect r, auto pred) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right() && x < img.width(); ++x)
                n += pred(img.pixelColor(x, y));
        return n;
    };
    auto green = [](QColor c) { return c.green() > 60 && c.red() < 40 && c.blue() < 40; };
    auto white = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
    const QRect heroRow = list->visualItemRect(list->item(1));
    const QRect textRow = list->visualItemRect(list->item(2));
    QVERIFY(countColour(heroRow, green) > 10);
    QCOMPARE(countColour(heroRow, white), 0);
    QVERIFY(countColour(textRow, white) > 10);
    QCOMPARE(countColour(textRow, green), 0);
    // Dark background, also under the selected welcome line.
    list->setCurrentRow(0);
    QCoreApplication::processEvents();
    const QImage again = list->viewport()->grab().toImage();
    QCOMPARE(again.pixelColor(list->visualItemRect(list->item(0)).topRight() - QPoint(2, -1)),
             QColor(35, 35, 35));
}

void TestOutputPane::lineEndingInLineFeedDrawnAsOneLine()
{
    // Engine lines as they come, some with a line feed at the end, each beside its plain twin.
    const QStringList plain = {"Player 3 is Tim_3 with stack = 1500 in game", "Blinds 10/20"};
    for (const QString &line : plain) {
        m_pane->AppendOutputLine(line + "\n");
        m_pane->AppendOutputLine(line);
    }
    m_pane->chatList()->setCurrentRow(0); // no selected line among those compared
    QListWidget *list = m_pane->chatList();
    QCoreApplication::processEvents();
    const QImage img = list->viewport()->grab().toImage();
    auto whiteRows = [&](QRect r) {
        int rows = 0;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            bool white = false;
            for (int x = r.left(); x <= r.right() && x < img.width() && !white; ++x)
                white = img.pixelColor(x, y).lightness() > 200;
            rows += white;
        }
        return rows;
    };
    for (int i = 0; i < plain.size(); ++i) {
        const QRect withFeed = list->visualItemRect(list->item(1 + 2 * i));
        const QRect without = list->visualItemRect(list->item(2 + 2 * i));
        QCOMPARE(withFeed.size(), without.size());
        // Drawn the same, whole: as many rows of text as the line has without its feed.
        QCOMPARE(img.copy(withFeed), img.copy(without));
        QVERIFY(whiteRows(without) >= QFontMetrics(list->font()).ascent() / 2);
    }
    QCOMPARE(list->item(1)->text(), plain[0] + "\n"); // the line itself is kept as written
}

void TestOutputPane::wrappedLineFitsTheListWidth()
{
    QListWidget *list = m_pane->chatList();
    const QString text = QString("a few words ").repeated(40);
    m_pane->AppendWrappedLine(text);
    // As high as the words need at the visible width, whatever the width.
    int before = 0;
    for (int width : {1000, 700}) {
        m_pane->resize(width, 220);
        const QRect area(0, 0, list->viewport()->width() - 2, 1 << 20);
        QTRY_VERIFY(list->visualItemRect(list->item(1)).height() >=
                    list->fontMetrics().boundingRect(area, Qt::TextWordWrap, text).height());
        QVERIFY(list->visualItemRect(list->item(1)).height() > before);
        before = list->visualItemRect(list->item(1)).height();
    }
    QVERIFY(before >= 3 * list->visualItemRect(list->item(0)).height());
    QCOMPARE(list->horizontalScrollBar()->maximum(), 0); // the list is no wider for it
}

void TestOutputPane::contextMenuCommandsLeaveList()
{
    QStringList messages;
    m_pane->chatList()->m_showMessage = [&](const QString &m) { messages << m; };
    m_pane->AppendOutputLine("a line");
    m_pane->chatList()->OnEditCopy();
    m_pane->chatList()->OnEditClear();
    QCOMPARE(messages, QStringList({"Copy output", "Clear output"}));
    QCOMPARE(m_pane->chatList()->count(), 2);
    m_pane->chatList()->OnViewOutput();
    QVERIFY(m_pane->isHidden());
}

QTEST_MAIN(TestOutputPane)
#include "tst_output_pane.moc"
