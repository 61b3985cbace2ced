#include "ui/app/RibbonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

// Outlines one unit wide on the 32-unit grid, but at most 3 pixels in the large desktop icons.
qreal OutlineWidth(const QPainter &p)
{
    return std::min(1.0, 3.0 / p.transform().m11());
}

void MiniCard(QPainter &p, const QRectF &r, const QString &rank, const QColor &ink, qreal angle)
{
    p.save();
    const qreal outline = OutlineWidth(p);
    p.translate(r.center());
    p.rotate(angle);
    const QRectF c(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    p.setPen(QPen(QColor(90, 90, 90), outline));
    p.setBrush(Qt::white);
    p.drawRoundedRect(c, 2.5, 2.5);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(qRound(r.height() * 0.45));
    p.setFont(f);
    p.setPen(ink);
    p.drawText(c, Qt::AlignCenter, rank);
    p.restore();
}

} // namespace

QPixmap DrawRibbonIcon(RibbonIcon kind, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 32.0, size / 32.0);
    switch (kind) {
    case RibbonIcon::StartGame: {
        MiniCard(p, QRectF(3, 5, 15, 21), QStringLiteral("A"), QColor(20, 20, 20), -12);
        MiniCard(p, QRectF(10, 4, 15, 21), QStringLiteral("K"), QColor(200, 20, 20), 10);
        QPainterPath play;
        play.moveTo(17, 17);
        play.lineTo(30, 24);
        play.lineTo(17, 31);
        play.closeSubpath();
        p.setPen(QPen(QColor(10, 80, 10), 1));
        p.setBrush(QColor(60, 190, 60));
        p.drawPath(play);
        break;
    }
    case RibbonIcon::StartDeal: {
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(0x1E, 0x6B, 0x2A));
        p.drawEllipse(QRectF(2, 10, 20, 20));
        MiniCard(p, QRectF(14, 2, 13, 18), QString(), Qt::black, 15);
        p.setBrush(QColor(0xA9, 0x39, 0x0A));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawEllipse(QRectF(5, 13, 14, 14));
        QFont f(QStringLiteral("Arial"));
        f.setBold(true);
        f.setPixelSize(10);
        p.setFont(f);
        p.drawText(QRectF(5, 13, 14, 14), Qt::AlignCenter, QStringLiteral("D"));
        break;
    }
    case RibbonIcon::Stop: {
        QPainterPath oct;
        for (int i = 0; i < 8; ++i) {
            const qreal a = (22.5 + 45 * i) * 3.14159265 / 180;
            const QPointF pt(16 + 13 * std::cos(a), 16 + 13 * std::sin(a));
            i == 0 ? oct.moveTo(pt) : oct.lineTo(pt);
        }
        oct.closeSubpath();
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(QColor(200, 30, 30));
        p.drawPath(oct);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(10, 10, 12, 12));
        break;
    }
    case RibbonIcon::Calculator: {
        p.setPen(QPen(QColor(50, 50, 60), 1));
        p.setBrush(QColor(225, 228, 235));
        p.drawRoundedRect(QRectF(6, 2, 20, 28), 3, 3);
        p.setBrush(QColor(150, 200, 150));
        p.drawRect(QRectF(9, 5, 14, 7));
        p.setBrush(QColor(90, 90, 100));
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(9 + 5 * c, 15 + 5 * r, 3.5, 3.5));
        QFont f(QStringLiteral("Arial"));
        f.setBold(true);
        f.setPixelSize(8);
        p.setFont(f);
        p.setPen(QColor(20, 60, 20));
        p.drawText(QRectF(9, 5, 14, 7), Qt::AlignCenter, QStringLiteral("%"));
        break;
    }
    case RibbonIcon::ReviewHands: {
        MiniCard(p, QRectF(2, 3, 15, 21), QStringLiteral("Q"), QColor(200, 20, 20), -10);
        MiniCard(p, QRectF(8, 2, 15, 21), QStringLiteral("J"), QColor(20, 20, 20), 8);
        // A turning-back arrow: the hand played again.
        p.setPen(QPen(QColor(20, 70, 160), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(13, 15, 15, 15), 100 * 16, 250 * 16);
        QPainterPath head;
        head.moveTo(16, 13);
        head.lineTo(22, 15.5);
        head.lineTo(17, 20);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 70, 160));
        p.drawPath(head);
        break;
    }
    case RibbonIcon::Progress: {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.drawLine(QPointF(4, 3), QPointF(4, 28));
        p.drawLine(QPointF(4, 28), QPointF(30, 28));
        p.setPen(QPen(QColor(30, 140, 50), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF points[] = {{6, 23}, {11, 18}, {16, 21}, {21, 12}, {28, 6}};
        p.drawPolyline(points, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xA9, 0x39, 0x0A));
        p.drawEllipse(QPointF(21, 12), 2.5, 2.5);
        break;
    }
    case RibbonIcon::Drill: {
        // A target with a dart in its middle: the spot practised until it is hit.
        const QColor rings[] = {QColor(200, 30, 30), Qt::white, QColor(200, 30, 30)};
        p.setPen(QPen(QColor(90, 20, 20), 1));
        for (int r = 0; r < 3; ++r) {
            p.setBrush(rings[r]);
            const double radius = 13.0 - 4.5 * r;
            p.drawEllipse(QPointF(15, 17), radius, radius);
        }
        p.setPen(QPen(QColor(30, 30, 30), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 17), QPointF(28, 4));
        p.setPen(QPen(QColor(20, 70, 160), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(25, 4), QPointF(28, 4));
        p.drawLine(QPointF(28, 4), QPointF(28, 7));
        break;
    }
    case RibbonIcon::About:
    case RibbonIcon::Info: {
        p.setPen(QPen(QColor(20, 70, 160), 1.5));
        p.setBrush(kind == RibbonIcon::About ? QColor(70, 130, 220) : QColor(250, 200, 40));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        QFont f(QStringLiteral("Arial"));
        f.setBold(true);
        f.setPixelSize(20);
        p.setFont(f);
        p.setPen(kind == RibbonIcon::About ? Qt::white : QColor(60, 40, 0));
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter,
                   kind == RibbonIcon::About ? QStringLiteral("?") : QStringLiteral("!"));
        break;
    }
    case RibbonIcon::Style: {
        const QColor colors[] = {QColor(60, 110, 200), QColor(40, 40, 40), QColor(190, 195, 205),
                                 QColor(60, 170, 190)};
        for (int i = 0; i < 4; ++i) {
            p.setPen(QPen(QColor(30, 30, 30), 1));
            p.setBrush(colors[i]);
            p.drawRect(QRectF(3 + 13 * (i % 2), 3 + 13 * (i / 2), 12, 12));
        }
        break;
    }
    case RibbonIcon::AppButton: {
        QRadialGradient g(QPointF(16, 11), 18);
        g.setColorAt(0, QColor(255, 210, 120));
        g.setColorAt(1, QColor(180, 90, 0));
        p.setPen(QPen(QColor(90, 50, 0), OutlineWidth(p)));
        p.setBrush(g);
        p.drawEllipse(QRectF(1, 1, 30, 30));
        MiniCard(p, QRectF(8, 7, 11, 16), QStringLiteral("A"), Qt::black, -10);
        MiniCard(p, QRectF(13, 8, 11, 16), QStringLiteral("A"), QColor(200, 20, 20), 12);
        break;
    }
    }
    return pm;
}

QIcon MakeRibbonIcon(RibbonIcon kind)
{
    QIcon icon;
    icon.addPixmap(DrawRibbonIcon(kind, 16));
    icon.addPixmap(DrawRibbonIcon(kind, 32));
    icon.addPixmap(DrawRibbonIcon(kind, 64));
    return icon;
}
