#include "ui/pictures/Pictures.h"
#include "pokerlib/CardCodes.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>
#include <cmath>
#include <vector>

namespace Pictures {
namespace {

constexpr int kCardCount = 52;
const QColor kRed(200, 16, 32);
const QColor kBlack(20, 20, 20);

bool isRed(int suit)
{
    return suit == 1 || suit == 2;
}

QString rankText(int rankIndex)
{
    static const char *const names[13] = {"2", "3",  "4", "5", "6", "7", "8",
                                          "9", "10", "J", "Q", "K", "A"};
    return QString::fromLatin1(names[rankIndex]);
}

// Suit symbol filling the square of side s with its top-left corner at the origin.
QPainterPath suitPath(int suit, qreal s)
{
    QPainterPath p;
    switch (suit) {
    case 0: { // clubs: three leaves and a stem
        const qreal r = s * 0.23;
        p.addEllipse(QPointF(s * 0.5, s * 0.27), r, r);
        p.addEllipse(QPointF(s * 0.27, s * 0.56), r, r);
        p.addEllipse(QPointF(s * 0.73, s * 0.56), r, r);
        p.addEllipse(QPointF(s * 0.5, s * 0.5), r * 0.6, r * 0.6);
        QPainterPath stem;
        stem.moveTo(s * 0.5, s * 0.5);
        stem.lineTo(s * 0.64, s);
        stem.lineTo(s * 0.36, s);
        stem.closeSubpath();
        p.addPath(stem);
        break;
    }
    case 1: // diamonds
        p.moveTo(s * 0.5, 0);
        p.lineTo(s * 0.88, s * 0.5);
        p.lineTo(s * 0.5, s);
        p.lineTo(s * 0.12, s * 0.5);
        p.closeSubpath();
        break;
    case 2: // hearts
        p.moveTo(s * 0.5, s * 0.28);
        p.cubicTo(s * 0.5, s * 0.05, s * 0.02, s * 0.0, s * 0.02, s * 0.36);
        p.cubicTo(s * 0.02, s * 0.62, s * 0.35, s * 0.78, s * 0.5, s);
        p.cubicTo(s * 0.65, s * 0.78, s * 0.98, s * 0.62, s * 0.98, s * 0.36);
        p.cubicTo(s * 0.98, s * 0.0, s * 0.5, s * 0.05, s * 0.5, s * 0.28);
        p.closeSubpath();
        break;
    default: { // spades: an upside-down heart and a stem
        p.moveTo(s * 0.5, 0);
        p.cubicTo(s * 0.35, s * 0.22, s * 0.02, s * 0.36, s * 0.02, s * 0.6);
        p.cubicTo(s * 0.02, s * 0.86, s * 0.38, s * 0.86, s * 0.5, s * 0.66);
        p.cubicTo(s * 0.62, s * 0.86, s * 0.98, s * 0.86, s * 0.98, s * 0.6);
        p.cubicTo(s * 0.98, s * 0.36, s * 0.65, s * 0.22, s * 0.5, 0);
        p.closeSubpath();
        QPainterPath stem;
        stem.moveTo(s * 0.5, s * 0.6);
        stem.lineTo(s * 0.66, s);
        stem.lineTo(s * 0.34, s);
        stem.closeSubpath();
        p.addPath(stem);
        break;
    }
    }
    p.setFillRule(Qt::WindingFill);
    return p;
}

void drawSuit(QPainter &p, int suit, QPointF topLeft, qreal size)
{
    p.save();
    p.translate(topLeft);
    p.setPen(Qt::NoPen);
    p.setBrush(isRed(suit) ? kRed : kBlack);
    p.drawPath(suitPath(suit, size));
    p.restore();
}

QPixmap newPixmap(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void drawCardBlank(QPainter &p, int w, int h)
{
    const QRectF r(0.5, 0.5, w - 1.0, h - 1.0);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(252, 252, 248));
    const qreal radius = w / 11.0;
    p.drawRoundedRect(r, radius, radius);
}

// Rank and suit in the top-left corner; the painter is rotated for the opposite corner.
void drawCornerIndex(QPainter &p, int c, int w, int h)
{
    const int suit = brisquel::SuitOf(c);
    const int rankIndex = brisquel::RankOf(c);
    const bool large = w >= kLargeCardWidth;
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(large ? 15 : 12);
    if (rankIndex == 8) // "10" is two characters wide
        f.setStretch(large ? 80 : 72);
    p.setFont(f);
    p.setPen(isRed(suit) ? kRed : kBlack);
    const qreal indexWidth = large ? 17 : 13;
    const QRectF textRect(1, 1, indexWidth, large ? 16 : 13);
    p.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, rankText(rankIndex));
    const qreal sym = large ? 10 : 8;
    drawSuit(p, suit, QPointF(1 + (indexWidth - sym) / 2, textRect.bottom() + 1), sym);
    Q_UNUSED(h);
}

// Pip positions of a number card, in fractions of the card's inner area.
std::vector<QPointF> pipLayout(int count)
{
    const qreal l = 0.28, m = 0.5, r = 0.72;
    switch (count) {
    case 2:
        return {{m, 0.2}, {m, 0.8}};
    case 3:
        return {{m, 0.2}, {m, 0.5}, {m, 0.8}};
    case 4:
        return {{l, 0.2}, {r, 0.2}, {l, 0.8}, {r, 0.8}};
    case 5:
        return {{l, 0.2}, {r, 0.2}, {m, 0.5}, {l, 0.8}, {r, 0.8}};
    case 6:
        return {{l, 0.2}, {r, 0.2}, {l, 0.5}, {r, 0.5}, {l, 0.8}, {r, 0.8}};
    case 7:
        return {{l, 0.2}, {r, 0.2}, {m, 0.35}, {l, 0.5}, {r, 0.5}, {l, 0.8}, {r, 0.8}};
    case 8:
        return {{l, 0.2}, {r, 0.2}, {m, 0.35}, {l, 0.5}, {r, 0.5}, {m, 0.65}, {l, 0.8}, {r, 0.8}};
    case 9:
        return {{l, 0.2}, {r, 0.2}, {l, 0.4}, {r, 0.4}, {m, 0.5},
                {l, 0.6}, {r, 0.6}, {l, 0.8}, {r, 0.8}};
    default:
        return {{l, 0.2}, {r, 0.2}, {m, 0.3}, {l, 0.4}, {r, 0.4},
                {l, 0.6}, {r, 0.6}, {m, 0.7}, {l, 0.8}, {r, 0.8}};
    }
}

QPixmap drawFace(int c, int w, int h)
{
    QPixmap pm = newPixmap(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawCardBlank(p, w, h);

    const int suit = brisquel::SuitOf(c);
    const int rankIndex = brisquel::RankOf(c);
    const bool large = w >= kLargeCardWidth;
    drawCornerIndex(p, c, w, h);
    p.save();
    p.translate(w, h);
    p.rotate(180);
    drawCornerIndex(p, c, w, h);
    p.restore();

    // The centre area right of the corner indices.
    const qreal margin = large ? 18 : 14;
    const QRectF inner(margin, large ? 6 : 5, w - 2 * margin, h - (large ? 12 : 10));
    if (rankIndex == 12) { // ace: one big symbol
        const qreal s = inner.width() * 0.95;
        drawSuit(p, suit, QPointF(inner.center().x() - s / 2, inner.center().y() - s / 2), s);
    } else if (rankIndex >= 9) { // court cards: framed letter over a suit symbol
        const QColor ink = isRed(suit) ? kRed : kBlack;
        p.setPen(QPen(ink, 1));
        p.setBrush(isRed(suit) ? QColor(253, 236, 200) : QColor(222, 232, 250));
        p.drawRect(inner.adjusted(0, 2, 0, -2));
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setBold(true);
        f.setPixelSize(large ? 26 : 17);
        p.setFont(f);
        p.setPen(ink);
        const QRectF upper(inner.left(), inner.top() + 2, inner.width(), inner.height() * 0.55);
        p.drawText(upper, Qt::AlignCenter, rankText(rankIndex));
        const qreal s = inner.width() * 0.5;
        drawSuit(p, suit, QPointF(inner.center().x() - s / 2, upper.bottom()), s);
    } else if (large) {
        const qreal s = 11;
        for (const QPointF &f : pipLayout(rankIndex + 2)) {
            const QPointF centre(inner.left() + f.x() * inner.width(),
                                 inner.top() + f.y() * inner.height());
            drawSuit(p, suit, centre - QPointF(s / 2, s / 2), s);
        }
    } else {
        // At the small size pips would be specks: one clear symbol instead.
        const qreal s = inner.width() * 0.9;
        drawSuit(p, suit, QPointF(inner.center().x() - s / 2, inner.center().y() - s / 2), s);
    }
    return pm;
}

QPixmap drawSelected(int c)
{
    QPixmap pm = drawFace(c, kLargeCardWidth, kLargeCardHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A blue wash and a check mark in the upper-right corner.
    p.setPen(QPen(QColor(30, 90, 200), 3));
    p.setBrush(QColor(60, 120, 230, 50));
    p.drawRoundedRect(QRectF(1.5, 1.5, kLargeCardWidth - 3.0, kLargeCardHeight - 3.0), 5, 5);
    const QPointF centre(kLargeCardWidth - 13, 13);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(20, 140, 40));
    p.drawEllipse(centre, 10, 10);
    QPainterPath tick;
    tick.moveTo(centre + QPointF(-5, 0));
    tick.lineTo(centre + QPointF(-1.5, 4));
    tick.lineTo(centre + QPointF(5.5, -4.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return pm;
}

QPixmap drawBack(int w, int h)
{
    QPixmap pm = newPixmap(w, h);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawCardBlank(p, w, h);
    const QRectF inner(3.5, 3.5, w - 7.0, h - 7.0);
    QLinearGradient g(inner.topLeft(), inner.bottomRight());
    g.setColorAt(0, QColor(30, 60, 150));
    g.setColorAt(1, QColor(15, 35, 100));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(inner, 3, 3);
    // Diagonal lattice clipped to the inner area.
    p.setClipRect(inner);
    p.setPen(QPen(QColor(120, 160, 240, 160), 1));
    for (int d = -h; d < w + h; d += 6) {
        p.drawLine(QPointF(d, 0), QPointF(d + h, h));
        p.drawLine(QPointF(d, h), QPointF(d + h, 0));
    }
    p.setClipping(false);
    p.setPen(QPen(QColor(230, 230, 240), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner.adjusted(2, 2, -2, -2), 2, 2);
    return pm;
}

QPixmap drawFelt()
{
    QImage img(kFeltSize, kFeltSize, QImage::Format_RGB32);
    // Fixed seed: the cloth looks the same on every run.
    QRandomGenerator rng(20261207u);
    for (int y = 0; y < kFeltSize; ++y) {
        for (int x = 0; x < kFeltSize; ++x) {
            const int n = int(rng.bounded(22)) - 11;
            const int weave = ((x + y) % 4 == 0) ? 6 : (((x - y) % 4 == 0) ? -4 : 0);
            const int g = qBound(0, 92 + n + weave, 255);
            img.setPixel(x, y, qRgb(qBound(0, 12 + n / 3, 255), g, qBound(0, 40 + n / 2, 255)));
        }
    }
    return QPixmap::fromImage(img);
}

struct AvatarLook
{
    QColor background;
    QColor skin;
    QColor hair;
    bool longHair;
    bool beard;
    bool glasses;
};

// Each index keeps its look from run to run; the names are those of the opponents' table.
AvatarLook avatarLook(int i)
{
    static const QColor backgrounds[] = {
        QColor(70, 130, 180),  QColor(205, 92, 92), QColor(60, 179, 113), QColor(218, 165, 32),
        QColor(147, 112, 219), QColor(255, 140, 0), QColor(32, 178, 170), QColor(199, 21, 133),
    };
    static const QColor skins[] = {QColor(255, 220, 185), QColor(240, 195, 150),
                                   QColor(200, 150, 110), QColor(150, 105, 70),
                                   QColor(250, 210, 170)};
    static const QColor hairs[] = {QColor(60, 40, 20), QColor(20, 20, 20), QColor(200, 160, 60),
                                   QColor(150, 70, 30), QColor(170, 170, 170)};
    // Angelina, Barbara, Christine, Diana, Elizabeth, Evelyn, Gloria, Gladys.
    static const bool female[kAvatarCount] = {
        false, true,  false, false, true, false, false, true,  false, false, true,  false, true,
        true,  false, false, true,  true, false, false, false, false, false, false, false};
    AvatarLook look;
    look.background = backgrounds[i % 8];
    look.skin = skins[(i * 3) % 5];
    look.hair = hairs[(i * 2 + i / 5) % 5];
    look.longHair = female[i];
    look.beard = !female[i] && (i % 4 == 3);
    look.glasses = (i % 5 == 2) || i == 20; // 20 "Professor"
    return look;
}

QPixmap drawFace35(const AvatarLook &look)
{
    const qreal s = kAvatarSize;
    QPixmap pm = newPixmap(kAvatarSize, kAvatarSize);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient bg(QPointF(s * 0.5, s * 0.35), s * 0.7);
    bg.setColorAt(0, look.background.lighter(140));
    bg.setColorAt(1, look.background.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(0, 0, s, s), 5, 5);

    p.setClipRect(QRectF(0, 0, s, s));
    if (look.longHair) {
        p.setBrush(look.hair);
        p.drawRoundedRect(QRectF(s * 0.22, s * 0.16, s * 0.56, s * 0.62), 7, 7);
    }
    // Shoulders.
    p.setBrush(look.background.darker(170));
    p.drawEllipse(QRectF(s * 0.12, s * 0.72, s * 0.76, s * 0.55));
    // Neck and head.
    p.setBrush(look.skin.darker(108));
    p.drawRect(QRectF(s * 0.43, s * 0.6, s * 0.14, s * 0.16));
    p.setBrush(look.skin);
    p.drawEllipse(QRectF(s * 0.3, s * 0.2, s * 0.4, s * 0.46));
    // Hair on top.
    p.setBrush(look.hair);
    QPainterPath top;
    top.moveTo(s * 0.29, s * 0.38);
    top.cubicTo(s * 0.27, s * 0.12, s * 0.73, s * 0.12, s * 0.71, s * 0.38);
    top.cubicTo(s * 0.62, s * 0.26, s * 0.4, s * 0.26, s * 0.29, s * 0.38);
    p.drawPath(top);
    if (look.beard) {
        QPainterPath beard;
        beard.moveTo(s * 0.31, s * 0.46);
        beard.cubicTo(s * 0.33, s * 0.72, s * 0.67, s * 0.72, s * 0.69, s * 0.46);
        beard.cubicTo(s * 0.6, s * 0.56, s * 0.4, s * 0.56, s * 0.31, s * 0.46);
        p.drawPath(beard);
    }
    // Eyes and smile.
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(s * 0.42, s * 0.41), 1.2, 1.4);
    p.drawEllipse(QPointF(s * 0.58, s * 0.41), 1.2, 1.4);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 40, 40), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(s * 0.42, s * 0.45, s * 0.16, s * 0.1), 200 * 16, 140 * 16);
    if (look.glasses) {
        p.setPen(QPen(QColor(20, 20, 20), 0.9));
        p.drawEllipse(QPointF(s * 0.42, s * 0.41), 2.8, 2.6);
        p.drawEllipse(QPointF(s * 0.58, s * 0.41), 2.8, 2.6);
        p.drawLine(QPointF(s * 0.42 + 2.8, s * 0.41), QPointF(s * 0.58 - 2.8, s * 0.41));
    }
    return pm;
}

// The personas and the human get emblems of their own instead of a face.
QPixmap drawEmblem(int index)
{
    const qreal s = kAvatarSize;
    QPixmap pm = newPixmap(kAvatarSize, kAvatarSize);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QColor bg;
    QString letter;
    switch (index) {
    case 19:
        bg = QColor(190, 30, 30);
        letter = QStringLiteral("M!");
        break; // Maniac
    case 20:
        bg = QColor(40, 70, 150);
        letter = QStringLiteral("P");
        break; // Professor
    case 21:
        bg = QColor(120, 60, 160);
        letter = QStringLiteral("M");
        break; // Master
    case 22:
        bg = QColor(30, 130, 90);
        letter = QStringLiteral("T");
        break; // Tim
    case 23:
        bg = QColor(110, 110, 110);
        letter = QStringLiteral("?");
        break; // Unknow
    default:
        bg = QColor(200, 150, 20);
        letter = QStringLiteral("H");
        break; // Hero
    }
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, bg.lighter(135));
    g.setColorAt(1, bg.darker(130));
    p.setPen(QPen(bg.darker(160), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), 5, 5);
    if (index == 24) { // Hero: a star behind the initial
        QPainterPath star;
        for (int k = 0; k < 10; ++k) {
            const qreal r = (k % 2 == 0) ? s * 0.45 : s * 0.2;
            const qreal a = (-90 + k * 36) * 3.14159265 / 180;
            const QPointF pt(s / 2 + r * std::cos(a), s / 2 + 1 + r * std::sin(a));
            if (k == 0)
                star.moveTo(pt);
            else
                star.lineTo(pt);
        }
        star.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 236, 140));
        p.drawPath(star);
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(letter.size() > 1 ? 15 : 19);
    p.setFont(f);
    p.setPen(index == 24 ? QColor(120, 70, 0) : QColor(255, 255, 255));
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, letter);
    return pm;
}

QPixmap drawAvatar(int index)
{
    if (index >= 19)
        return drawEmblem(index);
    return drawFace35(avatarLook(index));
}

QPixmap drawButtonPicture(ButtonPicture id)
{
    const qreal s = kButtonPictureSize;
    QPixmap pm = newPixmap(kButtonPictureSize, kButtonPictureSize);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    auto disc = [&](QColor c) {
        QRadialGradient g(QPointF(s * 0.4, s * 0.35), s * 0.6);
        g.setColorAt(0, c.lighter(150));
        g.setColorAt(1, c.darker(115));
        p.setPen(QPen(c.darker(170), 1));
        p.setBrush(g);
        p.drawEllipse(QRectF(1.5, 1.5, s - 3, s - 3));
    };
    const QPen mark(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (id) {
    case ButtonPicture::Fold:
    case ButtonPicture::Cancel:
        disc(id == ButtonPicture::Fold ? QColor(190, 40, 40) : QColor(170, 60, 50));
        p.setPen(mark);
        p.drawLine(QPointF(s * 0.33, s * 0.33), QPointF(s * 0.67, s * 0.67));
        p.drawLine(QPointF(s * 0.67, s * 0.33), QPointF(s * 0.33, s * 0.67));
        break;
    case ButtonPicture::CheckCall:
    case ButtonPicture::Ok: {
        disc(id == ButtonPicture::CheckCall ? QColor(40, 150, 60) : QColor(50, 130, 70));
        QPainterPath tick;
        tick.moveTo(s * 0.28, s * 0.52);
        tick.lineTo(s * 0.44, s * 0.68);
        tick.lineTo(s * 0.73, s * 0.34);
        p.setPen(mark);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case ButtonPicture::Raise: {
        disc(QColor(210, 140, 20));
        QPainterPath arrow;
        arrow.moveTo(s * 0.5, s * 0.22);
        arrow.lineTo(s * 0.76, s * 0.52);
        arrow.lineTo(s * 0.6, s * 0.52);
        arrow.lineTo(s * 0.6, s * 0.78);
        arrow.lineTo(s * 0.4, s * 0.78);
        arrow.lineTo(s * 0.4, s * 0.52);
        arrow.lineTo(s * 0.24, s * 0.52);
        arrow.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    }
    return pm;
}

template <std::size_t N> struct PixmapTable
{
    std::array<QPixmap, N> items;
    bool built = false;
};

const QPixmap &emptyPixmap()
{
    static const QPixmap empty;
    return empty;
}

} // namespace

const QPixmap &card(int c, bool large)
{
    static PixmapTable<kCardCount> small;
    static PixmapTable<kCardCount> big;
    if (c < 0 || c >= kCardCount)
        return emptyPixmap();
    PixmapTable<kCardCount> &table = large ? big : small;
    if (!table.built) {
        for (int i = 0; i < kCardCount; ++i) {
            table.items[i] = large ? drawFace(i, kLargeCardWidth, kLargeCardHeight)
                                   : drawFace(i, kSmallCardWidth, kSmallCardHeight);
        }
        table.built = true;
    }
    return table.items[c];
}

const QPixmap &cardSelected(int c)
{
    static PixmapTable<kCardCount> table;
    if (c < 0 || c >= kCardCount)
        return emptyPixmap();
    if (!table.built) {
        for (int i = 0; i < kCardCount; ++i)
            table.items[i] = drawSelected(i);
        table.built = true;
    }
    return table.items[c];
}

const QPixmap &cardBack(bool large)
{
    static const QPixmap small = drawBack(kSmallCardWidth, kSmallCardHeight);
    static const QPixmap big = drawBack(kLargeCardWidth, kLargeCardHeight);
    return large ? big : small;
}

const QPixmap &felt()
{
    static const QPixmap tile = drawFelt();
    return tile;
}

const QPixmap &avatar(int index)
{
    static PixmapTable<kAvatarCount> table;
    if (index < 0 || index >= kAvatarCount)
        return emptyPixmap();
    if (!table.built) {
        for (int i = 0; i < kAvatarCount; ++i)
            table.items[i] = drawAvatar(i);
        table.built = true;
    }
    return table.items[index];
}

const QPixmap &button(ButtonPicture id)
{
    static PixmapTable<5> table;
    if (!table.built) {
        for (int i = 0; i < 5; ++i)
            table.items[i] = drawButtonPicture(static_cast<ButtonPicture>(i));
        table.built = true;
    }
    return table.items[static_cast<int>(id)];
}

} // namespace Pictures
