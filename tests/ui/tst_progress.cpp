// The Progress window: its charts follow the hand histories and the ledger of real games, and
// missing, empty or foreign databases get a message instead of a chart.

#include "ui/review/ProgressWindow.h"
#include "tests/ui/ReviewFixtures.h"
#include "tests/ui/TestApp.h"

#include <QComboBox>
#include <QImage>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

#include <sqlite3.h>

class TestProgress : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
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
    QVERIFY(ShownText(second, "balanceMessage").contains(QStringLiteral("not a Brisquel database")));
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
