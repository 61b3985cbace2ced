#include "ui/table_view/TablePainter.h"

#include "opponents/Roster.h"
#include "ui/pictures/Pictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "ui/table_view/SeatLayout.h"

#include <algorithm>

namespace {

constexpr int kFirstAvatarId = 483; // the avatar table's ids run 483..507
constexpr double kCornerRadius = 8;
constexpr double kHoleCardScale = 1.3;
constexpr double kBoardCardScale = 1.1;
constexpr double kDrawingWidth = 700; // table units, as the table view's document

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

    Mapper(QSize client, double dpiX, double dpiY, double zoom, int topBand = 0)
        : kx(dpiX / 100.0)
        , ky(dpiY / 100.0)
        , s(zoom)
    {
        ox = (client.width() / 2) * kx;
        oy = ((client.height() - topBand) / 2) * ky + topBand;
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

void DrawSeat(QPainter &p, const Mapper &m, const SeatSnapshot &seat)
{
    if (seat.visible) {
        const TableRect &b = seat.boxRect;
        p.setPen(UnitPen(m, Qt::black, 1));
        p.setBrush(Argb(kBoxFill));
        p.drawRoundedRect(m.Map(b), m.Len(kCornerRadius), m.Len(kCornerRadius));
        // A long name ends in "…" at the box's edge rather than running over the next seat.
        if (!seat.name.empty())
            DrawText(p, m, b.left + 40, b.upper,
                     QFontMetricsF(TableFont(11))
                         .elidedText(QString::fromStdWString(seat.name), Qt::ElideRight,
                                     b.right - b.left - 45),
                     11, Qt::white);
        if (!seat.stack.empty())
            DrawText(p, m, (b.left + b.right) / 2, b.lower + 15,
                     QString::fromStdWString(seat.stack), 11, Qt::white);
        const std::string name = QString::fromStdWString(seat.name).toStdString();
        const int avatarId = AvatarOfSeatName(name);
        if (avatarId >= kFirstAvatarId) {
            DrawImage(p, m, b.left + 5, b.upper - 4, Pictures::kAvatarSize, Pictures::kAvatarSize,
                      Pictures::avatar(avatarId - kFirstAvatarId));
        }
    }
    if (seat.showAction) {
        const TableRect &a = seat.actionRect;
        p.setPen(Qt::NoPen);
        p.setBrush(Argb(kBetFill));
        p.drawRoundedRect(m.Map(a), m.Len(kCornerRadius), m.Len(kCornerRadius));
        if (!seat.action.empty())
            DrawText(p, m, a.left + 5, a.upper, QString::fromStdWString(seat.action), 10,
                     Qt::white);
    }
    if (seat.statisticsVisible) {
        const TableRect &r = seat.statisticsRect;
        p.setPen(UnitPen(m, Qt::white, 0.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m.Map(r));
        p.fillRect(m.Map(r), Argb(kStatFill));
        for (int line = 0; line < 4; ++line) {
            if (!seat.statisticsLines[line].empty())
                DrawText(p, m, r.left + 5, r.upper - 5 - 10 * line,
                         QString::fromStdWString(seat.statisticsLines[line]), 8, Qt::white);
        }
    }
    if (seat.hasButton) {
        const TableRect &r = seat.buttonRect;
        const QFont font = TableFont(10);
        const QFontMetricsF metrics(font, p.device());
        const QSizeF textSize(metrics.horizontalAdvance(QStringLiteral("D")) + metrics.height() / 3,
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
    if (seat.showWin) {
        TableRect w = seat.actionRect;
        w.right += 10;
        p.setPen(UnitPen(m, Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(m.Map(w));
        p.fillRect(m.Map(w), Argb(kWinFill));
        // Clear of the white border, or a first "I" vanishes into it.
        if (!seat.win.empty())
            DrawText(p, m, w.left + 3, w.upper, QString::fromStdWString(seat.win), 10, Qt::white);
    }
    const int first = seat.cards[0];
    if (seat.showCards && first >= 0) {
        const TableRect &c = seat.cardsRect;
        const int cw = static_cast<int>(Pictures::kSmallCardWidth * kHoleCardScale);
        const int ch = static_cast<int>(Pictures::kSmallCardHeight * kHoleCardScale);
        // The larger pictures stay sharp once the zoom enlarges the hole cards.
        const bool large = m.Len(cw) > Pictures::kSmallCardWidth * 1.15;
        const int second = seat.cards[1];
        if (second < 0) {
            DrawImage(p, m, c.left, c.upper, cw, ch, FacePicture(first, large));
        } else {
            const QPixmap &back = Pictures::cardBack(large);
            DrawImage(p, m, c.left, c.upper, cw, ch,
                      seat.faceUp ? FacePicture(first, large) : back);
            DrawImage(p, m, c.left + cw / 2, c.upper, cw, ch,
                      seat.faceUp ? FacePicture(second, large) : back);
        }
    }
}

} // namespace

// A line in the band above the table, unzoomed, where no seat ever sits.
static void DrawInfoLine(QPainter &p, const QString &text)
{
    p.save();
    QFont font = p.font();
    font.setPointSize(10);
    p.setFont(font);
    const QRectF box = QFontMetricsF(font).boundingRect(text).adjusted(-6, -3, 6, 3);
    const QRectF placed =
        box.translated(8 - box.left(), (kInfoBandHeight - box.height()) / 2 - box.top());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(placed, 4, 4);
    p.setPen(Qt::white);
    p.drawText(placed, Qt::AlignCenter, text);
    p.restore();
}

double PaintTable(QPainter &p, const TableSnapshot &table, const TablePaintArea &area)
{
    const QSize client = area.client;
    // Under a band the top seats' cards, which reach a little beyond the drawing's height,
    // keep a few pixels from it.
    const double zoom = std::min(
        TableZoom(client.width(), client.height() - (area.topBand > 0 ? area.topBand + 12 : 0)),
        area.sideRoom > 0 ? client.width() / (kDrawingWidth + 2.0 * area.sideRoom) : 1e9);
    const Mapper m(client, area.dpiX, area.dpiY, zoom, area.topBand);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);

    if (table.ready) {
        // The felt is not zoomed; it covers the client area as the screen shows it.
        QBrush felt(MirroredFelt());
        felt.setTransform(QTransform::fromTranslate(m.ox, m.oy).scale(m.kx, m.ky));
        const QRectF feltArea(0, 0, client.width() * area.dpiX / area.screenDpiX,
                              client.height() * area.dpiY / area.screenDpiY);
        p.fillRect(feltArea, felt);

        const QRectF oval(m.Map(-350, 175), m.Map(350, -175));
        p.setPen(Qt::NoPen);
        p.setBrush(Argb(kTableFill));
        p.drawEllipse(oval);
        p.setBrush(Qt::NoBrush);
        p.setPen(UnitPen(m, Argb(kTableOuterRim), 15));
        p.drawEllipse(oval);
        p.setPen(UnitPen(m, Argb(kTableInnerRim), 6));
        p.drawEllipse(oval);

        for (int i = 0; i < std::min(table.seatCount, 10); ++i)
            DrawSeat(p, m, table.seats[i]);
    }

    if (table.boardShown) {
        const int bw = static_cast<int>(Pictures::kLargeCardWidth * kBoardCardScale);
        const int bh = static_cast<int>(Pictures::kLargeCardHeight * kBoardCardScale);
        const TableRect &r = table.boardRect;
        for (int k = 0; k < std::min(table.boardCount, 5); ++k) {
            const int card = table.board[k];
            if (card >= 0)
                DrawImage(p, m, r.left + bw * k, r.upper, bw, bh, FacePicture(card, true));
        }
    }

    if (table.potShown && table.ready) {
        const TableRect &r = table.potRect;
        p.setPen(UnitPen(m, Qt::white, 1));
        p.setBrush(Argb(kPotFill));
        p.drawRoundedRect(m.Map(r), m.Len(kCornerRadius), m.Len(kCornerRadius));
        if (!table.potText.empty())
            DrawText(p, m, static_cast<int>(r.left + 0.4 * (r.right - r.left)), r.upper,
                     QString::fromStdWString(table.potText), 12, Qt::white);
    }
    if (!table.tournamentText.empty() && table.ready)
        DrawInfoLine(p, QString::fromStdWString(table.tournamentText));
    return zoom;
}

QPointF TableToDevice(const TablePaintArea &area, double zoom, double x, double y)
{
    return Mapper(area.client, area.dpiX, area.dpiY, zoom, area.topBand).Map(x, y);
}
