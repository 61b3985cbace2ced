#include "ui/table_view/DunmereView.h"

#include "engine/Game.h"
#include "pokerlib/CardCodes.h"
#include "ui/table_view/SeatLayout.h"
#include "ui/table_view/TablePainter.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kInvalidateMargin = 10;

} // namespace

CDunmereView::CDunmereView(CDunmereGame &game, QWidget *parent)
    : QWidget(parent)
    , m_game(game)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    setFocusPolicy(Qt::ClickFocus);
    // Queued signals rather than queued lambdas: Qt allocates the event itself, and the data
    // travels under the pending mutex, so the hand-over is visible to ThreadSanitizer.
    connect(this, &CDunmereView::invalidationsPending, this, &CDunmereView::FlushInvalidations,
            Qt::QueuedConnection);
    connect(this, &CDunmereView::waitCursorPending, this, &CDunmereView::ApplyWaitCursor,
            Qt::QueuedConnection);
    // The time to the next level counts down while nothing else moves at the table.
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &CDunmereView::RefreshInfoLine);
    clock->start(kInfoLineRefreshMs);
}

void CDunmereView::InvalidateAll()
{
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        m_pendingAll = true;
        if (m_flushPosted)
            return;
        m_flushPosted = true;
    }
    emit invalidationsPending();
}

void CDunmereView::RefreshInfoLine()
{
    QString line;
    {
        auto lock = m_game.LockState();
        line = TournamentLine(m_game);
    }
    // A line that appears or goes moves the table: all of it is drawn again.
    if (line.isEmpty() != m_paintedInfo.isEmpty())
        update();
    else if (line != m_paintedInfo)
        update(0, 0, width(), m_topBand);
}

void CDunmereView::Invalidate(TablePart part, int seat)
{
    // The changed parts are collected and handed to the UI thread in one queued call per batch,
    // so that a game without pauses cannot flood the event queue.
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        if (m_pending.size() < kMaxPendingRects)
            m_pending.push_back({part, seat});
        else
            m_pendingAll = true;
        post = !m_flushPosted;
        m_flushPosted = true;
    }
    if (post)
        emit invalidationsPending();
}

void CDunmereView::FlushInvalidations()
{
    std::vector<PendingArea> areas;
    bool all = false;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        areas.swap(m_pending);
        all = m_pendingAll;
        m_pendingAll = false;
        m_flushPosted = false;
    }
    if (all) {
        update();
        return;
    }
    int seats = 0;
    {
        auto lock = m_game.LockState();
        seats = std::min(m_game.m_table.m_seatCount, 10);
    }
    SeatRects rects[brisquel::kMaxSeats];
    ComputeSeatRects(seats, rects);
    // Placed for the seat count of now: a game that starts with another one repaints it all.
    for (const PendingArea &area : areas) {
        const bool atTable = area.seat >= 0 && area.seat < seats;
        if (atTable || area.part == TablePart::Board || area.part == TablePart::Pot)
            update(InvalidationRect(AreaOf(area.part, rects[atTable ? area.seat : 0])));
    }
    // The level, the blinds and the players left change with the hands, not with any seat's
    // rectangle.
    RefreshInfoLine();
}

void CDunmereView::SetWaitCursor(bool on)
{
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        m_pendingWaitCursor.push_back(on);
    }
    emit waitCursorPending();
}

void CDunmereView::ApplyWaitCursor()
{
    std::vector<bool> requests;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        requests.swap(m_pendingWaitCursor);
    }
    if (requests.empty())
        return;
    for (const bool on : requests)
        m_waitCursorDepth = std::max(0, m_waitCursorDepth + (on ? 1 : -1));
    if (m_waitCursorDepth > 0)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

QPointF CDunmereView::ToDevice(double x, double y) const
{
    return TableToDevice(PaintArea(size(), logicalDpiX(), logicalDpiY()), m_zoom, x, y);
}

QRect CDunmereView::InvalidationRect(const TableRect &rect) const
{
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const int halfW = width() / 2;
    const int halfH = (height() - m_topBand) / 2;
    const auto scaled = [this](int v) { return static_cast<int>(v * m_zoom); };
    const int l = scaled(rect.left - kInvalidateMargin);
    const int lo = scaled(rect.lower - kInvalidateMargin);
    const int r = scaled(rect.right + kInvalidateMargin);
    const int up = scaled(rect.upper + kInvalidateMargin);
    const auto devX = [&](int x) {
        return static_cast<int>(std::lround((x + halfW) * dpiX / 100.0));
    };
    const auto devY = [&](int y) {
        return static_cast<int>(std::lround((halfH - y) * dpiY / 100.0)) + m_topBand;
    };
    int x1 = devX(l), x2 = devX(r), y1 = devY(up), y2 = devY(lo);
    if (x1 > x2)
        std::swap(x1, x2);
    if (y1 > y2)
        std::swap(y1, y2);
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

void CDunmereView::paintEvent(QPaintEvent *)
{
    // The lock is held only while the snapshot is taken, not while painting.
    TableSnapshot table;
    {
        auto lock = m_game.LockState();
        table = SnapshotOfGame(m_game, m_showAllAtShowdown);
    }
    const bool bandChanged = TopBandFor(table) != m_topBand;
    m_topBand = TopBandFor(table);
    m_paintedInfo = QString::fromStdWString(table.tournamentText);
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_zoom = PaintTable(painter, table, PaintArea(size(), logicalDpiX(), logicalDpiY()));
    if (bandChanged)
        update(); // the table moved: the parts outside this paint's region too
}

int CDunmereView::TopBandFor(const TableSnapshot &table)
{
    return table.tournamentText.empty() ? 0 : kInfoBandHeight;
}

TablePaintArea CDunmereView::PaintArea(QSize client, double dpiX, double dpiY) const
{
    return {client, dpiX, dpiY, double(logicalDpiX()), double(logicalDpiY()), m_topBand};
}

void CDunmereView::OnDraw(QPainter &painter, QSize clientSize, double dpiX, double dpiY)
{
    m_zoom = PaintTable(painter, SnapshotOfGame(m_game, m_showAllAtShowdown),
                        PaintArea(clientSize, dpiX, dpiY));
}

void CDunmereView::contextMenuEvent(QContextMenuEvent *event)
{
    // The "Edit" menu of the table: the view handles none of its commands.
    QMenu menu(tr("Edit"), this);
    for (const char *text : {QT_TR_NOOP("Cu&t"), QT_TR_NOOP("&Copy"), QT_TR_NOOP("&Paste")})
        menu.addAction(tr(text))->setEnabled(false);
    menu.exec(event->globalPos());
}

void CDunmereView::PrintTable(QPrinter *printer)
{
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    TableSnapshot table;
    {
        auto lock = m_game.LockState();
        table = SnapshotOfGame(m_game, m_showAllAtShowdown);
    }
    m_zoom = PaintTable(painter, table,
                        PaintArea(size(), printer->logicalDpiX(), printer->logicalDpiY()));
}

QString TournamentLine(const CDunmereGame &game)
{
    if (game.m_levelSeconds <= 0 || game.m_table.m_seatCount <= 0)
        return {};
    const CGameTable &t = game.m_table;
    int left = 0;
    long long chips = 0;
    for (int s = 0; s < std::min(t.m_seatCount, 10); ++s) {
        if (t.m_inGame[s] != 0) {
            ++left;
            chips += t.m_stack[s] + t.m_bet[s];
        }
    }
    chips += t.m_pot;
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("CDunmereView", text);
    };
    QString line = tr("Level %1 · blinds %2/%3")
                       .arg(game.m_levelIndex + 1)
                       .arg(t.m_smallBlind)
                       .arg(t.m_bigBlind);
    if (t.m_ante > 0)
        line += tr(" ante %1").arg(t.m_ante);
    // Levels change with the clock, at the first hand after the time is up.
    if (game.m_levelIndex + 1 < game.m_levelCount) {
        const long long rest = game.m_levelStartTime + game.m_levelSeconds - game.Now();
        line += rest > 0 ? tr(" · next level in %1 min").arg((rest + 59) / 60)
                         : tr(" · next level from the next hand");
    } else {
        line += tr(" · last level");
    }
    line += tr(" · %1 players left · average stack %2").arg(left).arg(left > 0 ? chips / left : 0);
    return line;
}

void CDunmereView::SetShowAllAtShowdown(bool on)
{
    m_showAllAtShowdown = on;
    update();
}

TableSnapshot SnapshotOfGame(const CDunmereGame &game, bool showAllAtShowdown)
{
    TableSnapshot table;
    const CGameTable &t = game.m_table;
    table.ready = game.m_windowReady != 0;
    table.seatCount = std::min(t.m_seatCount, 10);
    for (int i = 0; i < table.seatCount; ++i) {
        const CPlayerRect &box = game.m_playerRects[i];
        SeatSnapshot &seat = table.seats[i];
        seat.visible = box.m_visible != 0;
        seat.hasButton = box.m_hasButton != 0;
        seat.showAction = box.m_showAction != 0;
        seat.showCards = box.m_showCards != 0;
        // The player at seat 0 always sees his own cards.
        seat.faceUp =
            i == 0 || box.m_revealCards != 0 || (showAllAtShowdown && box.m_atShowdown != 0);
        seat.showWin = box.m_showWin != 0;
        seat.name = box.m_nameText;
        seat.stack = box.m_stackText;
        seat.action = box.m_actionText;
        seat.win = box.m_winText;
        seat.cards[0] = t.m_cards[2 * i];
        seat.cards[1] = t.m_cards[2 * i + 1];
        seat.statisticsVisible = box.m_statRect.m_visible != 0;
        for (int line = 0; line < 4; ++line)
            seat.statisticsLines[line] = box.m_statRect.m_lines[line];
    }
    table.boardShown = game.m_boardShown != 0;
    table.boardCount = std::min(t.m_boardCount, 5);
    for (int k = 0; k < 5; ++k)
        table.board[k] = t.m_cards[brisquel::kBoardFirst + k];
    table.potShown = game.m_potShown != 0;
    table.potText = game.m_potText;
    PlaceTable(table);
    table.tournamentText = TournamentLine(game).toStdWString();
    return table;
}
