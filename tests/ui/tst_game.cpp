// A whole game between computer opponents, driven through the ribbon's commands with no pauses:
// at least 50 hands, the table drawn where the layout puts every seat, stopped by the command.

#include "tests/ui/TestApp.h"
#include "ui/app/CloseGuard.h"
#include "ui/app/DunmereApp.h"
#include "ui/app/MainFrame.h"
#include "ui/pictures/Pictures.h"
#include "ui/review/GameSummaryWindow.h"
#include "ui/setup_dialog/DialogTable.h"
#include "ui/setup_dialog/ListCtrlEx.h"
#include "ui/table_view/DunmereView.h"

#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr int kHandsToPlay = 50;
constexpr int kSeats = 9;
constexpr int kStack = 20000;

bool IsTableGreen(QRgb c)
{
    return qAbs(qRed(c)) < 14 && qAbs(qGreen(c) - 0x64) < 14 && qAbs(qBlue(c)) < 14;
}

bool IsBoxGrey(QRgb c)
{
    return qAbs(qRed(c) - 0x55) < 8 && qAbs(qGreen(c) - 0x55) < 8 && qAbs(qBlue(c) - 0x55) < 8;
}

bool IsBlueBack(QRgb c)
{
    return qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c) + 20;
}

bool IsGreenish(QRgb c)
{
    return qGreen(c) > qRed(c) + 15 && qGreen(c) > qBlue(c) + 15;
}

QRgb Average(const QImage &image, QPointF p)
{
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = int(p.y()) - 2; y <= int(p.y()) + 2; ++y)
        for (int x = int(p.x()) - 2; x <= int(p.x()) + 2; ++x) {
            const QRgb c = image.pixel(x, y);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
            ++n;
        }
    return qRgb(int(r / n), int(g / n), int(b / n));
}

// What a paint of the view must show for the state it was painted from (lock held).
void CheckPicture(const QImage &image, const CDunmereView &view, const CDunmereGame &game,
                  int &cardsChecked, int &boardsChecked)
{
    const CGameTable &t = game.m_table;
    const TableSnapshot table = SnapshotOfGame(game);
    const auto at = [&](double x, double y) { return Average(image, view.ToDevice(x, y)); };
    for (int s = 0; s < t.m_seatCount; ++s) {
        const CPlayerRect &r = game.m_playerRects[s];
        if (r.m_visible) {
            const TableRect &b = table.seats[s].boxRect;
            const QRgb box = image.pixel(view.ToDevice(b.left + 50, b.lower + 8).toPoint());
            QVERIFY2(IsBoxGrey(box), qPrintable(QStringLiteral("box of seat %1").arg(s)));
        }
        if (r.m_showCards && t.m_cards[2 * s] >= 0 && t.m_cards[2 * s + 1] >= 0) {
            const TableRect &c = table.seats[s].cardsRect;
            // The visible left part of the first card, and the second card.
            const QRgb first = at(c.left + 14, c.upper - 37);
            const QRgb second = at(c.left + 56, c.upper - 37);
            QVERIFY2(!IsGreenish(first) && !IsGreenish(second),
                     qPrintable(QStringLiteral("cards of seat %1").arg(s)));
            // With "Show all hands at showdown" (on by default) the losers' hands too.
            const bool faces =
                s == 0 || r.m_revealCards || (view.ShowAllAtShowdown() && r.m_atShowdown);
            QCOMPARE(IsBlueBack(first), !faces);
            QCOMPARE(IsBlueBack(second), !faces);
            ++cardsChecked;
        }
    }
    if (game.m_boardShown) {
        const TableRect &b = table.boardRect;
        for (int k = 0; k < 5; ++k) {
            const QRgb c = at(b.left + 71 * k + 35, b.upper - 47);
            if (k < t.m_boardCount)
                QVERIFY2(!IsGreenish(c) && !IsBlueBack(c), qPrintable(QString::number(k)));
            else
                QVERIFY2(IsTableGreen(c), qPrintable(QString::number(k)));
        }
        ++boardsChecked;
    }
}

// What the view draws from, copied at the end of a hand.
struct Snapshot
{
    CPlayerRect rects[10];
    int seatCount = 0;
    int cards[25] = {};
    int boardCount = 0;
    int boardShown = 0;
    int potShown = 0;
    std::wstring potText;

    static Snapshot Of(const CDunmereGame &g)
    {
        Snapshot s;
        for (int i = 0; i < 10; ++i)
            s.rects[i] = g.m_playerRects[i];
        s.seatCount = g.m_table.m_seatCount;
        std::copy(std::begin(g.m_table.m_cards), std::end(g.m_table.m_cards), s.cards);
        s.boardCount = g.m_table.m_boardCount;
        s.boardShown = g.m_boardShown;
        s.potShown = g.m_potShown;
        s.potText = g.m_potText;
        return s;
    }
    void ApplyTo(CDunmereGame &g) const
    {
        for (int i = 0; i < 10; ++i)
            g.m_playerRects[i] = rects[i];
        g.m_table.m_seatCount = seatCount;
        std::copy(std::begin(cards), std::end(cards), g.m_table.m_cards);
        g.m_table.m_boardCount = boardCount;
        g.m_boardShown = boardShown;
        g.m_potShown = potShown;
        g.m_potText = potText;
        g.m_windowReady = 1;
    }
};

} // namespace

class TestGame : public QObject
{
    Q_OBJECT
public:
    explicit TestGame(CDunmereApp &app)
        : m_app(app)
    {}

private slots:
    void botGameOfFiftyHands();

private:
    CDunmereApp &m_app;
};

void TestGame::botGameOfFiftyHands()
{
    CMainFrame &frame = *m_app.MainFrame();
    CDunmereGame &game = m_app.Game();
    CDunmereView &view = *frame.view();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.m_runSetupDialog = [](CDialogTable &dialog) {
        dialog.seatList()->SetCellText(0, 1, QStringLiteral("Master"));
        for (int row = 0; row < kSeats; ++row)
            dialog.seatList()->SetCellText(row, 2, QString::number(kStack));
        dialog.okButton()->click();
        return dialog.result();
    };
    frame.ExecuteCommand(ID_START_GAME);
    QVERIFY(frame.action(ID_WHO_IS_ON_BUTTON)->isEnabled());
    // The game thread plays hundreds of hands a second. At every tenth hand's end it parks
    // with the state unlocked, so that the test sees the table at a known hand and issues the
    // stop command through the ribbon exactly at the 50th.
    std::vector<Snapshot> snapshots;
    std::mutex parkMutex;
    std::condition_variable parkCv;
    int parkedHand = 0;
    bool released = false;
    game.m_onHandEnd = [&](CDunmereGame &g) {
        snapshots.push_back(Snapshot::Of(g));
        const int hand = g.m_handNumber;
        if (hand % 10 != 0 || hand > kHandsToPlay)
            return;
        g.StateMutex().unlock();
        {
            std::unique_lock<std::mutex> lock(parkMutex);
            parkedHand = hand;
            released = false;
            parkCv.notify_all();
            parkCv.wait(lock, [&] { return released; });
        }
        g.StateMutex().lock();
    };
    const auto release = [&] {
        std::lock_guard<std::mutex> lock(parkMutex);
        released = true;
        parkCv.notify_all();
    };
    // A failing check must not leave the game thread parked.
    const std::unique_ptr<void, std::function<void(void *)>> releaseOnExit(
        &parkMutex, [&](void *) { release(); });
    const auto parkedAt = [&] {
        std::lock_guard<std::mutex> lock(parkMutex);
        return released ? 0 : parkedHand;
    };

    frame.ExecuteCommand(ID_WHO_IS_ON_BUTTON);
    frame.ExecuteCommand(ID_STATISTICS);
    int cardsChecked = 0;
    int boardsChecked = 0;
    for (int hand = 10; hand <= kHandsToPlay; hand += 10) {
        QTRY_COMPARE_WITH_TIMEOUT(parkedAt(), hand, 120000);
        QVERIFY(!frame.action(ID_START_GAME)->isEnabled());
        QVERIFY(!frame.action(ID_WHO_IS_ON_BUTTON)->isEnabled());
        QTRY_VERIFY(frame.action(ID_STOP_GAME)->isEnabled());
        const QImage shot = view.grab().toImage();
        // For a look at the program: BRISQUEL_SCREENSHOTS=<folder> keeps the window's pictures.
        if (const QString folder = qEnvironmentVariable("BRISQUEL_SCREENSHOTS"); !folder.isEmpty())
            frame.grab().save(QStringLiteral("%1/hand%2.png").arg(folder).arg(hand));
        {
            std::lock_guard<std::mutex> lock(game.StateMutex());
            QCOMPARE(game.m_handNumber, hand);
            CheckPicture(shot, view, game, cardsChecked, boardsChecked);
            for (int s = 0; s < game.m_table.m_seatCount; ++s) {
                if (game.m_table.m_inGame[s] && game.m_table.m_stack[s] > 0)
                    QCOMPARE(game.m_playerRects[s].m_statRect.m_visible, 1);
            }
        }
        if (QTest::currentTestFailed())
            return;
        if (hand == kHandsToPlay) {
            frame.ExecuteCommand(ID_STOP_GAME);
            QVERIFY(!frame.action(ID_STOP_GAME)->isEnabled());
        }
        release();
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_app.CloseRequests() == 1, 60000);
    QTRY_VERIFY(!game.GameThreadRunning());
    // The summary of the game first; closing it closes the program's window.
    QTRY_VERIFY(frame.closeGuard()->summary() && frame.closeGuard()->summary()->isVisible());
    QVERIFY(frame.isVisible());
    frame.closeGuard()->summary()->close();
    QTRY_VERIFY(!frame.isVisible());
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        // Stopped by the command after the hand in progress, not because one player was left.
        QCOMPARE(game.m_handNumber, kHandsToPlay);
        int playersLeft = 0;
        for (int s = 0; s < game.m_table.m_seatCount; ++s)
            playersLeft += game.m_table.m_inGame[s] != 0;
        QVERIFY(playersLeft > 1);
    }
    qInfo("window grabs: %d with hole cards, %d with a board", cardsChecked, boardsChecked);

    // Every hand's end as the table showed it, painted again and checked.
    CDunmereGame replica;
    CDunmereView replicaView(replica);
    replicaView.resize(view.size());
    cardsChecked = boardsChecked = 0;
    QVERIFY(snapshots.size() >= size_t(kHandsToPlay));
    for (const Snapshot &snap : snapshots) {
        QImage image(view.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        std::lock_guard<std::mutex> lock(replica.StateMutex());
        snap.ApplyTo(replica);
        replicaView.OnDraw(painter, replicaView.size(), replicaView.logicalDpiX(),
                           replicaView.logicalDpiY());
        painter.end();
        CheckPicture(image, replicaView, replica, cardsChecked, boardsChecked);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d hand ends, %d with hole cards, %d with a board", int(snapshots.size()), cardsChecked,
          boardsChecked);
    QVERIFY(cardsChecked > 0);
    QVERIFY(boardsChecked > 0);

    std::lock_guard<std::mutex> lock(game.StateMutex());
    long long chips = 0, startChips = 0;
    for (int s = 0; s < game.m_table.m_seatCount; ++s) {
        chips += game.m_table.m_stack[s];
        startChips += game.m_table.m_startStack[s];
        QVERIFY(game.m_table.m_stack[s] >= 0);
    }
    QCOMPARE(chips, startChips);
    QVERIFY(QFile::exists(QStringLiteral("PokerDB.db3")));
    QVERIFY(!QDir(QStringLiteral("HandHistory")).entryList(QDir::Files).isEmpty());
}

int main(int argc, char **argv)
{
    QTemporaryDir folder;
    const auto app = StartTestApp(argc, argv, folder, 424242);
    if (!app)
        return 1;
    TestGame test(*app);
    const int result = QTest::qExec(&test, argc, argv);
    app->ExitInstance();
    return result;
}

#include "tst_game.moc"
