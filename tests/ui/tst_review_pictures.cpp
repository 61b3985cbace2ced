// Pictures of the review windows for the README, from six bot games; BRISQUEL_SHOTS names
// their folder. Without it they are taken all the same, into a folder that goes, so that the
// suite sees both windows drawn and saved.

#include "opponents/BotGame.h"
#include "storage/PokerTables.h"
#include "storage/SessionSave.h"
#include "tests/ui/ReviewFixtures.h"
#include "tests/ui/TestApp.h"
#include "ui/review/HandsWindow.h"
#include "ui/review/ProgressWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestReviewPictures : public QObject
{
    Q_OBJECT
private slots:
    void screenshots();
};

void TestReviewPictures::screenshots()
{
    QTemporaryDir scratch;
    const QString shots = qEnvironmentVariable("BRISQUEL_SHOTS", scratch.path());
    QTemporaryDir folder;
    for (std::uint64_t seed = 31; seed < 37; ++seed) {
        CPokerDatabase db;
        QVERIFY(OpenDatabase(db, folder.path().toStdString()));
        BotGameOptions options;
        options.names = DefaultBotNames(6);
        options.stacks.assign(6, 1000);
        options.lastHand = 60;
        options.seed = seed;
        options.outputFolder = folder.path().toStdString();
        options.saveResults = [&db](CDunmereGame &game) { SaveSessionResults(db, game); };
        RunBotGame(options);
    }
    CHandsWindow hands(folder.path());
    hands.resize(1480, 760); // its default size
    hands.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hands));
    hands.reload();
    // A hand that went to the river, shown on the turn with bets in front if it has any.
    const auto &all = hands.game().hands;
    int row = 0;
    for (size_t h = 0; h < all.size(); ++h) {
        if (all[h].showdown && all[h].board.size() == 5 && all[h].actions.size() > 10) {
            row = static_cast<int>(h);
            break;
        }
    }
    hands.selectRow(row);
    QTRY_VERIFY_WITH_TIMEOUT(hands.verdictsReady(), 120000);
    // The player's last decision of the hand, with the coach's verdict under the table.
    ClickButton(&hands, "last");
    auto *coach = hands.findChild<QLabel *>(QStringLiteral("coach"));
    for (int back = 0; back < 40 && coach->text().isEmpty() && hands.step() > 0; ++back)
        ClickButton(&hands, "back");
    QTest::qWait(200);
    QVERIFY(hands.grab().save(QDir(shots).filePath(QStringLiteral("review-hands.png"))));
    // A remark on the dark style: a copy of the game cut off inside a hand.
    QFile whole(hands.game().historyPath.c_str());
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray text = whole.readAll();
    const QString cut = QDir(shots).filePath(QStringLiteral("HH_cut.txt"));
    QFile out(cut);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text.left(text.lastIndexOf("*** FLOP ***")));
    out.close();
    hands.openFile(cut);
    QTest::qWait(200);
    QVERIFY(hands.grab().save(QDir(shots).filePath(QStringLiteral("review-remark.png"))));
    QFile::remove(cut);

    CProgressWindow progress(folder.path(),
                             QDir(folder.path()).filePath(QStringLiteral("PokerDB.db3")));
    progress.resize(1000, 650);
    progress.show();
    QVERIFY(QTest::qWaitForWindowExposed(&progress));
    if (progress.isReviewing()) {
        progress.tabs()->setCurrentIndex(3);
        QTest::qWait(200);
        QVERIFY(
            progress.grab().save(QDir(shots).filePath(QStringLiteral("progress-reviewing.png"))));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isReviewing(), 300000);
    const char *const kNames[] = {"progress-game.png", "progress-balance.png",
                                  "progress-statistics.png", "progress-coach.png"};
    for (int tab = 0; tab < 4; ++tab) {
        progress.tabs()->setCurrentIndex(tab);
        QTest::qWait(200);
        QVERIFY(progress.grab().save(QDir(shots).filePath(QLatin1String(kNames[tab]))));
    }
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 20261208);
    if (!app)
        return 1;
    TestReviewPictures test;
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_review_pictures.moc"
