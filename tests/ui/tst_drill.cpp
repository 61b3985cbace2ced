// The drill window answered as a person does, with the F-keys and with clicks, on the deck of a
// seeded bot game: the grade read from the window must be the one the review gave the move
// made, the answers must reach Practice.db3 and the Progress window's drills chart, and closing
// the window while it works must not crash. BRISQUEL_SHOTS=<folder> keeps pictures of both.

#include "practice/Store.h"
#include "tests/support/SeededBotGame.h"
#include "tests/support/SpotReview.h"
#include "tests/support/TempFolder.h"
#include "ui/practice/DrillWindow.h"
#include "ui/review/OptionBars.h"
#include "ui/review/ProgressWindow.h"
#include "ui/table_view/TableCanvas.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>

#include <algorithm>
#include <memory>

namespace {

constexpr int kDealMillis = 20000;

void Shot(QWidget *w, const char *name)
{
    const QString folder = qEnvironmentVariable("BRISQUEL_SHOTS");
    if (!folder.isEmpty())
        w->grab().save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png"));
}

QString Label(const playout::Option &option)
{
    return QString::fromStdString(playout::OptionLabel(option));
}

} // namespace

class TestDrill : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testsupport::SeededBotGame> m_played;
    std::vector<practice::Spot> m_spots; // the deck of seat 1's mistakes

    // A store of its own holding the deck, in `folder`.
    QString FreshStore(const testsupport::TempFolder &folder)
    {
        practice::Store store;
        std::string error;
        const std::string path = folder.file(practice::kStoreFileName);
        if (!store.Open(path, error) || store.Add(m_spots, error) < 0)
            qFatal("%s", error.c_str());
        return QString::fromStdString(path);
    }

    // Answers with the move `label` names: F1, F2, or its size and F3, by keys or by clicks.
    static void Answer(CDrillWindow &window, const QString &label, bool keys)
    {
        QPushButton *target = window.raiseButton();
        Qt::Key key = Qt::Key_F3;
        if (label == QLatin1String("fold")) {
            target = window.foldButton();
            key = Qt::Key_F1;
        } else if (label == QLatin1String("check") || label == QLatin1String("call")) {
            target = window.checkCallButton();
            key = Qt::Key_F2;
        } else {
            const QList<QPushButton *> sizes = window.sizeButtons();
            const auto size = std::find_if(sizes.begin(), sizes.end(),
                                           [&](QPushButton *b) { return b->text() == label; });
            QVERIFY2(size != sizes.end(), qPrintable(label));
            if (keys && *size == sizes.back())
                QTest::keyClick(&window, Qt::Key_F4);
            else
                QTest::mouseClick(*size, Qt::LeftButton);
            QVERIFY((*size)->isChecked());
        }
        if (keys)
            QTest::keyClick(&window, key);
        else
            QTest::mouseClick(target, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        m_played = std::make_unique<testsupport::SeededBotGame>(5, 30, 77);
        QVERIFY2(m_played->ok(), m_played->error().c_str());
        std::vector<coach::ReviewRow> rows;
        std::string error;
        QVERIFY2(testsupport::QuickReview(m_played->game(), 1, rows, error), error.c_str());
        m_spots = practice::SpotsOfGame(m_played->game(), 1, rows);
        QVERIFY(m_spots.size() >= 2);
    }

    void answersAreGradedAsTheReviewGradedThem()
    {
        testsupport::TempFolder folder("brisquel_drill");
        const QString storePath = FreshStore(folder);
        CDrillWindow window(storePath);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.setTypicalMillis(150);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        const std::vector<practice::Leak> leaks = practice::Leaks(m_spots);
        struct Case
        {
            const practice::Spot *spot;
            bool keys;
            bool best; // answer the best option, else the move made
        } cases[] = {{leaks.front().spots.front(), true, false}, {nullptr, false, true}};
        for (Case &c : cases) {
            QTRY_VERIFY_WITH_TIMEOUT(window.checkCallButton()->isEnabled(), kDealMillis);
            // The second spot: whichever the window deals, found by its line.
            for (const practice::Spot &s : m_spots)
                if (!c.spot && window.spotLabel()->text().endsWith(
                                   QString::fromStdString(practice::SpotLine(s))))
                    c.spot = &s;
            QVERIFY(c.spot);
            const practice::Spot &spot = *c.spot;
            QCOMPARE(window.spotLabel()->text(),
                     QString::fromStdString(practice::LeakName(spot.leak) + "\n" +
                                            practice::SpotLine(spot)));
            // The player's own cards face up at the table, the board as far as the spot's.
            const TableSnapshot &table = window.table()->snapshot();
            const auto hero = std::find_if(std::begin(table.seats), std::end(table.seats),
                                           [](const SeatSnapshot &s) { return s.faceUp; });
            QVERIFY(hero != std::end(table.seats));
            QCOMPARE(hero->cards[0], spot.hole[0]);
            QCOMPARE(hero->cards[1], spot.hole[1]);
            QCOMPARE(table.boardCount, static_cast<int>(spot.board.size()));
            QVERIFY(!window.forwardButton()->isEnabled()); // the rest is hidden until answered

            const auto best = std::max_element(
                spot.options.begin(), spot.options.end(),
                [](const playout::Option &a, const playout::Option &b) { return a.evBb < b.evBb; });
            const QString answer = c.best ? Label(*best) : QString::fromStdString(spot.played);
            Answer(window, answer, c.keys);
            QTRY_VERIFY(window.bars()->isVisible() && window.bars()->barCount() > 0);
            COptionBars &bars = *window.bars();
            QCOMPARE(bars.barText(bars.chosenBar()).section(QLatin1String("  "), 0, 0), answer);
            QCOMPARE(bars.barValue(bars.bestBar()), best->evBb);
            const QString grade = window.gradeLabel()->text();
            if (c.best) {
                QVERIFY2(grade.startsWith(QLatin1String("Right")), qPrintable(grade));
            } else {
                QVERIFY2(grade.contains(QLatin1String(playout::GradeName(spot.leak.grade)),
                                        Qt::CaseInsensitive),
                         qPrintable(grade));
                QVERIFY2(grade.contains(QString::number(spot.lossBb, 'f', 2)), qPrintable(grade));
                QVERIFY2(window.masteryLabel()->text().contains(QLatin1String("0 of 1 right")),
                         qPrintable(window.masteryLabel()->text()));
            }
            // Against a typical player beside, the opponents being computer code.
            QTRY_VERIFY_WITH_TIMEOUT(!bars.advice().standard.empty(), kDealMillis);
            Shot(&window, c.keys ? "drill-answered" : "drill-answered-right");
            // The rest of the hand from the answer given, to its end and back.
            QTest::mouseClick(window.forwardButton(), Qt::LeftButton);
            const QString verb = answer == QLatin1String("all in") ? QStringLiteral("all in")
                                 : answer.startsWith(QLatin1String("raise"))
                                     ? QStringLiteral("raises to")
                                     : answer.section(u' ', 0, 0) + u's';
            QVERIFY2(window.stepLabel()->text().contains(verb),
                     qPrintable(window.stepLabel()->text() + " / " + answer));
            int steps = 0;
            while (window.forwardButton()->isEnabled() && steps < 200) {
                QTest::mouseClick(window.forwardButton(), Qt::LeftButton);
                ++steps;
            }
            Shot(&window, c.keys ? "drill-rest" : "drill-rest-right");
            QVERIFY(steps > 0);
            QVERIFY(!window.stepLabel()->text().isEmpty());
            QTest::mouseClick(window.backButton(), Qt::LeftButton);
            QVERIFY(window.forwardButton()->isEnabled());
            QTRY_VERIFY(window.nextButton()->isEnabled());
            QTest::mouseClick(window.nextButton(), Qt::LeftButton);
        }

        // Both answers are in the store, and in the Progress window's drills chart.
        practice::Store store;
        std::vector<practice::Try> tries;
        std::string error;
        QVERIFY(store.Open(storePath.toStdString(), error) && store.Tries(tries, error));
        QCOMPARE(tries.size(), size_t(2));
        QCOMPARE(tries[0].right, false);
        QCOMPARE(tries[1].right, true);
        CProgressWindow progress(QString::fromStdString(folder.str()),
                                 QString::fromStdString(folder.file("PokerDB.db3")));
        progress.tabs()->setCurrentWidget(progress.drillsChart()->parentWidget());
        progress.show();
        const QList<QAbstractSeries *> series = progress.drillsChart()->chart()->series();
        QCOMPARE(series.size(), 1);
        const QBarSet *right = static_cast<QHorizontalBarSeries *>(series[0])->barSets().at(0);
        double shares = 0;
        for (int i = 0; i < right->count(); ++i)
            shares += right->at(i);
        // One leak drilled twice (0 % then 100 % of 2: 50 %), or two leaks once each.
        QVERIFY(right->count() == 1 ? shares == 50 : shares == 100);
        Shot(&progress, "drill-mastery");
    }

    void emptyDeckSaysHowToFillIt()
    {
        testsupport::TempFolder folder("brisquel_drill");
        CDrillWindow window(QString::fromStdString(folder.file(practice::kStoreFileName)));
        QTRY_VERIFY(!window.isBusy());
        QVERIFY2(window.messageLabel()->text().contains(QLatin1String("drill --deck")),
                 qPrintable(window.messageLabel()->text()));
        for (QPushButton *b : {window.foldButton(), window.checkCallButton(), window.raiseButton()})
            QVERIFY(!b->isEnabled());
    }

    // Closed while dealing, and while valuing against a typical player: no crash, no wait
    // beyond the work in hand.
    void closingMidJobIsSafe()
    {
        testsupport::TempFolder folder("brisquel_drill");
        const QString storePath = FreshStore(folder);
        delete new CDrillWindow(storePath);
        auto *window = new CDrillWindow(storePath);
        window->setTypicalMillis(2000);
        QTRY_VERIFY_WITH_TIMEOUT(window->checkCallButton()->isEnabled(), kDealMillis);
        QTest::mouseClick(window->checkCallButton(), Qt::LeftButton);
        QTest::mouseClick(window->nextButton(), Qt::LeftButton);
        delete window;
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestDrill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_drill.moc"
