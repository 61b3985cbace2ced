// The review windows driven as a user drives them: hands replayed step by step against what
// the hand history implies, the progress charts against the files and the database, and bad
// files met with a message.

#include "coach/Review.h"
#include "engine/Game.h"
#include "opponents/BotGame.h"
#include "storage/PokerTables.h"
#include "storage/SessionSave.h"
#include "tests/support/FullDisk.h"
#include "tests/support/ScriptedHands.h"
#include "tests/ui/ReviewFixtures.h"
#include "tests/ui/TestApp.h"
#include "ui/app/CommandIds.h"
#include "ui/app/MainFrame.h"
#include "ui/review/HandListModel.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/ProgressWindow.h"
#include "ui/table_view/TableCanvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtTest>

#include <sqlite3.h>

#include <deque>
#include <map>

namespace {

constexpr std::time_t kFirstGameTime = 1700000000;

// Plays the computer seats (and the human's) from a list of (seat, chips) answers.
class ScriptedDecider : public IDecider
{
public:
    explicit ScriptedDecider(std::vector<std::pair<int, int>> script)
        : m_script(script.begin(), script.end())
    {}
    int DecidePreflop(const CGameTable &, int seat, EasyRandom &) override { return Next(seat); }
    int DecidePostflop(const CGameTable &, int seat, int, EasyRandom &) override
    {
        return Next(seat);
    }
    bool m_mismatch = false;

private:
    int Next(int seat)
    {
        if (m_script.empty() || m_script.front().first != seat) {
            m_mismatch = true;
            return 0;
        }
        const int amount = m_script.front().second;
        m_script.pop_front();
        return amount;
    }
    std::deque<std::pair<int, int>> m_script;
};

// One hand of tests/support by name, played at `when`.
bool PlayScriptedHand(const QString &folder, std::time_t when,
                      const testsupport::ScriptedHand &hand)
{
    ScriptedDecider decider(hand.decisions);
    CDunmereGame game;
    game.SetOutputFolder(folder.toStdString());
    game.SetPauseFactor(0);
    game.SetClock([when] { return when; });
    game.SetDecider(&decider);
    game.SetSeed(7);
    game.SetStackedDraws(hand.draws);
    game.m_onHandEnd = [](CDunmereGame &g) { g.m_stopRequested = true; };
    GameSetupItems items;
    items.seatCount = static_cast<int>(hand.names.size());
    items.names = hand.names;
    items.stacks = hand.stacks;
    items.smallBlind = 10;
    items.bigBlind = 20;
    game.StartGame(items);
    game.StartDeal();
    game.WaitForGameEnd();
    return !decider.m_mismatch;
}

// A seat's numbers as the table shows them.
struct Shown
{
    QString stack;
    QString bet; // empty when no bet is in front
};

Shown SeatShown(const TableSnapshot &table, int seat)
{
    const SeatSnapshot &s = table.seats[seat];
    return {QString::fromStdWString(s.stack),
            s.showAction ? QString::fromStdWString(s.action) : QString()};
}

} // namespace

class TestReview : public QObject
{
    Q_OBJECT
public:
    TestReview(CDunmereApp &app, QString folder)
        : m_app(app)
        , m_appFolder(std::move(folder))
    {}

private slots:
    void initTestCase();
    void ribbonOpensTheReviewWindows();
    void replayFollowsTheHandHistory_data();
    void replayFollowsTheHandHistory();
    void jumpsToStreetsAndPlays();
    void badHandHistoriesGetAMessage();
    void opensEveryKindOfFile_data();
    void opensEveryKindOfFile();
    void opensOtherFormatsAndExports();
    void aRealTableCountsItsSeatsNotItsPlayers();
    void reloadDoesNotWaitForTheCoach();
    void gameListCoachColumnAndMistakes();

private:
    void ClickRow(CHandsWindow &window, int row)
    {
        auto *list = window.findChild<QTableView *>(QStringLiteral("hands"));
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QCoreApplication::processEvents();
    }
    QString Caption(CHandsWindow &window)
    {
        return window.findChild<QLabel *>(QStringLiteral("caption"))->text();
    }
    QString Message(QWidget &window, const char *name = "message")
    {
        auto *label = window.findChild<QLabel *>(QLatin1String(name));
        return label && !label->isHidden() ? label->text() : QString();
    }
    const TableSnapshot &Table(CHandsWindow &window)
    {
        return window.findChild<CTableCanvas *>(QStringLiteral("replayTable"))->snapshot();
    }

    CDunmereApp &m_app;
    QString m_appFolder;
    QTemporaryDir m_scripted; // the three scripted hands, one game each
    QTemporaryDir m_bots;     // two bot games with their database
    std::vector<BotGameResult> m_botGames;
};

void TestReview::initTestCase()
{
    qputenv("TZ", "UTC");
    QVERIFY(m_scripted.isValid() && m_bots.isValid());
    const QString folder = m_scripted.path();
    QVERIFY(PlayScriptedHand(folder, kFirstGameTime, testsupport::WonByFoldsOnTheTurn()));
    QVERIFY(
        PlayScriptedHand(folder, kFirstGameTime + 100, testsupport::SplitPotAllInBeforeTheFlop()));
    QVERIFY(
        PlayScriptedHand(folder, kFirstGameTime + 200, testsupport::ThreeWayAllInWithASidePot()));
    QCOMPARE(HistoryFiles(folder).size(), 3);

    m_botGames = PlayBotGamesWithLedger(m_bots.path(), {21u, 22u});
}

void TestReview::replayFollowsTheHandHistory_data()
{
    QTest::addColumn<int>("game");       // the file, oldest first
    QTest::addColumn<QString>("listed"); // the hand list's Pot and Showdown cells
    // Per step: caption, then stack and bet of seats 0..2, then the pot box.
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("won by folds")
        << 0 << "60 "
        << QStringList{"Hand #1: blinds 10/20",
                       "1000 - 1000 - 1000 - | 0",
                       "Tim_2: posts small blind 10",
                       "1000 - 1000 - 990 10 | 0",
                       "Hero_0: posts big blind 20",
                       "980 20 1000 - 990 10 | 0",
                       "Master_1: calls 20",
                       "980 20 980 20 990 10 | 0",
                       "Tim_2: calls 10",
                       "980 20 980 20 980 20 | 0",
                       "Hero_0: checks",
                       "980 20 980 20 980 20 | 0",
                       "*** FLOP *** [Qs Js 4h]",
                       "980 - 980 - 980 - | 60",
                       "Tim_2: checks",
                       "980 - 980 - 980 - | 60",
                       "Hero_0: checks",
                       "980 - 980 - 980 - | 60",
                       "Master_1: checks",
                       "980 - 980 - 980 - | 60",
                       "*** TURN *** [9c]",
                       "980 - 980 - 980 - | 60",
                       "Tim_2: bets 40",
                       "980 - 980 - 940 40 | 60",
                       "Hero_0: folds",
                       "980 - 980 - 940 40 | 60",
                       "Master_1: folds",
                       "980 - 980 - 940 40 | 60",
                       "Uncalled bet (40) returned to Tim_2; Tim_2 collected 60 from pot",
                       "980 - 980 - 1040 - | 0"};
    QTest::newRow("split pot")
        << 1 << "2000 all in"
        << QStringList{
               "Hand #1: blinds 10/20",
               "1000 - 1000 - 1000 - | 0",
               "Tim_2: posts small blind 10",
               "1000 - 1000 - 990 10 | 0",
               "Hero_0: posts big blind 20",
               "980 20 1000 - 990 10 | 0",
               "Master_1: folds",
               "980 20 1000 - 990 10 | 0",
               "Tim_2: raises 990 and is all-in",
               "980 20 1000 - 0 1000 | 0",
               "Hero_0: calls 980 and is all-in",
               "0 1000 1000 - 0 1000 | 0",
               "*** FLOP *** [As Ks Qs]",
               "0 - 1000 - 0 - | 2000",
               "*** TURN *** [Js]",
               "0 - 1000 - 0 - | 2000",
               "*** RIVER *** [Ts]",
               "0 - 1000 - 0 - | 2000",
               "Hero_0 wins 1000 with Royal flush; Tim_2 wins 1000 with Royal flush (all in before "
               "the river)",
               "1000 - 1000 - 1000 - | 0"};
    QTest::newRow("three all in, side pot")
        << 2 << "1500 all in"
        << QStringList{
               "Hand #1: blinds 10/20",
               "300 - 600 - 1000 - | 0",
               "Tim_2: posts small blind 10",
               "300 - 600 - 990 10 | 0",
               "Hero_0: posts big blind 20",
               "280 20 600 - 990 10 | 0",
               "Master_1: raises 600 and is all-in",
               "280 20 0 600 990 10 | 0",
               "Tim_2: calls 590",
               "280 20 0 600 400 600 | 0",
               "Hero_0: calls 280 and is all-in",
               "0 300 0 600 400 600 | 0",
               "*** FLOP *** [3h 8s 9d]",
               "0 - 0 - 400 - | 1500",
               "*** TURN *** [Jc]",
               "0 - 0 - 400 - | 1500",
               "*** RIVER *** [4s]",
               "0 - 0 - 400 - | 1500",
               "Hero_0 wins 900 with Pair of Aces; Master_1 wins 600 with Pair of Kings (all in "
               "before the river)",
               "900 - 600 - 400 - | 0"};
}

void TestReview::replayFollowsTheHandHistory()
{
    QFETCH(int, game);
    QFETCH(QString, listed);
    QFETCH(QStringList, steps);
    CHandsWindow window(m_scripted.path());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.reload();
    QVERIFY(window.openFile(HistoryFiles(m_scripted.path()).at(game)));
    ClickRow(window, 0);
    QCOMPARE(window.stepCount(), steps.size() / 2);
    // The pot the players played for, without a bet nobody called, and how the hand ended.
    const QAbstractItemModel *rows = window.findChild<QTableView *>()->model();
    QCOMPARE(rows->index(0, CHandListModel::kPot).data().toString() + u' ' +
                 rows->index(0, CHandListModel::kShowdown).data().toString(),
             listed);

    const auto shownNow = [&] {
        const TableSnapshot &table = Table(window);
        QStringList parts;
        for (int s = 0; s < 3; ++s) {
            const Shown seat = SeatShown(table, s);
            parts << seat.stack << (seat.bet.isEmpty() ? QStringLiteral("-") : seat.bet);
        }
        return parts.join(QLatin1Char(' ')) + QStringLiteral(" | ") +
               QString::fromStdWString(table.potText);
    };
    // Forward with the button and the arrow key in turn (the focus stays in the hand list),
    // then all the way back.
    auto *forward = window.findChild<QPushButton *>(QStringLiteral("forward"));
    for (int step = 0; step < steps.size() / 2; ++step) {
        QCOMPARE(Caption(window), steps[2 * step]);
        QCOMPARE(shownNow(), steps[2 * step + 1]);
        if (step + 1 < steps.size() / 2) {
            if (step % 2 == 0)
                QTest::mouseClick(forward, Qt::LeftButton);
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QCoreApplication::processEvents();
        }
    }
    QVERIFY(!forward->isEnabled());
    for (int step = steps.size() / 2 - 1; step >= 0; --step) {
        QCOMPARE(Caption(window), steps[2 * step]);
        QCOMPARE(shownNow(), steps[2 * step + 1]);
        if (step > 0)
            ClickButton(&window, "back");
    }

    // The player's cards are face up throughout; the others' only at a showdown they reached.
    const TableSnapshot &start = Table(window);
    QVERIFY(start.seats[0].showCards && start.seats[0].faceUp);
    QVERIFY(start.seats[1].showCards && !start.seats[1].faceUp);
    ClickButton(&window, "last");
    const TableSnapshot &end = Table(window);
    QVERIFY(end.seats[0].faceUp);
    QCOMPARE(end.seats[2].faceUp, game != 0);
    QCOMPARE(end.seats[1].faceUp, game == 2);
    QCOMPARE(end.seats[1].showCards, game == 2); // folded in the first two hands
}

void TestReview::jumpsToStreetsAndPlays()
{
    // A newer game stopped before its first hand ended: the latest game with hands is shown.
    const QString unplayed = m_scripted.path() + "/HandHistory/HH_29991231_235959.txt";
    QVERIFY(QFile(unplayed).open(QIODevice::WriteOnly));
    CHandsWindow window(m_scripted.path());
    window.show();
    window.reload();
    QFile::remove(unplayed);
    auto *games = window.findChild<QComboBox *>(QStringLiteral("games"));
    QCOMPARE(games->count(), 4);
    QCOMPARE(games->currentData().toString(), HistoryFiles(m_scripted.path()).at(2));
    window.reload();
    // A game of the list opened under another spelling of its path is that entry, not a new one.
    QVERIFY(window.openFile(m_scripted.path() + "/./HandHistory/" +
                            QFileInfo(HistoryFiles(m_scripted.path()).at(0)).fileName()));
    QCOMPARE(games->count(), 3);

    ClickButton(&window, "turn");
    QCOMPARE(Caption(window), QStringLiteral("*** TURN *** [9c]"));
    QCOMPARE(Table(window).boardCount, 4);
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("river"))->isEnabled());
    ClickButton(&window, "flop");
    QCOMPARE(Table(window).boardCount, 3);
    ClickButton(&window, "preflop");
    QCOMPARE(window.step(), 0);
    QCOMPARE(Table(window).boardCount, 0);
    ClickButton(&window, "result");
    QCOMPARE(window.step(), window.stepCount() - 1);

    // The player's decisions get the coach's verdict, once the coach has judged the game.
    QTRY_VERIFY_WITH_TIMEOUT(window.verdictsReady(), 120000);
    ClickButton(&window, "preflop");
    auto *coach = window.findChild<QLabel *>(QStringLiteral("coach"));
    QVERIFY(coach->text().isEmpty()); // the hand's start is no decision
    for (int i = 0; i < 5; ++i)
        ClickButton(&window, "forward");
    QCOMPARE(Caption(window), QStringLiteral("Hero_0: checks"));
    QVERIFY2(coach->text().startsWith(QStringLiteral("Coach: preflop check")),
             qPrintable(coach->text()));
    ClickButton(&window, "forward");
    QVERIFY(coach->text().isEmpty()); // the flop is no decision
    ClickButton(&window, "turn");
    for (int i = 0; i < 2; ++i)
        ClickButton(&window, "forward");
    QCOMPARE(Caption(window), QStringLiteral("Hero_0: folds"));
    QVERIFY2(coach->text().startsWith(QStringLiteral("Coach: turn fold")),
             qPrintable(coach->text()));

    // Play runs to the end on its own and stops there; the fastest speed keeps the test short.
    auto *speed = window.findChild<QSlider *>(QStringLiteral("speed"));
    speed->setValue(speed->maximum());
    ClickButton(&window, "preflop");
    ClickButton(&window, "play");
    auto *play = window.findChild<QPushButton *>(QStringLiteral("play"));
    QCOMPARE(play->text(), QStringLiteral("Pause"));
    QTRY_COMPARE_WITH_TIMEOUT(window.step(), window.stepCount() - 1, 20000);
    QTRY_COMPARE(play->text(), QStringLiteral("Play"));
    // Pause holds the step.
    ClickButton(&window, "play");
    QTRY_VERIFY(window.step() > 0);
    ClickButton(&window, "play");
    const int paused = window.step();
    QTest::qWait(speed->maximum() > 0 ? 700 : 0);
    QCOMPARE(window.step(), paused);
}

// While the coach plays out the decisions of a long game the window answers, and a Reload
// stops the stale review without waiting for it: the new review's verdicts arrive.
void TestReview::reloadDoesNotWaitForTheCoach()
{
    QTemporaryDir folder;
    BotGameOptions options;
    options.names = DefaultBotNames(6);
    options.stacks.assign(6, 1000000);
    options.lastHand = 2000;
    options.seed = 9;
    options.outputFolder = folder.path().toStdString();
    RunBotGame(options);
    CHandsWindow hands(folder.path());
    hands.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hands));
    // Play-outs for 2,000 hands outlast the test: meanwhile the replay steps, and says the
    // decisions are being reviewed.
    hands.reload();
    auto *coachLine = hands.findChild<QLabel *>(QStringLiteral("coach"));
    for (int step = 0; coachLine->text().isEmpty() && step + 1 < hands.stepCount(); ++step)
        ClickButton(&hands, "forward");
    QCOMPARE(coachLine->text(), QStringLiteral("Coach: reviewing the decisions of this game…"));
    QVERIFY(!hands.verdictsReady());
    // The review's threads are what counts from here: the price alone, quickly.
    coach::ReviewOptions priceOnly;
    priceOnly.samplesPerOption = 0;
    hands.setReviewOptions(priceOnly);
    hands.reload();
    QVERIFY(!hands.verdictsReady());
    QTRY_VERIFY_WITH_TIMEOUT(hands.verdictsReady(), 120000);
}

void TestReview::badHandHistoriesGetAMessage()
{
    QTemporaryDir folder;
    CHandsWindow window(folder.path());
    window.show();
    window.reload();
    QVERIFY(Message(window).contains(QStringLiteral("No hand histories")));
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("forward"))->isEnabled());

    QVERIFY(!window.openFile(folder.filePath(QStringLiteral("HH_missing.txt"))));
    QVERIFY(Message(window).contains(QStringLiteral("HH_missing.txt")));
    QCOMPARE(window.stepCount(), 0);

    const QString other = folder.filePath(QStringLiteral("notes.txt"));
    QFile notes(other);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("Shopping list\r\nmilk\r\neggs\r\n");
    notes.close();
    QVERIFY(!window.openFile(other));
    QVERIFY(!Message(window).isEmpty());
    QCOMPARE(window.stepCount(), 0);

    // A bet of 10 MB of digits, quoted by the warning: a short excerpt, shown at once, and the
    // window keeps its width.
    QString huge = ReadText(QStringLiteral(BRISQUEL_INTERCHANGE_DATA "/two_tables_eur.txt"));
    huge.insert(huge.indexOf('\n', huge.indexOf("*** HOLE CARDS")) + 1,
                "a1: bets " + QString(10 << 20, '9') + '\n');
    QVERIFY(notes.open(QIODevice::WriteOnly | QIODevice::Truncate));
    notes.write(huge.toUtf8());
    notes.close();
    const int width = window.width();
    QElapsedTimer shown;
    shown.start();
    window.openFile(other);
    window.grab();
    QVERIFY2(shown.elapsed() < 1000, qPrintable(QString::number(shown.elapsed())));
    QVERIFY(Message(window).contains("999") && Message(window).size() < 1000);
    QCOMPARE(window.width(), width);
    // A player of a name of 100,000 characters, replayed: the seat, the list and the caption
    // show a short part of it, and the window keeps its width.
    QString named = ReadText(QStringLiteral(BRISQUEL_INTERCHANGE_DATA "/two_tables_eur.txt"));
    named.replace(QStringLiteral("a1"), QString(100000, 'n'));
    QVERIFY(notes.open(QIODevice::WriteOnly | QIODevice::Truncate));
    notes.write(named.toUtf8());
    notes.close();
    QVERIFY(window.openFile(other));
    ClickRow(window, 0);
    ClickButton(&window, "last");
    window.grab();
    QCOMPARE(window.width(), width);

    // A file cut off in its second hand: the first hand still replays, with a remark.
    const QString whole = ReadText(HistoryFiles(m_bots.path()).at(0));
    const int cut = whole.indexOf(QStringLiteral("Hand #2"));
    QVERIFY(cut > 0);
    const QString truncated = folder.filePath(QStringLiteral("HH_20231114_000000.txt"));
    QFile out(truncated);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(whole.left(cut + 200).toLatin1());
    out.close();
    window.openFile(truncated);
    QCOMPARE(window.game().hands.size(), size_t(1));
    QVERIFY(!Message(window).isEmpty());
    ClickRow(window, 0);
    ClickButton(&window, "last");
    QVERIFY(window.stepCount() > 2);
}

void TestReview::opensEveryKindOfFile_data()
{
    QTest::addColumn<QString>("file");
    const QString real = QStringLiteral(BRISQUEL_INTERCHANGE_DATA "/real/");
    QTest::newRow("own game") << HistoryFiles(m_bots.path()).at(0);
    QTest::newRow("PokerStars") << QStringLiteral(BRISQUEL_INTERCHANGE_DATA "/cash_usd.txt");
    QTest::newRow("PHH") << QStringLiteral(BRISQUEL_INTERCHANGE_DATA "/three_way.phh");
    QTest::newRow("GGPoker") << real + "ggpoker/GG20250916-2143 - RushAndCash15467382 - 0.02 - "
                                       "0.05 - 6max.txt";
    QTest::newRow("Winamax") << real + "winamax/hhsmithy_single_hands.txt";
    QTest::newRow("888poker") << real + "888/hhsmithy_pacific_hands.txt";
}

// Whatever its format, a file opens on its first hand, replayed, its name in the title.
void TestReview::opensEveryKindOfFile()
{
    QFETCH(QString, file);
    QTemporaryDir folder;
    CHandsWindow window(folder.path());
    window.show();
    QVERIFY2(window.openFile(file), qPrintable(Message(window)));
    QVERIFY(!window.game().hands.empty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Hands - ") + QFileInfo(file).fileName());
    ClickButton(&window, "last");
    QVERIFY(window.stepCount() > 2 && window.step() == window.stepCount() - 1);

    // A text in no format the program reads is named for what it is.
    QFile notes(folder.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("# Notes\n") > 0);
    notes.close();
    QVERIFY(!window.openFile(notes.fileName()));
    QVERIFY2(Message(window).contains(QStringLiteral("format not recognised: first line")),
             qPrintable(Message(window)));
    if (const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS"); !shots.isEmpty())
        QVERIFY(window.grab().save(QDir(shots).filePath(QStringLiteral("review-unknown.png"))));
}

// Twenty players came and went through the nine seats of this real table.
void TestReview::aRealTableCountsItsSeatsNotItsPlayers()
{
    QTemporaryDir folder;
    CHandsWindow window(folder.path());
    window.resize(1250, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.openFile(QStringLiteral(BRISQUEL_INTERCHANGE_DATA
                                           "/real/pokerstars/HH20200417 "
                                           "Sicilia II - $0,01-$0,02 - USD No Limit Hold'em.txt")));
    const QString text = window.findChild<QComboBox *>(QStringLiteral("games"))->currentText();
    QVERIFY2(text.contains(QStringLiteral("9 seats")), qPrintable(text));
    const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS");
    if (!shots.isEmpty())
        QVERIFY(window.grab().save(QDir(shots).filePath(QStringLiteral("review-real-table.png"))));

    // Rush & Cash seats the hero anew each hand: every row shows his cards.
    QVERIFY(window.openFile(QStringLiteral(BRISQUEL_INTERCHANGE_DATA
                                           "/real/ggpoker/GG20250916-2143 "
                                           "- RushAndCash15467382 - 0.02 - 0.05 - 6max.txt")));
    const QAbstractItemModel *rows =
        window.findChild<QTableView *>(QStringLiteral("hands"))->model();
    for (int row = 0; row < rows->rowCount(); ++row)
        QVERIFY2(!rows->index(row, CHandListModel::kCards).data().toString().isEmpty(),
                 qPrintable(QString::number(row)));
    if (!shots.isEmpty())
        QVERIFY(
            window.grab().save(QDir(shots).filePath(QStringLiteral("review-rush-and-cash.png"))));
}

// A PokerStars file of two tables: one entry each in the game list, each replayed; the game
// shown exported as PHH reads back the same, and a place that cannot be written says so.
void TestReview::opensOtherFormatsAndExports()
{
    QTemporaryDir folder;
    CHandsWindow window(folder.path());
    window.resize(1250, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.openFile(QStringLiteral(BRISQUEL_INTERCHANGE_DATA "/two_tables_eur.txt")));
    auto *games = window.findChild<QComboBox *>(QStringLiteral("games"));
    QCOMPARE(games->count(), 2);
    QVERIFY(games->itemText(0).contains(QStringLiteral("table 1 of 2")));
    QCOMPARE(window.game().hands.size(), size_t(2));
    QTest::mouseClick(games, Qt::LeftButton);
    QTest::keyClick(games->view(), Qt::Key_Down);
    QTest::keyClick(games->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(games->currentIndex(), 1);
    QCOMPARE(window.game().hands.size(), size_t(1));
    ClickRow(window, 0);
    ClickButton(&window, "last");
    QVERIFY(window.stepCount() > 5);
    QVERIFY(Caption(window).contains(QStringLiteral("a7")));
    const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS");
    if (!shots.isEmpty())
        QVERIFY(window.grab().save(QDir(shots).filePath(QStringLiteral("review-imported.png"))));

    // The export dialog names the file after the format picked.
    QStringList offered;
    QTimer::singleShot(0, &window, [&offered] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        offered << name->text();
        QTest::keyClick(dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")),
                        Qt::Key_Down);
        offered << name->text();
        dialog->reject();
    });
    ClickButton(&window, "export");
    QCOMPARE(offered.size(), 2);
    QVERIFY(offered[0].startsWith(QStringLiteral("PokerStars_")) && offered[0].endsWith(".txt"));
    QVERIFY(offered[1].startsWith(QStringLiteral("PHH_")) && offered[1].endsWith(".phhs"));

    const QString phh = folder.filePath(QStringLiteral("vela.phhs"));
    window.m_askExportPath = [&phh] { return phh; };
    ClickButton(&window, "export");
    QVERIFY(Message(window).contains(QStringLiteral("Exported 1 hand")));
    QVERIFY(ReadText(phh).contains(QStringLiteral("variant = \"NT\"")));
    QVERIFY(window.openFile(phh));
    QCOMPARE(window.game().hands.size(), size_t(1));
    QCOMPARE(window.game().hands[0].seats[0].endStack, 233);

    window.m_askExportPath = [&folder] {
        return folder.filePath(QStringLiteral("missing/game.txt"));
    };
    ClickButton(&window, "export");
    QVERIFY(Message(window).contains(QStringLiteral("Cannot write")));
    // A full disk: the system's reason, and the file exported before left whole.
    const QString before = ReadText(phh);
    window.m_askExportPath = [&phh] { return phh; };
    {
        const testsupport::FullDisk disk(100);
        ClickButton(&window, "export");
    }
    QVERIFY(Message(window).contains(QStringLiteral("File too large")));
    QCOMPARE(ReadText(phh), before);
    if (!shots.isEmpty())
        QVERIFY(
            window.grab().save(QDir(shots).filePath(QStringLiteral("review-export-failed.png"))));
}

void TestReview::gameListCoachColumnAndMistakes()
{
    CHandsWindow hands(m_bots.path()); // at its default size
    coach::ReviewOptions options;
    options.samplesPerOption = 100;
    options.seed = 11;
    hands.setReviewOptions(options);
    hands.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hands));
    hands.reload();
    auto *games = hands.findChild<QComboBox *>(QStringLiteral("games"));
    QCOMPARE(games->count(), 2);
    for (int i = 0; i < games->count(); ++i) {
        history::Game game;
        std::string error;
        QVERIFY(history::ReadGameFile(games->itemData(i).toString().toStdString(), game, error));
        const int seat = replay::PlayerSeat(game);
        const int net = replay::ChipsPerHand(game, seat).back().chips - game.seats[seat].stack;
        const QString expected =
            QStringLiteral("%1 · fixed blinds · 10/20 · 4 seats · %2 hands · %3")
                .arg(QString::fromStdString(game.started).simplified().left(16))
                .arg(game.hands.size())
                .arg(net > 0 ? QStringLiteral("+%1").arg(net) : QString::number(net));
        QCOMPARE(games->itemText(i), expected);
    }

    auto *list = hands.findChild<QTableView *>(QStringLiteral("hands"));
    QAbstractItemModel *rows = list->model();
    const int all = rows->rowCount();
    QVERIFY(all > 0);
    // The play-outs take a while: the filter waits for them and says so.
    auto *only = hands.findChild<QCheckBox *>(QStringLiteral("mistakesOnly"));
    QVERIFY(!only->isEnabled() && only->text().endsWith(QStringLiteral("(reviewing…)")));
    QTRY_VERIFY_WITH_TIMEOUT(hands.verdictsReady(), 60000);
    QCoreApplication::processEvents();
    QVERIFY(only->isEnabled());

    // The same review, the same play-outs: each hand's worst grade is its verdict in the list.
    const history::Game &game = hands.game();
    coach::Estimator estimator(2000, 1);
    std::vector<coach::ReviewRow> reviewed;
    coach::ReviewSummary summary;
    std::string error;
    QVERIFY(coach::ReviewGame(game, replay::PlayerSeat(game), estimator, reviewed, summary, error,
                              {}, options));
    std::map<int, playout::Grade> worst;        // by hand number
    const coach::ReviewRow *disputed = nullptr; // fine by the price, a mistake by the play-outs
    for (const coach::ReviewRow &row : reviewed) {
        worst[row.hand] = std::max(worst[row.hand], row.advice.grade);
        if (!disputed && row.verdict == coach::Verdict::Ok &&
            row.advice.grade >= playout::Grade::Mistake)
            disputed = &row;
    }
    QVERIFY(disputed);
    int mistakes = 0;
    for (int r = 0; r < all; ++r) {
        const int number = rows->index(r, CHandListModel::kHand).data().toInt();
        const QString text = rows->index(r, CHandListModel::kCoach).data().toString();
        const QString name =
            worst.count(number) ? QLatin1String(playout::GradeName(worst[number])) : QString();
        QVERIFY2(text.section(QStringLiteral(" ("), 0, 0) == name,
                 qPrintable(QStringLiteral("#%1: %2").arg(number).arg(text)));
        mistakes += worst.count(number) && worst[number] != playout::Grade::Ok ? 1 : 0;
    }
    QVERIFY(mistakes > 0 && mistakes < all); // bots make some, not only
    // No column cut off at the default size: the header fits the list's viewport.
    QVERIFY2(list->horizontalHeader()->length() <= list->viewport()->width(),
             qPrintable(QStringLiteral("%1 > %2")
                            .arg(list->horizontalHeader()->length())
                            .arg(list->viewport()->width())));
    // Every cell's text fits its column.
    for (int c = 0; c < CHandListModel::kColumnCount; ++c) {
        for (int r = 0; r < all; ++r) {
            const QString text = rows->index(r, c).data().toString();
            QVERIFY2(list->fontMetrics().horizontalAdvance(text) + 6 <=
                         list->horizontalHeader()->sectionSize(c),
                     qPrintable(text));
        }
    }

    QTest::mouseClick(only, Qt::LeftButton, {}, QPoint(8, only->height() / 2));
    QCoreApplication::processEvents();
    QCOMPARE(rows->rowCount(), mistakes);
    QVERIFY(Caption(hands).size() > 0); // a hand of the filtered list is shown
    // The disputed decision's hand is listed, and under the table its line has the grade.
    int listed = -1;
    for (int r = 0; r < rows->rowCount(); ++r)
        listed =
            rows->index(r, CHandListModel::kHand).data().toInt() == disputed->hand ? r : listed;
    QVERIFY(listed >= 0);
    ClickRow(hands, listed);
    auto *coachLine = hands.findChild<QLabel *>(QStringLiteral("coach"));
    QStringList lines;
    for (int step = 0; step + 1 < hands.stepCount(); ++step) {
        ClickButton(&hands, "forward");
        lines << coachLine->text();
    }
    const QString grade = QString::fromLatin1(playout::GradeName(disputed->advice.grade));
    const QRegularExpression line(QStringLiteral("^Coach: \\w+ %1 .*: %2( \\(.*\\))?$")
                                      .arg(QLatin1String(coach::MoveName(disputed->move)), grade));
    QVERIFY2(!lines.filter(line).isEmpty(), qPrintable(lines.join(u'\n')));
    QVERIFY2(lines.filter(QStringLiteral("too ")).isEmpty(), qPrintable(lines.join(u'\n')));
    QTest::mouseClick(only, Qt::LeftButton, {}, QPoint(8, only->height() / 2));
    QCOMPARE(rows->rowCount(), all);
}

void TestReview::ribbonOpensTheReviewWindows()
{
    // The program's folder holds the scripted games; its database is still empty.
    QDir(m_appFolder).mkpath(QStringLiteral("HandHistory"));
    for (const QString &file : HistoryFiles(m_scripted.path()))
        QVERIFY(QFile::copy(
            file, QDir(m_appFolder)
                      .filePath(QStringLiteral("HandHistory/") + QFileInfo(file).fileName())));
    QVERIFY(QFile::copy(QDir(m_scripted.path()).filePath(QStringLiteral("HistoryGame.log")),
                        QDir(m_appFolder).filePath(QStringLiteral("HistoryGame.log"))));
    CMainFrame *frame = m_app.MainFrame();
    const auto ribbonButton = [frame](int id) {
        for (QToolButton *button : frame->findChildren<QToolButton *>()) {
            if (button->defaultAction() == frame->action(id))
                return button;
        }
        return static_cast<QToolButton *>(nullptr);
    };
    QToolButton *handsButton = ribbonButton(ID_REVIEW_HANDS);
    QToolButton *progressButton = ribbonButton(ID_REVIEW_PROGRESS);
    QVERIFY(handsButton && progressButton);
    QCOMPARE(handsButton->text(), QStringLiteral("Hands…"));
    QCOMPARE(progressButton->text(), QStringLiteral("Progress…"));

    QTest::mouseClick(handsButton, Qt::LeftButton);
    CHandsWindow *hands = frame->handsWindow();
    QVERIFY(hands && hands->isVisible());
    QCOMPARE(hands->findChild<QComboBox *>(QStringLiteral("games"))->count(), 3);
    QCOMPARE(hands->game().hands.size(), size_t(1));
    QCOMPARE(hands->stepCount(), 10); // the three-way all-in, the latest game
    hands->close();
    QTest::mouseClick(handsButton, Qt::LeftButton);
    QCOMPARE(frame->handsWindow(), hands); // one window, shown again
    QVERIFY(hands->isVisible());

    QTest::mouseClick(progressButton, Qt::LeftButton);
    CProgressWindow *progress = frame->progressWindow();
    QVERIFY(progress && progress->isVisible());
    QVERIFY(Message(*progress, "balanceMessage").contains(QStringLiteral("no saved game")));
    QCOMPARE(Points(progress->gameChart(), QStringLiteral("Chips")),
             QList<QPointF>{QPointF(1, 900)});
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 20261208);
    if (!app)
        return 1;
    TestReview test(*app, folder.path());
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_review.moc"
