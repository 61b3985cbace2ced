// The table view: seat layout, zoom, invalidation arithmetic and what a paint shows.

#include "engine/Game.h"
#include "ui/table_view/DunmereView.h"
#include "ui/table_view/SeatLayout.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>

namespace {

bool IsTableGreen(QRgb c)
{
    return qAbs(qRed(c) - 0x00) < 12 && qAbs(qGreen(c) - 0x64) < 12 && qAbs(qBlue(c) - 0x00) < 12;
}

bool IsBoxGrey(QRgb c)
{
    return qAbs(qRed(c) - 0x55) < 6 && qAbs(qGreen(c) - 0x55) < 6 && qAbs(qBlue(c) - 0x55) < 6;
}

// Card backs are blue; faces are cream, white, red or black.
bool IsBlueBack(QRgb c)
{
    return qBlue(c) > qRed(c) + 40 && qBlue(c) > qGreen(c) + 20;
}

// The average colour of a small square around p.
QRgb Average(const QImage &image, QPointF p, int half = 3)
{
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = int(p.y()) - half; y <= int(p.y()) + half; ++y)
        for (int x = int(p.x()) - half; x <= int(p.x()) + half; ++x) {
            const QRgb c = image.pixel(x, y);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
            ++n;
        }
    return qRgb(int(r / n), int(g / n), int(b / n));
}

// Collects what the widget really repaints, as a screen would show it.
struct PaintSpy : QObject
{
    QRegion painted;
    explicit PaintSpy(QWidget &widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

// Where the view puts seat s of a table of n seats.
SeatRects Placed(int n, int s)
{
    SeatRects rects[10];
    ComputeSeatRects(n, rects);
    return rects[s];
}

// A tournament table of n seats, each in the game with cards and a box, shown on screen.
void ShowTournament(CDunmereGame &game, int n)
{
    game.SetClock([] { return std::time_t(100000); });
    std::lock_guard<std::mutex> lock(game.StateMutex());
    CGameTable &t = game.m_table;
    t.m_seatCount = n;
    t.m_bigBlind = 20;
    game.m_windowReady = 1;
    game.m_levelSeconds = 300;
    game.m_levelCount = 10;
    game.m_levelStartTime = 100000;
    for (int s = 0; s < n; ++s) {
        t.m_inGame[s] = 1;
        t.m_stack[s] = 1500;
        t.m_cards[2 * s] = s;
        t.m_cards[2 * s + 1] = 13 + s;
        game.m_playerRects[s].m_visible = game.m_playerRects[s].m_showCards = 1;
    }
}

} // namespace

class TestTableView : public QObject
{
    Q_OBJECT

private slots:
    void layoutNineSeats_data();
    void layoutNineSeats();
    void layoutTwoSeatsAndBetsBesideTheBox();
    void zoom_data();
    void zoom();
    void invalidationCoversTheElement_data();
    void invalidationCoversTheElement();
    void aChangedPartRepaintsWhereTheViewPutsIt();
    void nothingDrawnBeforeTheWindowIsReady();
    void paintShowsBoxesCardsAndBoard();
    void avatarsFollowTheName();
    void statisticsBoxesAndToggle();
    void printsTheTable();
    void showdownHands_data();
    void showdownHands();
    void tournamentLine_data();
    void tournamentLine();
    void repaintsTheTournamentLineAndEveryHandShownDown();

private:
    QImage Render(CDunmereGame &game, CDunmereView &view)
    {
        QImage image(view.size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        std::lock_guard<std::mutex> lock(game.StateMutex());
        view.OnDraw(p, view.size(), view.logicalDpiX(), view.logicalDpiY());
        return image;
    }
    // A 3-seat table with everything in place, no engine thread.
    void SetUpTable(CDunmereGame &game, CDunmereView &view)
    {
        view.resize(700, 550);
        std::lock_guard<std::mutex> lock(game.StateMutex());
        game.m_table.m_seatCount = 3;
        game.m_windowReady = 1;
        const int cards[] = {12, 25, 38, 51, 0, 13}; // A clubs, A diamonds, ...
        for (int s = 0; s < 3; ++s) {
            CPlayerRect &r = game.m_playerRects[s];
            r.m_visible = 1;
            r.m_showCards = 1;
            r.m_nameText = s == 0 ? L"Hero_0" : (s == 1 ? L"Tim_1" : L"Nobody_2");
            r.m_stackText = L"1000";
            game.m_table.m_cards[2 * s] = cards[2 * s];
            game.m_table.m_cards[2 * s + 1] = cards[2 * s + 1];
        }
        for (int k = 20; k < 25; ++k)
            game.m_table.m_cards[k] = k - 10;
    }
};

void TestTableView::layoutNineSeats_data()
{
    QTest::addColumn<int>("seat");
    QTest::addColumn<QList<int>>("box");
    QTest::addColumn<QList<int>>("button");
    QTest::addColumn<QList<int>>("bet");
    QTest::addColumn<QList<int>>("cards");
    QTest::addColumn<QList<int>>("statistics");
    QTest::newRow("0") << 0 << QList<int>{-66, -172, 66, -132} << QList<int>{66, -132, 84, -114}
                       << QList<int>{-66, -127, -1, -109} << QList<int>{-66, -253, 20, -177}
                       << QList<int>{-66, -107, 64, -57};
    QTest::newRow("1") << 1 << QList<int>{-226, -194, -94, -154} << QList<int>{-94, -154, -76, -136}
                       << QList<int>{-226, -149, -161, -131} << QList<int>{-226, -275, -140, -199}
                       << QList<int>{-361, -204, -231, -154};
    QTest::newRow("2") << 2 << QList<int>{-376, -72, -244, -32} << QList<int>{-244, -32, -226, -14}
                       << QList<int>{-376, -27, -311, -9} << QList<int>{-376, -153, -290, -77}
                       << QList<int>{-511, -82, -381, -32};
    QTest::newRow("3") << 3 << QList<int>{-318, 116, -186, 156} << QList<int>{-186, 98, -168, 116}
                       << QList<int>{-318, 93, -253, 111} << QList<int>{-318, 161, -232, 237}
                       << QList<int>{-453, 106, -323, 156};
    QTest::newRow("4") << 4 << QList<int>{-141, 146, -9, 186} << QList<int>{-9, 128, 9, 146}
                       << QList<int>{-141, 123, -76, 141} << QList<int>{-141, 191, -55, 267}
                       << QList<int>{-146, 71, -16, 121};
    QTest::newRow("5") << 5 << QList<int>{8, 145, 140, 185} << QList<int>{-10, 127, 8, 145}
                       << QList<int>{13, 122, 78, 140} << QList<int>{8, 190, 94, 266}
                       << QList<int>{8, 70, 138, 120};
    QTest::newRow("6") << 6 << QList<int>{185, 117, 317, 157} << QList<int>{167, 99, 185, 117}
                       << QList<int>{190, 94, 255, 112} << QList<int>{185, 162, 271, 238}
                       << QList<int>{322, 107, 452, 157};
    QTest::newRow("7") << 7 << QList<int>{245, -71, 377, -31} << QList<int>{227, -31, 245, -13}
                       << QList<int>{245, -26, 310, -8} << QList<int>{245, -152, 331, -76}
                       << QList<int>{382, -81, 512, -31};
    QTest::newRow("8") << 8 << QList<int>{96, -194, 228, -154} << QList<int>{78, -154, 96, -136}
                       << QList<int>{96, -149, 161, -131} << QList<int>{96, -275, 182, -199}
                       << QList<int>{233, -204, 363, -154};
}

static QList<int> L(const TableRect &r)
{
    return {r.left, r.lower, r.right, r.upper};
}

void TestTableView::layoutNineSeats()
{
    QFETCH(int, seat);
    QFETCH(QList<int>, box);
    QFETCH(QList<int>, button);
    QFETCH(QList<int>, bet);
    QFETCH(QList<int>, cards);
    QFETCH(QList<int>, statistics);
    SeatRects rects[10];
    ComputeSeatRects(9, rects);
    const SeatRects &s = rects[seat];
    QCOMPARE(L(s.box), box);
    QCOMPARE(L(s.button), button);
    QCOMPARE(L(s.action), bet);
    QCOMPARE(L(s.cards), cards);
    QCOMPARE(L(s.statistics), statistics);
    QList<int> win = bet;
    win[2] += 10;
    QCOMPARE(L(s.win), win);
}

void TestTableView::layoutTwoSeatsAndBetsBesideTheBox()
{
    SeatRects two[10];
    ComputeSeatRects(2, two);
    QCOMPARE(L(two[0].box), (QList<int>{-66, -172, 66, -132}));
    // Seat 1 at the top centre (theta 270): no sideways shift.
    QCOMPARE(L(two[1].box), (QList<int>{-66, 132, 66, 172}));

    for (int n : {4, 8}) {
        SeatRects rects[10];
        ComputeSeatRects(n, rects);
        const int left = n / 4;      // theta 180
        const int right = 3 * n / 4; // theta 360
        const TableRect &lb = rects[left].box;
        const TableRect &rb = rects[right].box;
        // Beside the box, toward the centre, level with its top.
        QCOMPARE(L(rects[left].action),
                 (QList<int>{lb.right + 5, lb.upper - 18, lb.right + 70, lb.upper}));
        QCOMPARE(L(rects[right].action),
                 (QList<int>{rb.left - 70, rb.upper - 18, rb.left - 5, rb.upper}));
    }
}

void TestTableView::zoom_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<double>("expected");
    QTest::newRow("700x550") << 700 << 550 << 1.0;
    QTest::newRow("1400x550") << 1400 << 550 << 1.0;
    QTest::newRow("1400x1100") << 1400 << 1100 << 2.0;
    QTest::newRow("350x550") << 350 << 550 << 0.5;
    QTest::newRow("700x275") << 700 << 275 << 0.5;
}

void TestTableView::zoom()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(double, expected);
    QCOMPARE(TableZoom(w, h), expected);
    CDunmereGame game;
    CDunmereView view(game);
    view.resize(w, h);
    Render(game, view);
    QCOMPARE(view.Zoom(), expected);
}

void TestTableView::invalidationCoversTheElement_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("700x550") << 700 << 550;
    QTest::newRow("1190x620") << 1190 << 620;
    QTest::newRow("480x300") << 480 << 300;
}

void TestTableView::invalidationCoversTheElement()
{
    QFETCH(int, w);
    QFETCH(int, h);
    CDunmereGame game;
    CDunmereView view(game);
    view.resize(w, h);
    Render(game, view);
    SeatRects rects[10];
    ComputeSeatRects(9, rects);
    for (int s = 0; s < 9; ++s) {
        for (const TableRect &r : {rects[s].box, rects[s].cards, rects[s].statistics, kBoardRect}) {
            const QRect repainted = view.InvalidationRect(r);
            const QRectF drawn(view.ToDevice(r.left, r.upper), view.ToDevice(r.right, r.lower));
            QVERIFY2(QRectF(repainted).contains(drawn.adjusted(1, 1, -1, -1)),
                     qPrintable(QStringLiteral("seat %1").arg(s)));
            // Enlarged by 10 units, no more than a few pixels beyond that.
            const double margin = 10 * view.Zoom() * view.logicalDpiX() / 100.0;
            QVERIFY(repainted.width() <= drawn.width() + 2 * margin + 3);
        }
    }
}

void TestTableView::aChangedPartRepaintsWhereTheViewPutsIt()
{
    CDunmereGame game;
    CDunmereView view(game);
    game.m_table.m_seatCount = 9;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // The board, the first seat's cards, the last seat's box, and a seat not at the table.
    const std::pair<TablePart, int> changes[] = {{TablePart::Board, -1},
                                                 {TablePart::Cards, 0},
                                                 {TablePart::SeatBox, 8},
                                                 {TablePart::SeatBox, 9}};
    for (const auto &[part, seat] : changes) {
        QCoreApplication::processEvents();
        PaintSpy spy(view);
        view.Invalidate(part, seat);
        for (int i = 0; i < 3; ++i) // the queued hand-over, then the repaint it asks for
            QCoreApplication::processEvents();
        if (seat == 9)
            QVERIFY(spy.painted.isEmpty());
        else
            QTRY_VERIFY(spy.painted.contains(
                view.InvalidationRect(seat < 0 ? kBoardRect : AreaOf(part, Placed(9, seat)))));
    }
}

void TestTableView::nothingDrawnBeforeTheWindowIsReady()
{
    CDunmereGame game;
    CDunmereView view(game);
    SetUpTable(game, view);
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        game.m_windowReady = 0;
        game.m_potShown = 1;
    }
    const QImage image = Render(game, view);
    QCOMPARE(image.pixel(350, 260), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(10, 10), qRgb(255, 255, 255));
}

void TestTableView::paintShowsBoxesCardsAndBoard()
{
    CDunmereGame game;
    CDunmereView view(game);
    SetUpTable(game, view);
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        game.m_table.m_boardCount = 3; // dealt, but not shown yet
    }
    QImage image = Render(game, view);
    const auto at = [&](double x, double y) { return Average(image, view.ToDevice(x, y)); };
    const auto cardCentre = [&](int seat, int card) {
        const TableRect c = Placed(3, seat).cards;
        return at(c.left + 28 * card + (card == 0 ? 14 : 40), c.upper - 37);
    };

    // The oval table, and the boxes of all three seats.
    QVERIFY(IsTableGreen(at(0, 0)));
    for (int s = 0; s < 3; ++s) {
        const TableRect b = Placed(3, s).box;
        QVERIFY2(IsBoxGrey(image.pixel(view.ToDevice(b.left + 50, b.lower + 8).toPoint())),
                 qPrintable(QString::number(s)));
    }
    // The human's cards face up, the others' backs.
    QVERIFY(!IsBlueBack(cardCentre(0, 0)) && !IsBlueBack(cardCentre(0, 1)));
    QVERIFY(IsBlueBack(cardCentre(1, 0)) && IsBlueBack(cardCentre(1, 1)));
    QVERIFY(IsBlueBack(cardCentre(2, 1)));
    // The board only while it is shown.
    for (int k = 0; k < 3; ++k)
        QVERIFY(IsTableGreen(at(-180 + 71 * k + 35, -12)));

    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        game.m_boardShown = 1;
        game.m_playerRects[1].m_revealCards = 1;
        // The button draw: one card, face up, and no second card.
        game.m_table.m_cards[5] = -1;
    }
    image = Render(game, view);
    for (int k = 0; k < 3; ++k)
        QVERIFY(!IsTableGreen(at(-180 + 71 * k + 35, -12)) &&
                !IsBlueBack(at(-180 + 71 * k + 35, -12)));
    QVERIFY(IsTableGreen(at(-180 + 71 * 3 + 35, -12)));
    QVERIFY(!IsBlueBack(cardCentre(1, 0)) && !IsBlueBack(cardCentre(1, 1)));
    QVERIFY(!IsBlueBack(cardCentre(2, 0)));
    // Right of where a first card ends: nothing drawn over the felt.
    const TableRect c = Placed(3, 2).cards;
    const QRgb beside = Average(image, view.ToDevice(c.left + 70, c.upper - 37));
    QVERIFY(!IsBlueBack(beside));
    QVERIFY(qGreen(beside) > qRed(beside) && qGreen(beside) > qBlue(beside));

    // Hiding the cards leaves the table.
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        game.m_playerRects[1].m_showCards = 0;
    }
    image = Render(game, view);
    const QRgb hidden = cardCentre(1, 0);
    QVERIFY(qGreen(hidden) > qRed(hidden) + 20 && qGreen(hidden) > qBlue(hidden) + 20);
}

void TestTableView::avatarsFollowTheName()
{
    CDunmereGame game;
    CDunmereView view(game);
    SetUpTable(game, view);
    const QImage image = Render(game, view);
    const auto avatarCentre = [&](int seat) {
        const TableRect b = Placed(3, seat).box;
        return image.pixel(view.ToDevice(b.left + 22, b.upper - 21).toPoint());
    };
    QVERIFY(!IsBoxGrey(avatarCentre(0))); // "Hero_0" shows avatar "Hero"
    QVERIFY(!IsBoxGrey(avatarCentre(1))); // "Tim_1"
    QVERIFY(IsBoxGrey(avatarCentre(2)));  // "Nobody_2": no avatar
}

void TestTableView::statisticsBoxesAndToggle()
{
    CDunmereGame game;
    CDunmereView view(game);
    SetUpTable(game, view);
    const TableRect statRect = Placed(3, 0).statistics;
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        for (int s = 0; s < 3; ++s) {
            game.m_table.m_inGame[s] = 1;
            game.m_table.m_stack[s] = s == 2 ? 0 : 1000;
            game.m_table.m_players[s].m_stat.m_lines[0] = L"N=4";
        }
    }
    const auto statPixel = [&] {
        const QImage image = Render(game, view);
        return Average(image, view.ToDevice(statRect.right - 10, statRect.lower + 10));
    };
    const QRgb before = statPixel();
    game.ToggleStatistics();
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        QVERIFY(game.m_showStatistics);
        QCOMPARE(game.m_playerRects[0].m_statRect.m_visible, 1);
        QCOMPARE(game.m_playerRects[0].m_statRect.m_lines[0], std::wstring(L"N=4"));
        // A seat without chips gets no box.
        QCOMPARE(game.m_playerRects[2].m_statRect.m_visible, 0);
    }
    const QRgb shown = statPixel();
    // The translucent dark box darkens the table under it.
    QVERIFY(qGreen(shown) < qGreen(before) - 20);
    game.ToggleStatistics();
    QCOMPARE(statPixel(), before);
}

void TestTableView::printsTheTable()
{
    CDunmereGame game;
    CDunmereView view(game);
    SetUpTable(game, view);
    QTemporaryDir folder;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = folder.filePath(QStringLiteral("table.pdf"));
    printer.setOutputFileName(file);
    view.PrintTable(&printer);
    QVERIFY(QFileInfo(file).size() > 1000);
}

QTEST_MAIN(TestTableView)
#include "tst_table_view.moc"

void TestTableView::showdownHands_data()
{
    QTest::addColumn<bool>("showAll");
    QTest::addColumn<bool>("atShowdown");
    QTest::addColumn<bool>("faceUp");
    QTest::newRow("all shown, went to the showdown") << true << true << true;
    QTest::newRow("all shown, folded") << true << false << false;
    QTest::newRow("winners only, lost at the showdown") << false << true << false;
}

void TestTableView::showdownHands()
{
    QFETCH(bool, showAll);
    QFETCH(bool, atShowdown);
    QFETCH(bool, faceUp);
    CDunmereGame game;
    CDunmereView view(game);
    SetUpTable(game, view);
    view.SetShowAllAtShowdown(showAll);
    {
        std::lock_guard<std::mutex> lock(game.StateMutex());
        game.m_playerRects[1].m_revealCards = 1; // the winner
        game.m_playerRects[1].m_atShowdown = 1;
        game.m_playerRects[2].m_atShowdown = atShowdown ? 1 : 0;
    }
    const QImage image = Render(game, view);
    std::lock_guard<std::mutex> lock(game.StateMutex());
    for (int seat : {1, 2}) {
        const TableRect c = Placed(3, seat).cards;
        const bool expected = seat == 1 || faceUp;
        for (int card = 0; card < 2; ++card) {
            const QRgb centre = Average(
                image, view.ToDevice(c.left + 28 * card + (card == 0 ? 14 : 40), c.upper - 37));
            QCOMPARE(!IsBlueBack(centre), expected);
        }
    }
}

void TestTableView::tournamentLine_data()
{
    QTest::addColumn<int>("typeId");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("secondsPlayed");
    QTest::addColumn<QString>("line");
    // Seats 0-2 in the game with 1000, 2500 and 0 + a bet of 300 behind a pot of 200; seat 3 out.
    QTest::newRow("fixed blinds") << 0 << 0 << 0 << QString();
    QTest::newRow("first level")
        << 3 << 0 << 30
        << QStringLiteral("Level 1 · blinds 10/20 · next level in 5 min · 3 players left · "
                          "average stack 1333");
    QTest::newRow("time up") << 3 << 2 << 4000
                             << QStringLiteral(
                                    "Level 3 · blinds 10/20 ante 5 · next level from "
                                    "the next hand · 3 players left · average stack 1333");
    QTest::newRow("last level") << 3 << 9 << 0
                                << QStringLiteral("Level 10 · blinds 10/20 ante 5 · last level · 3 "
                                                  "players left · average stack 1333");
}

void TestTableView::tournamentLine()
{
    QFETCH(int, typeId);
    QFETCH(int, level);
    QFETCH(int, secondsPlayed);
    QFETCH(QString, line);
    CDunmereGame game;
    game.SetClock([] { return std::time_t(100000); });
    std::lock_guard<std::mutex> lock(game.StateMutex());
    CGameTable &t = game.m_table;
    t.m_seatCount = 4;
    const int stacks[] = {1000, 2500, 0, 0};
    for (int s = 0; s < 4; ++s) {
        t.m_stack[s] = stacks[s];
        t.m_inGame[s] = s < 3 ? 1 : 0;
    }
    t.m_bet[2] = 300;
    t.m_pot = 200;
    t.m_smallBlind = 10;
    t.m_bigBlind = 20;
    t.m_ante = level > 0 ? 5 : 0;
    game.m_gameTypeId = typeId;
    game.m_levelSeconds = typeId ? 5 * 60 : 0;
    game.m_levelIndex = level;
    game.m_levelCount = 10;
    game.m_levelStartTime = 100000 - secondsPlayed;
    QCOMPARE(TournamentLine(game), line);
    QCOMPARE(QString::fromStdWString(SnapshotOfGame(game).tournamentText), line);
}

// On screen, without a resize: the tournament line after a new level and a bust, clear of every
// seat's box and cards; at a showdown every hand shown down, a busted player's as well.
void TestTableView::repaintsTheTournamentLineAndEveryHandShownDown()
{
    for (const QSize size : {QSize(1020, 420), QSize(1600, 700)}) {
        const int seats = size.width() > 1500 ? 10 : 9;
        CDunmereGame game;
        CDunmereView view(game);
        game.SetScreen(&view);
        view.resize(size);
        ShowTournament(game, seats);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        PaintSpy spy(view);
        QTRY_VERIFY(!spy.painted.isEmpty());
        std::unique_lock<std::mutex> lock(game.StateMutex());
        for (int s = 0; s < seats; ++s) {
            for (const TableRect &r : {Placed(seats, s).box, Placed(seats, s).cards})
                QVERIFY2(view.ToDevice(r.left, r.upper).y() >= kInfoBandHeight,
                         qPrintable(QString::number(s)));
        }
        spy.painted = QRegion();
        game.m_levelIndex = 1;
        game.m_table.m_bigBlind = 30;
        game.m_table.m_inGame[1] = 0;
        lock.unlock();
        view.Invalidate(TablePart::Pot, -1); // the next hand's first change at the table
        QTRY_VERIFY(spy.painted.contains(QRect(0, 0, view.width(), kInfoBandHeight)));

        spy.painted = QRegion();
        lock.lock();
        game.m_table.m_folded[0] = true;
        game.m_table.m_stack[2] = 0; // all in and beaten: out of the game
        for (int k = 20; k < 25; ++k)
            game.m_table.m_cards[k] = 30 + k;
        int winnings[10] = {0, 3000};
        game.PayOut(winnings, lock);
        QCOMPARE(game.m_table.m_inGame[2], 0);
        const TableRect loser = Placed(seats, 2).cards;
        lock.unlock();
        QTRY_VERIFY(spy.painted.contains(QRect(view.ToDevice(loser.left, loser.upper).toPoint(),
                                               view.ToDevice(loser.right, loser.lower).toPoint())));
    }
}
