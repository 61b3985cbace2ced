#include "DunmereView.h"

#include "Game.h"
#include "Pictures.h"
#include "Roster.h"
#include "SeatLayout.h"

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kInvalidateMargin = 10;
constexpr int kFirstAvatarId = 483; // the avatar table's ids run 483..507
constexpr double kCornerRadius = 8;
constexpr double kHoleCardScale = 1.3;
constexpr double kBoardCardScale = 1.1;
constexpr double kPointsToUnits = 100.0 / 72.0;

constexpr QRgb kTableFill = 0xFF006400;
constexpr QRgb kTableOuterRim = 0xFF251B0D;
constexpr QRgb kTableInnerRim = 0xFF432F17;
constexpr QRgb kBoxFill = 0xFF555555;
constexpr QRgb kBetFill = 0xFF76AB28;
constexpr QRgb kWinFill = 0xFFA9390A;
constexpr QRgb kButtonFill = 0xFFA9390A;
constexpr QRgb kStatFill = 0x64232323;
constexpr QRgb kPotFill = 0x78FBFB55;

QColor Argb(QRgb argb)
{
    return QColor::fromRgba(argb);
}

// Table units to device pixels for one paint: isotropic 1/100 inch, y upwards, zoom s about
// the origin, which lies at the integer half of the client size in table units.
struct Mapper
{
    double ox = 0;
    double oy = 0;
    double kx = 1;
    double ky = 1;
    double s = 1;

    Mapper(QSize client, double dpiX, double dpiY, double zoom)
        : kx(dpiX / 100.0)
        , ky(dpiY / 100.0)
        , s(zoom)
    {
        ox = (client.width() / 2) * kx;
        oy = (client.height() / 2) * ky;
    }
    QPointF Map(double x, double y) const { return {ox + x * s * kx, oy - y * s * ky}; }
    QRectF Map(const TableRect &r) const
    {
        return QRectF(Map(r.left, r.upper), Map(r.right, r.lower));
    }
    double Len(double units) const { return units * s * kx; }
};

QFont TableFont(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    font.setPointSizeF(points);
    return font;
}

// Texts are drawn upright with their upper-left corner at the anchor, scaled by the zoom.
void DrawText(QPainter &p, const Mapper &m, double x, double y, const QString &text, double points,
              const QColor &color)
{
    p.save();
    p.translate(m.Map(x, y));
    p.scale(m.s, m.s);
    p.setFont(TableFont(points));
    p.setPen(color);
    p.drawText(QRectF(0, 0, 4000, 4000), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    p.restore();
}

void DrawImage(QPainter &p, const Mapper &m, double x, double y, double w, double h,
               const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    const QPointF topLeft = m.Map(x, y);
    p.drawPixmap(QRectF(topLeft, QSizeF(m.Len(w), m.s * m.ky * h)), pixmap, QRectF(pixmap.rect()));
}

QPen UnitPen(const Mapper &m, const QColor &color, double units)
{
    QPen pen(color, m.Len(units));
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// The felt tile with its three mirror images, so that a plain tiled brush mirrors neighbours.
const QPixmap &MirroredFelt()
{
    static const QPixmap tile = [] {
        const QPixmap &felt = Pictures::felt();
        const int n = felt.isNull() ? Pictures::kFeltSize : felt.width();
        QPixmap out(2 * n, 2 * n);
        out.fill(Argb(kTableFill));
        if (felt.isNull())
            return out;
        QPainter p(&out);
        const QImage image = felt.toImage();
        p.drawImage(0, 0, image);
        p.drawImage(n, 0, image.mirrored(true, false));
        p.drawImage(0, n, image.mirrored(false, true));
        p.drawImage(n, n, image.mirrored(true, true));
        return out;
    }();
    return tile;
}

const QPixmap &FacePicture(int card, bool large)
{
    return Pictures::card(card, large);
}

} // namespace

CDunmereView::CDunmereView(CDunmereGame &game, QWidget *parent)
    : QWidget(parent)
    , m_game(game)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    setFocusPolicy(Qt::ClickFocus);
}

void CDunmereView::Invalidate(const TableRect &rect)
{
    // Rectangles are collected and handed to the UI thread in one queued call per batch, so
    // that a game without pauses cannot flood the event queue.
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        if (m_pending.size() < kMaxPendingRects)
            m_pending.push_back(rect);
        else
            m_pendingAll = true;
        post = !m_flushPosted;
        m_flushPosted = true;
    }
    if (post)
        QMetaObject::invokeMethod(this, &CDunmereView::FlushInvalidations, Qt::QueuedConnection);
}

void CDunmereView::FlushInvalidations()
{
    std::vector<TableRect> rects;
    bool all = false;
    {
        std::lock_guard<std::mutex> lock(m_pendingMutex);
        rects.swap(m_pending);
        all = m_pendingAll;
        m_pendingAll = false;
        m_flushPosted = false;
    }
    if (all) {
        update();
        return;
    }
    for (const TableRect &rect : rects)
        update(InvalidationRect(rect));
}

void CDunmereView::SetWaitCursor(bool on)
{
    QMetaObject::invokeMethod(
        this,
        [this, on] {
            m_waitCursorDepth = std::max(0, m_waitCursorDepth + (on ? 1 : -1));
            if (m_waitCursorDepth > 0)
                setCursor(Qt::WaitCursor);
            else
                unsetCursor();
        },
        Qt::QueuedConnection);
}

void CDunmereView::LayoutSeats()
{
    auto lock = m_game.LockState();
    m_game.m_potRect = kPotRect;
    m_game.m_boardRect = kBoardRect;
    const int n = std::min(m_game.m_table.m_seatCount, 10);
    if (n <= 0)
        return;
    SeatRects rects[10];
    ComputeSeatRects(n, rects);
    for (int i = 0; i < n; ++i) {
        CPlayerRect &seat = m_game.m_playerRects[i];
        seat.m_boxRect = rects[i].box;
        seat.m_buttonRect = rects[i].button;
        seat.m_actionRect = rects[i].action;
        seat.m_cardsRect = rects[i].cards;
        seat.m_winRect = rects[i].win;
        seat.m_statRect.m_rect = rects[i].statistics;
    }
}

QPointF CDunmereView::ToDevice(double x, double y) const
{
    return Mapper(size(), logicalDpiX(), logicalDpiY(), m_zoom).Map(x, y);
}

QRect CDunmereView::InvalidationRect(const TableRect &rect) const
{
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const int halfW = width() / 2;
    const int halfH = height() / 2;
    const auto scaled = [this](int v) { return static_cast<int>(v * m_zoom); };
    const int l = scaled(rect.left - kInvalidateMargin);
    const int lo = scaled(rect.lower - kInvalidateMargin);
    const int r = scaled(rect.right + kInvalidateMargin);
    const int up = scaled(rect.upper + kInvalidateMargin);
    const auto devX = [&](int x) {
        return static_cast<int>(std::lround((x + halfW) * dpiX / 100.0));
    };
    const auto devY = [&](int y) {
        return static_cast<int>(std::lround((halfH - y) * dpiY / 100.0));
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
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    auto lock = m_game.LockState();
    OnDraw(painter, size(), logicalDpiX(), logicalDpiY());
}

void CDunmereView::OnDraw(QPainter &p, QSize client, double dpiX, double dpiY)
{
    m_zoom = TableZoom(client.width(), client.height());
    const Mapper m(client, dpiX, dpiY, m_zoom);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    const CGameTable &table = m_game.m_table;
    const bool ready = m_game.m_windowReady != 0;

    if (ready) {
        // The felt is not zoomed; it covers the client area as the screen shows it.
        QBrush felt(MirroredFelt());
        felt.setTransform(QTransform::fromTranslate(m.ox, m.oy).scale(m.kx, m.ky));
        const QRectF area(0, 0, client.width() * dpiX / logicalDpiX(),
                          client.height() * dpiY / logicalDpiY());
        p.fillRect(area, felt);

        const QRectF oval(m.Map(-350, 175), m.Map(350, -175));
        p.setPen(Qt::NoPen);
        p.setBrush(Argb(kTableFill));
        p.drawEllipse(oval);
        p.setBrush(Qt::NoBrush);
        p.setPen(UnitPen(m, Argb(kTableOuterRim), 15));
        p.drawEllipse(oval);
        p.setPen(UnitPen(m, Argb(kTableInnerRim), 6));
        p.drawEllipse(oval);

        const int seats = std::min(table.m_seatCount, 10);
        for (int i = 0; i < seats; ++i) {
            const CPlayerRect &seat = m_game.m_playerRects[i];
            if (seat.m_visible) {
                const TableRect &b = seat.m_boxRect;
                p.setPen(UnitPen(m, Qt::black, 1));
                p.setBrush(Argb(kBoxFill));
                p.drawRoundedRect(m.Map(b), m.Len(kCornerRadius), m.Len(kCornerRadius));
                if (!seat.m_nameText.empty())
                    DrawText(p, m, b.left + 40, b.upper, QString::fromStdWString(seat.m_nameText),
                             11, Qt::white);
                if (!seat.m_stackText.empty())
                    DrawText(p, m, (b.left + b.right) / 2, b.lower + 15,
                             QString::fromStdWString(seat.m_stackText), 11, Qt::white);
                const std::string name = QString::fromStdWString(seat.m_nameText).toStdString();
                const int avatarId = AvatarOfSeatName(name);
                if (avatarId >= kFirstAvatarId) {
                    DrawImage(p, m, b.left + 5, b.upper - 4, Pictures::kAvatarSize,
                              Pictures::kAvatarSize, Pictures::avatar(avatarId - kFirstAvatarId));
                }
            }
            if (seat.m_showAction) {
                const TableRect &a = seat.m_actionRect;
                p.setPen(Qt::NoPen);
                p.setBrush(Argb(kBetFill));
                p.drawRoundedRect(m.Map(a), m.Len(kCornerRadius), m.Len(kCornerRadius));
                if (!seat.m_actionText.empty())
                    DrawText(p, m, a.left + 5, a.upper, QString::fromStdWString(seat.m_actionText),
                             10, Qt::white);
            }
            const CPlayerStatisticRect &stat = seat.m_statRect;
            if (stat.m_visible) {
                const TableRect &r = stat.m_rect;
                p.setPen(UnitPen(m, Qt::white, 0.5));
                p.setBrush(Qt::NoBrush);
                p.drawRect(m.Map(r));
                p.fillRect(m.Map(r), Argb(kStatFill));
                for (int line = 0; line < 4; ++line) {
                    if (!stat.m_lines[line].empty())
                        DrawText(p, m, r.left + 5, r.upper - 5 - 10 * line,
                                 QString::fromStdWString(stat.m_lines[line]), 8, Qt::white);
                }
            }
            if (seat.m_hasButton) {
                const TableRect &r = seat.m_buttonRect;
                const QFont font = TableFont(10);
                const QFontMetricsF metrics(font, p.device());
                const QSizeF textSize(metrics.horizontalAdvance(QStringLiteral("D")) +
                                          metrics.height() / 3,
                                      metrics.height());
                p.save();
                p.translate(m.Map(r.left, r.upper));
                p.scale(m.s, m.s);
                const QRectF box(QPointF(0, 0), textSize);
                p.setBrush(Argb(kButtonFill));
                p.setPen(QPen(Qt::white, 2 * m.kx));
                p.drawEllipse(box);
                p.setFont(font);
                p.setPen(Qt::white);
                p.drawText(box, Qt::AlignCenter, QStringLiteral("D"));
                p.restore();
            }
            if (seat.m_showWin) {
                TableRect w = seat.m_actionRect;
                w.right += 10;
                p.setPen(UnitPen(m, Qt::white, 2));
                p.setBrush(Qt::NoBrush);
                p.drawRect(m.Map(w));
                p.fillRect(m.Map(w), Argb(kWinFill));
                if (!seat.m_winText.empty())
                    DrawText(p, m, w.left, w.upper, QString::fromStdWString(seat.m_winText), 10,
                             Qt::white);
            }
            const int first = table.m_cards[2 * i];
            if (seat.m_showCards && first >= 0) {
                const TableRect &c = seat.m_cardsRect;
                const int cw = static_cast<int>(Pictures::kSmallCardWidth * kHoleCardScale);
                const int ch = static_cast<int>(Pictures::kSmallCardHeight * kHoleCardScale);
                // The larger pictures stay sharp once the zoom enlarges the hole cards.
                const bool large = m.Len(cw) > Pictures::kSmallCardWidth * 1.15;
                const int second = table.m_cards[2 * i + 1];
                const bool faces = i == 0 || seat.m_revealCards;
                if (second < 0) {
                    DrawImage(p, m, c.left, c.upper, cw, ch, FacePicture(first, large));
                } else {
                    const QPixmap &back = Pictures::cardBack(large);
                    DrawImage(p, m, c.left, c.upper, cw, ch,
                              faces ? FacePicture(first, large) : back);
                    DrawImage(p, m, c.left + cw / 2, c.upper, cw, ch,
                              faces ? FacePicture(second, large) : back);
                }
            }
        }
    }

    if (m_game.m_boardShown) {
        const int bw = static_cast<int>(Pictures::kLargeCardWidth * kBoardCardScale);
        const int bh = static_cast<int>(Pictures::kLargeCardHeight * kBoardCardScale);
        const TableRect &r = m_game.m_boardRect;
        for (int k = 0; k < std::min(table.m_boardCount, 5); ++k) {
            const int card = table.m_cards[20 + k];
            if (card >= 0)
                DrawImage(p, m, r.left + bw * k, r.upper, bw, bh, FacePicture(card, true));
        }
    }

    if (m_game.m_potShown && ready) {
        const TableRect &r = m_game.m_potRect;
        p.setPen(UnitPen(m, Qt::white, 1));
        p.setBrush(Argb(kPotFill));
        p.drawRoundedRect(m.Map(r), m.Len(kCornerRadius), m.Len(kCornerRadius));
        if (!m_game.m_potText.empty())
            DrawText(p, m, static_cast<int>(r.left + 0.4 * (r.right - r.left)), r.upper,
                     QString::fromStdWString(m_game.m_potText), 12, Qt::white);
    }
}

void CDunmereView::contextMenuEvent(QContextMenuEvent *event)
{
    // The "Edit" menu of the table: the view handles none of its commands.
    QMenu menu(tr("Edit"), this);
    for (const char *text : {"Cu&t", "&Copy", "&Paste"})
        menu.addAction(QString::fromLatin1(text))->setEnabled(false);
    menu.exec(event->globalPos());
}

void CDunmereView::PrintTable(QPrinter *printer)
{
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    auto lock = m_game.LockState();
    OnDraw(painter, size(), printer->logicalDpiX(), printer->logicalDpiY());
}
