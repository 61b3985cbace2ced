// The Progress window: its charts follow the hand histories and the ledger of real games, and
// missing, empty or foreign databases get a message instead of a chart. The per-game figures
// come from a review on a worker that a close stops, and from a cache that is reused when it is
// sound and written afresh when it is not.

#include "tests/support/AllInJudge.h"
#include "tests/ui/ReviewFixtures.h"
#include "tests/ui/TestApp.h"
#include "ui/review/ProgressWindow.h"

#include "coach/Review.h"
#include "history/HistoryReader.h"

#include <QComboBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Per-game figures need a review; this is long enough for any of the games here.
constexpr int kReviewTimeoutMs = 300000;

QString DatabaseOf(const QTemporaryDir &folder)
{
    return QDir(folder.path()).filePath(QStringLiteral("PokerDB.db3"));
}

// A quick stand-in for the review that counts its games and marks their figures with `loss`,
// for the tests of the cache, which need no real review.
constexpr double kStandInLoss = 2.5;
struct CountingFigure
{
    double loss = kStandInLoss;
    std::shared_ptr<std::atomic<int>> calls = std::make_shared<std::atomic<int>>(0);
    CProgressReviewer::Figure function()
    {
        return
            [calls = calls, loss = loss](const QString &path, GameFigures &f, const StillWanted &) {
                ++*calls;
                f = {};
                f.path = path;
                f.hands = 1;
                f.evLossPer100 = loss;
                return StampOf(path, f.size, f.modified);
            };
    }
};

// The cache of the games of `games` beside `database`, as the stand-in marked with `loss`
// figures them.
void FillCache(const QString &games, const QString &database, double loss)
{
    CountingFigure filler{loss};
    CProgressWindow window(games, database, nullptr, filler.function());
    QTRY_VERIFY(!window.isReviewing());
    QVERIFY(filler.calls->load() > 0);
    QVERIFY(QFile::exists(ProgressCachePath(database)));
}

// A review that holds on to its first game until the test lets go or the window stops it.
struct HeldFigure
{
    std::shared_ptr<std::atomic<bool>> release = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<int>> calls = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> stopped = std::make_shared<std::atomic<int>>(0);
    CProgressReviewer::Figure function()
    {
        return [held = *this](const QString &path, GameFigures &f, const StillWanted &wanted) {
            ++*held.calls;
            while (!held.release->load()) {
                if (!wanted()) {
                    ++*held.stopped;
                    f.problem = QStringLiteral("stopped");
                    return false;
                }
                std::this_thread::yield();
            }
            return FigureGame(path, f, wanted);
        };
    }
};

// The chips `seat`'s result in `hand` changes by when its all-in is settled at its equity;
// nullopt for a hand this check leaves alone (betting that went on after the all-in).
std::optional<double> AllInLuck(const history::Hand &hand, int seat)
{
    const history::HandSeat &me = hand.seats[size_t(seat)];
    int live = 0;
    for (const history::HandSeat &h : hand.seats)
        live += h.inHand && !h.folded ? 1 : 0;
    const history::Action *firstAllIn = nullptr, *last = nullptr;
    for (const history::Action &a : hand.actions) {
        if (a.kind == history::ActionKind::Ante || a.kind == history::ActionKind::SmallBlind ||
            a.kind == history::ActionKind::BigBlind)
            continue;
        last = &a;
        if (a.allIn && !firstAllIn)
            firstAllIn = &a;
    }
    const history::Street end = last ? last->street : history::Street::Preflop;
    if (!me.inHand || me.folded || live < 2 || end == history::Street::River)
        return 0.0;
    if (!firstAllIn || firstAllIn->street != end)
        return std::nullopt;
    for (const history::HandSeat &h : hand.seats) {
        if (h.inHand && !h.folded && (h.cards[0] < 0 || h.cards[1] < 0))
            return std::nullopt;
    }
    return testsupport::ExpectedFromBoards(hand, hand.boardCountAt(end))[size_t(seat)] - me.won;
}

} // namespace

class TestProgress : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void perGameFiguresFollowTheGames();
    void allInLuckIsTakenOut();
    void reviewShowsItsProgress();
    void closingStopsTheReview();
    void soundCacheIsReusedAtOnce();
    void changedGameIsReviewedAgain();
    void badCacheIsIgnoredAndRewritten_data();
    void badCacheIsIgnoredAndRewritten();
    void cacheThatCannotBeWrittenIsDoneWithout();
    void chipsPerHandFollowTheHandHistory();
    void balancesAndStatisticsFollowTheDatabase();
    void badDatabasesGetAMessage();
    void savesChartsAsPng();

private:
    QTemporaryDir m_bots; // two bot games with their database
    std::vector<BotGameResult> m_botGames;
};

void TestProgress::initTestCase()
{
    qputenv("TZ", "UTC");
    QVERIFY(m_bots.isValid());
    m_botGames = PlayBotGamesWithLedger(m_bots.path(), {21u, 22u});
    QCOMPARE(m_botGames.size(), size_t(2));
}

// The first window reviews both games for real and leaves the cache the others read.
void TestProgress::perGameFiguresFollowTheGames()
{
    QFile::remove(ProgressCachePath(DatabaseOf(m_bots)));
    CProgressWindow window(m_bots.path(), DatabaseOf(m_bots));
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReviewing(), kReviewTimeoutMs);
    QVERIFY(ShownText(window, "reviewProgress").isEmpty());
    QVERIFY(ShownText(window, "perGameMessage").isEmpty());

    // Each game's result is its final stack less its first, as the game itself counted it.
    QList<QPointF> results;
    for (size_t g = 0; g < m_botGames.size(); ++g)
        results << QPointF(double(g + 1), double(m_botGames[g].seats[0].finalStack -
                                                 m_botGames[g].seats[0].startStack));
    QCOMPARE(Points(window.perGameChart(), QStringLiteral("Result (chips)")), results);

    // The coach's loss per 100 hands of each game at its place: the latest game's as a review
    // of that file alone gives it (one review, for the sake of the sanitizer builds).
    const QStringList files = HistoryFiles(m_bots.path());
    QCOMPARE(files.size(), 2);
    const QList<QPointF> losses =
        Points(window.perGameChart(), QStringLiteral("EV loss per 100 hands (bb, right scale)"));
    QCOMPARE(losses.size(), 2);
    history::Game game;
    std::string error;
    QVERIFY(history::ReadGameFile(files[1].toStdString(), game, error));
    coach::Estimator estimator(coach::kDefaultTrials, kProgressReviewSeed);
    std::vector<coach::ReviewRow> rows;
    coach::ReviewSummary summary;
    coach::ReviewOptions options;
    options.seed = kProgressReviewSeed;
    QVERIFY2(coach::ReviewGame(game, 0, estimator, rows, summary, error, {}, options),
             error.c_str());
    QCOMPARE(losses[1].x(), 2.0);
    QVERIFY(qAbs(losses[1].y() - summary.evLossPer100()) < 1e-9);
    QVERIFY(summary.evLossPer100() != losses[0].y()); // else the places could be swapped
    QVERIFY(losses[0].y() >= 0);
    QVERIFY(QFile::exists(ProgressCachePath(DatabaseOf(m_bots))));
}

// Both charts against pots paid out here over every remaining board: this game's adjusted line
// moves away from the chips by each all-in's luck, and each game's adjusted result differs from
// its result by the sum of them.
void TestProgress::allInLuckIsTakenOut()
{
    CProgressWindow window(m_bots.path(), DatabaseOf(m_bots));
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReviewing(), kReviewTimeoutMs);
    const QList<QPointF> results = Points(window.perGameChart(), QStringLiteral("Result (chips)"));
    const QList<QPointF> adjusted =
        Points(window.perGameChart(), QStringLiteral("All-in adjusted (chips)"));
    const QList<QPointF> chips = Points(window.gameChart(), QStringLiteral("Chips"));
    const QList<QPointF> line = Points(window.gameChart(), QStringLiteral("All-in adjusted"));
    const QStringList files = HistoryFiles(m_bots.path());
    QCOMPARE(adjusted.size(), files.size());
    QCOMPARE(line.size(), chips.size());
    int allIns = 0;
    for (int g = 0; g < files.size(); ++g) {
        history::Game game;
        std::string error;
        QVERIFY(history::ReadGameFile(files[g].toStdString(), game, error));
        double luck = 0;
        bool whole = true; // every hand's luck known to this check
        int point = 0;
        for (const history::Hand &hand : game.hands) {
            if (!hand.seats[0].inHand)
                continue;
            const std::optional<double> l = AllInLuck(hand, 0);
            whole = whole && l.has_value();
            luck += l.value_or(0);
            allIns += l.value_or(0) != 0;
            if (g + 1 == files.size() && whole) {
                QCOMPARE(line[point].x(), double(hand.number));
                QVERIFY2(qAbs(line[point].y() - chips[point].y() - luck) < 1e-6,
                         qPrintable(QStringLiteral("hand %1").arg(hand.number)));
            }
            ++point;
        }
        if (whole)
            QVERIFY(qAbs(adjusted[g].y() - results[g].y() - luck) < 1e-6);
    }
    QVERIFY(allIns > 0); // the games hold an all-in to check
}

void TestProgress::reviewShowsItsProgress()
{
    QTemporaryDir data; // a cache of its own: both games wait for review
    HeldFigure held;
    CProgressWindow window(m_bots.path(), DatabaseOf(data), nullptr, held.function());
    window.show();
    QTRY_COMPARE(ShownText(window, "reviewProgress"), QStringLiteral("Reviewing game 1 of 2…"));
    QVERIFY(window.isReviewing());
    auto *bar = window.findChild<QProgressBar *>(QStringLiteral("reviewBar"));
    QVERIFY(bar && bar->isVisible());
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->maximum(), 2);
    // The window answers while the review works: its tabs change.
    window.tabs()->setCurrentIndex(3);
    QCoreApplication::processEvents();
    QCOMPARE(window.tabs()->currentIndex(), 3);
    QVERIFY(Points(window.perGameChart(), QStringLiteral("Result (chips)")).isEmpty());

    held.release->store(true);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReviewing(), kReviewTimeoutMs);
    QVERIFY(!bar->isVisible());
    QVERIFY(ShownText(window, "reviewProgress").isEmpty());
    QCOMPARE(Points(window.perGameChart(), QStringLiteral("Result (chips)")).size(), 2);
}

void TestProgress::closingStopsTheReview()
{
    QTemporaryDir data;
    HeldFigure held;
    {
        CProgressWindow window(m_bots.path(), DatabaseOf(data), nullptr, held.function());
        window.show();
        QTRY_VERIFY(ShownText(window, "reviewProgress").startsWith(QStringLiteral("Reviewing")));
        QVERIFY(window.close());
        QVERIFY(!window.isReviewing());
        QTRY_COMPARE(held.stopped->load(), 1); // the worker was told, and left the game
        QCoreApplication::processEvents();
        QCOMPARE(held.calls->load(), 1); // and began no other
        QVERIFY(Points(window.perGameChart(), QStringLiteral("Result (chips)")).isEmpty());
        QVERIFY(!QFile::exists(ProgressCachePath(DatabaseOf(data))));

        // Opened again: the review takes up the games left.
        window.show();
        QTRY_COMPARE(held.calls->load(), 2);
        QVERIFY(window.isReviewing());
        QVERIFY(window.close());
    } // and the window goes while its worker is held: it is stopped and joined, no hang
    QCOMPARE(held.stopped->load(), 2);
}

void TestProgress::soundCacheIsReusedAtOnce()
{
    QTemporaryDir data;
    FillCache(m_bots.path(), DatabaseOf(data), kStandInLoss);
    CountingFigure counting;
    CProgressWindow window(m_bots.path(), DatabaseOf(data), nullptr, counting.function());
    // No event handled yet: everything comes from the cache.
    QVERIFY(!window.isReviewing());
    QCOMPARE(Points(window.perGameChart(), QStringLiteral("Result (chips)")).size(), 2);
    QCOMPARE(
        Points(window.perGameChart(), QStringLiteral("EV loss per 100 hands (bb, right scale)"))
            .size(),
        2);
    window.show();
    QCoreApplication::processEvents();
    QCOMPARE(counting.calls->load(), 0);
}

// The cache is trusted only for the file as it was: a game touched since is figured again.
void TestProgress::changedGameIsReviewedAgain()
{
    QTemporaryDir copy;
    QVERIFY(QDir().mkpath(QDir(copy.path()).filePath(QStringLiteral("HandHistory"))));
    for (const QString &file : HistoryFiles(m_bots.path())) {
        const QString target =
            QDir(copy.path()).filePath(QStringLiteral("HandHistory/") + QFileInfo(file).fileName());
        QVERIFY(QFile::copy(file, target));
    }
    CountingFigure counting;
    {
        CProgressWindow window(copy.path(), DatabaseOf(copy), nullptr, counting.function());
        QTRY_VERIFY_WITH_TIMEOUT(!window.isReviewing(), kReviewTimeoutMs);
    }
    QCOMPARE(counting.calls->load(), 2);
    const QStringList files = HistoryFiles(copy.path());
    QFile first(files.first());
    QVERIFY(first.open(QIODevice::ReadWrite));
    QVERIFY(first.setFileTime(first.fileTime(QFileDevice::FileModificationTime).addSecs(60),
                              QFileDevice::FileModificationTime));
    first.close();
    CProgressWindow window(copy.path(), DatabaseOf(copy), nullptr, counting.function());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReviewing(), kReviewTimeoutMs);
    QCOMPARE(counting.calls->load(), 3);
    QCOMPARE(Points(window.perGameChart(), QStringLiteral("Result (chips)")).size(), 2);
}

void TestProgress::badCacheIsIgnoredAndRewritten_data()
{
    QTest::addColumn<QString>("change"); // what is done to the sound cache's text
    QTest::addColumn<int>("reviews");    // games it leaves to review again
    QTest::newRow("cut short") << "cut" << 2;
    QTest::newRow("not json") << "binary" << 2;
    QTest::newRow("another program's json") << "foreign" << 2;
    QTest::newRow("a later version") << "version" << 2;
    QTest::newRow("a size that is text") << "size" << 1;
    QTest::newRow("hands below zero") << "hands" << 1;
    QTest::newRow("a loss of 1e300") << "loss" << 1;
    QTest::newRow("a reason of 4 MB") << "problem" << 1;
    QTest::newRow("more all-ins than hands") << "allIns" << 1;
    // Not files to read: they must neither block nor fill the memory.
    QTest::newRow("a FIFO") << "fifo" << 2;
    QTest::newRow("a link to /dev/zero") << "zero" << 2;
    QTest::newRow("past 16 MiB") << "huge" << 2;
}

void TestProgress::badCacheIsIgnoredAndRewritten()
{
    QFETCH(QString, change);
    QFETCH(int, reviews);
    QTemporaryDir data;
    const QString cache = ProgressCachePath(DatabaseOf(data));
    constexpr double kFirstLoss = 1.5; // the sound cache's mark, kStandInLoss the new review's
    FillCache(m_bots.path(), DatabaseOf(data), kFirstLoss);
    QByteArray text = ReadText(cache).toLatin1();
    QJsonObject top = QJsonDocument::fromJson(text).object();
    QJsonArray games = top[QStringLiteral("games")].toArray();
    QJsonObject game = games[0].toObject();
    if (change == QLatin1String("cut"))
        text.chop(text.size() / 3);
    else if (change == QLatin1String("binary"))
        text = QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11);
    else if (change == QLatin1String("foreign"))
        text = R"({"games": [], "format": "something else", "version": 1})";
    else if (change == QLatin1String("version"))
        top[QStringLiteral("version")] = top[QStringLiteral("version")].toInt() + 1;
    else if (change == QLatin1String("size"))
        game[QStringLiteral("size")] = QStringLiteral("12");
    else if (change == QLatin1String("hands"))
        game[QStringLiteral("hands")] = -3;
    else if (change == QLatin1String("loss"))
        game[QStringLiteral("evLossPer100")] = 1e300;
    else if (change == QLatin1String("problem"))
        game[QStringLiteral("problem")] = QString(4 << 20, QLatin1Char('x'));
    else if (change == QLatin1String("allIns"))
        game[QStringLiteral("allIns")] = QJsonArray(
            {QJsonArray{1, 0.5}, QJsonArray{2, 0.5}, QJsonArray{3, 0.5}, QJsonArray{4, 0.5}});
    if (change == QLatin1String("allIns"))
        game[QStringLiteral("hands")] = 3;
    if (text == ReadText(cache).toLatin1()) {
        games[0] = game;
        top[QStringLiteral("games")] = games;
        text = QJsonDocument(top).toJson();
    }
    if (change == QLatin1String("huge"))
        text.append(QByteArray(16 * 1024 * 1024, ' '));
    const QByteArray name = QFile::encodeName(cache);
    if (change == QLatin1String("fifo") || change == QLatin1String("zero")) {
        QVERIFY(QFile::remove(cache));
        QVERIFY(change == QLatin1String("fifo") ? ::mkfifo(name.constData(), 0600) == 0
                                                : ::symlink("/dev/zero", name.constData()) == 0);
    } else {
        QFile file(cache);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
    }

    CountingFigure counting;
    CProgressWindow window(m_bots.path(), DatabaseOf(data), nullptr, counting.function());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isReviewing(), kReviewTimeoutMs);
    QCOMPARE(counting.calls->load(), reviews);
    // The damaged entry (the first game's) is never shown: that game is reviewed afresh.
    const QList<QPointF> losses =
        Points(window.perGameChart(), QStringLiteral("EV loss per 100 hands (bb, right scale)"));
    QCOMPARE(losses.size(), 2);
    QCOMPARE(losses[0].y(), kStandInLoss);
    QCOMPARE(losses[1].y(), reviews == 2 ? kStandInLoss : kFirstLoss);
    // Written afresh: the next window needs no review at all.
    bool sound = false;
    QCOMPARE(ReadProgressCache(cache, &sound).size(), size_t(2));
    QVERIFY(sound);
    CountingFigure again;
    CProgressWindow next(m_bots.path(), DatabaseOf(data), nullptr, again.function());
    QVERIFY(!next.isReviewing());
    QCOMPARE(again.calls->load(), 0);
}

void TestProgress::cacheThatCannotBeWrittenIsDoneWithout()
{
    QTemporaryDir data;
    const QString database = QDir(data.path()).filePath(QStringLiteral("gone/PokerDB.db3"));
    CountingFigure counting;
    CProgressWindow window(m_bots.path(), database, nullptr, counting.function());
    QTRY_VERIFY(!window.isReviewing());
    QCOMPARE(Points(window.perGameChart(), QStringLiteral("Result (chips)")).size(), 2);
    QVERIFY(!QFile::exists(ProgressCachePath(database)));
    window.reload(); // reviewed again, with nothing worse than the time it takes
    QTRY_VERIFY(!window.isReviewing());
    QCOMPARE(counting.calls->load(), 4);
    QCOMPARE(Points(window.perGameChart(), QStringLiteral("Result (chips)")).size(), 2);
}

void TestProgress::chipsPerHandFollowTheHandHistory()
{
    CProgressWindow window(m_bots.path(),
                           QDir(m_bots.path()).filePath(QStringLiteral("PokerDB.db3")));
    window.show();
    QVERIFY(ShownText(window, "gameMessage").isEmpty());

    // The latest game's file: the chips after hand k are those that hand k + 1 starts with,
    // and the last point is the game's final stack.
    const QString text = ReadText(HistoryFiles(m_bots.path()).last());
    const QString seat0 = QString::fromStdString(m_botGames.back().seats[0].name);
    QList<QPointF> expected;
    QList<int> showdowns;
    const QStringList hands = text.split(QStringLiteral("Ostrivane Hand #"));
    for (int h = 1; h < hands.size(); ++h) {
        const QString &hand = hands[h];
        const int number = hand.section(QLatin1Char(':'), 0, 0).toInt();
        const QRegularExpressionMatch start =
            QRegularExpression(QStringLiteral("Seat 0: %1 \\((\\d+) in chips\\)")
                                   .arg(QRegularExpression::escape(seat0)))
                .match(hand);
        QVERIFY(start.hasMatch());
        const int chips = start.captured(1).toInt();
        if (!expected.isEmpty())
            expected.last().setY(chips);
        if (chips == 0)
            break; // busted: no more hands for the player
        expected << QPointF(number, 0);
        if (hand.contains(QStringLiteral("*** SUMMARY ***")))
            showdowns << number;
    }
    if (m_botGames.back().seats[0].finalStack > 0)
        expected.last().setY(m_botGames.back().seats[0].finalStack);
    QCOMPARE(Points(window.gameChart(), QStringLiteral("Chips")), expected);
    QList<int> marked;
    for (const QPointF &p : Points(window.gameChart(), QStringLiteral("Showdown")))
        marked << int(p.x());
    QCOMPARE(marked, showdowns);
    QVERIFY(!showdowns.isEmpty());
}

void TestProgress::balancesAndStatisticsFollowTheDatabase()
{
    const QString dbPath = QDir(m_bots.path()).filePath(QStringLiteral("PokerDB.db3"));
    CProgressWindow window(m_bots.path(), dbPath);
    window.show();
    QVERIFY(ShownText(window, "balanceMessage").isEmpty());

    // Every name's balances, straight from the file.
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
             SQLITE_OK);
    for (const char *name : {"Hero", "Master", "Tim", "Maniac", "Professor"}) {
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT Balance FROM Players WHERE Family_Name=? ORDER BY ROWID", -1,
                           &statement, nullptr);
        sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
        QList<QPointF> expected;
        while (sqlite3_step(statement) == SQLITE_ROW)
            expected << QPointF(expected.size() + 1, sqlite3_column_double(statement, 0));
        sqlite3_finalize(statement);
        QCOMPARE(expected.size(), 2);
        QCOMPARE(Points(window.balanceChart(), QString::fromLatin1(name)), expected);
    }
    sqlite3_close(db);
    // Seat 0's persona plays no other seat: its balance is seat 0's result over the two games.
    const QString seat0 = QString::fromLatin1(LedgerNameOfPersona(m_botGames[0].seats[0].persona));
    const int won = m_botGames[0].seats[0].finalStack - m_botGames[0].seats[0].startStack +
                    m_botGames[1].seats[0].finalStack - m_botGames[1].seats[0].startStack;
    QCOMPARE(Points(window.balanceChart(), seat0).last().y(), double(won));

    // Per game: the hands behind each figure and VPIP of the game's own hands, for the name
    // picked below the chart.
    window.tabs()->setCurrentIndex(2);
    auto *names = window.findChild<QComboBox *>(QStringLiteral("statisticsName"));
    QVERIFY(names->findText(QStringLiteral("Hero")) >= 0);
    names->setCurrentIndex(names->findText(seat0));
    QCoreApplication::processEvents();
    QVERIFY(window.statisticsChart()->chart()->title().contains(seat0));
    const QList<QPointF> hands =
        Points(window.statisticsChart(), QStringLiteral("Hands (right scale)"));
    QCOMPARE(hands.size(), 2);
    const CPokerStat &second = m_botGames[1].seats[0].stat;
    QCOMPARE(hands[1].y(), double(second.m_N));
    QCOMPARE(Points(window.statisticsChart(), QStringLiteral("VPIP %"))[1].y(),
             second.m_vpipOpportunities ? 100.0 * second.m_VPIP / second.m_vpipOpportunities : 0.0);
}

void TestProgress::badDatabasesGetAMessage()
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("PokerDB.db3"));
    CProgressWindow window(folder.path(), missing);
    window.show();
    QVERIFY(ShownText(window, "balanceMessage").contains(QStringLiteral("PokerDB.db3")));
    QVERIFY(ShownText(window, "statisticsMessage").contains(QStringLiteral("PokerDB.db3")));
    QVERIFY(!ShownText(window, "gameMessage").isEmpty());
    QVERIFY(window.balanceChart()->chart()->series().isEmpty());
    QVERIFY(!QFile::exists(missing)); // looking creates nothing

    // An empty database, as a first start leaves it.
    CPokerDatabase db;
    QVERIFY(OpenDatabase(db, folder.path().toStdString()));
    window.reload();
    QVERIFY(ShownText(window, "balanceMessage").contains(QStringLiteral("no saved game")));
    QVERIFY(window.balanceChart()->chart()->series().isEmpty());

    // Another program's text under the database's name.
    const QString text = folder.filePath(QStringLiteral("other.db3"));
    QFile other(text);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("Seat 0: Hero (1000 in chips)\r\n");
    other.close();
    CProgressWindow second(folder.path(), text);
    QVERIFY(
        ShownText(second, "balanceMessage").contains(QStringLiteral("not a Brisquel database")));
}

void TestProgress::savesChartsAsPng()
{
    CProgressWindow window(m_bots.path(),
                           QDir(m_bots.path()).filePath(QStringLiteral("PokerDB.db3")));
    window.resize(900, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTemporaryDir out;
    QString asked;
    window.m_askSavePath = [&](const QString &suggested) {
        asked = suggested;
        return out.filePath(suggested);
    };
    window.tabs()->setCurrentIndex(1);
    ClickButton(&window, "balanceSave");
    QCOMPARE(asked, QStringLiteral("balance-per-game.png"));
    QImage image(out.filePath(asked));
    QVERIFY(!image.isNull());
    QVERIFY(image.width() > 300);
    QVERIFY(ShownText(window, "balanceMessage").startsWith(QStringLiteral("Saved")));

    // A folder that does not exist: a message, no crash.
    window.m_askSavePath = [&](const QString &) {
        return out.filePath(QStringLiteral("no/such/folder/x.png"));
    };
    window.tabs()->setCurrentIndex(0);
    ClickButton(&window, "gameSave");
    QVERIFY(ShownText(window, "gameMessage").startsWith(QStringLiteral("Could not save")));
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 20261208);
    if (!app)
        return 1;
    TestProgress test;
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_progress.moc"
