#include "ui/equity_lab/RangeGrid.h"
#include "pokerlib/CardCodes.h"

#include <QMouseEvent>
#include <QPainter>

#include <string>

namespace {

constexpr char kRankLetters[] = "AKQJT98765432"; // by row: ace first
constexpr int kCombosOfPair = 6, kCombosOfSuited = 4, kCombosOfOffsuit = 12;

// Plain cells tell pairs, suited and offsuit hands apart at a glance; picked ones are darker.
const QColor kPairColor(222, 226, 240), kSuitedColor(226, 238, 222), kOffsuitColor(242, 236, 222);
const QColor kPairPicked(92, 112, 196), kSuitedPicked(74, 150, 88), kOffsuitPicked(196, 140, 60);

QColor HeatColor(double equity)
{
    // Red below a half, through yellow, to green for a sure win.
    const double e = std::clamp(equity, 0.0, 1.0);
    if (e < 0.5)
        return QColor(220, int(60 + 340 * e), 60);
    return QColor(int(220 - 300 * (e - 0.5)), 200, 60);
}

} // namespace

CRangeGrid::CRangeGrid(QWidget *parent)
    : QWidget(parent)
{
    m_heat.fill(-1);
    setMouseTracking(false);
    setMinimumSize(13 * 26, 13 * 22);
}

QString CRangeGrid::ClassName(int row, int col)
{
    const int high = std::min(row, col), low = std::max(row, col);
    QString name = QString(QChar(kRankLetters[high])) + QChar(kRankLetters[low]);
    if (row < col)
        name += u's';
    else if (row > col)
        name += u'o';
    return name;
}

int CRangeGrid::CombosOf(int row, int col)
{
    return row == col ? kCombosOfPair : row < col ? kCombosOfSuited : kCombosOfOffsuit;
}

int CRangeGrid::CellOf(int first, int second)
{
    const int a = 12 - brisquel::RankOf(first), b = 12 - brisquel::RankOf(second); // rows: ace 0
    const int high = std::min(a, b), low = std::max(a, b);
    const bool suited = brisquel::SameSuit(first, second);
    return suited ? high * kSide + low : low * kSide + high;
}

void CRangeGrid::setRange(const brisquel::ComboList &combos)
{
    m_picked.fill(false);
    for (const auto &[a, b] : combos)
        m_picked[std::size_t(CellOf(a, b))] = true;
    update();
}

QString CRangeGrid::rangeText() const
{
    QStringList names;
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col)
            if (isPicked(row, col))
                names << ClassName(row, col);
    return names.join(u',');
}

int CRangeGrid::comboCount() const
{
    int count = 0;
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col)
            count += isPicked(row, col) ? CombosOf(row, col) : 0;
    return count;
}

void CRangeGrid::selectTop(int percent)
{
    brisquel::ComboList combos;
    std::string error;
    if (percent > 0)
        brisquel::ParseRange("top" + std::to_string(percent) + "%", combos, error);
    setRange(combos);
}

void CRangeGrid::setHeat(const std::array<double, kClasses> &equities)
{
    m_heat = equities;
    m_hasHeat = true;
    update();
}

void CRangeGrid::clearHeat()
{
    m_heat.fill(-1);
    m_hasHeat = false;
    update();
}

QRect CRangeGrid::cellRect(int row, int col) const
{
    const int w = width() / kSide, h = height() / kSide;
    return QRect(col * w, row * h, w, h);
}

QSize CRangeGrid::sizeHint() const
{
    return QSize(13 * 34, 13 * 28);
}

void CRangeGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(std::max(8, std::min(width(), height()) / kSide / 3));
    painter.setFont(font);
    for (int row = 0; row < kSide; ++row) {
        for (int col = 0; col < kSide; ++col) {
            const QRect r = cellRect(row, col).adjusted(0, 0, -1, -1);
            const bool on = isPicked(row, col);
            const double heat = m_heat[std::size_t(row * kSide + col)];
            QColor fill = row == col  ? (on ? kPairPicked : kPairColor)
                          : row < col ? (on ? kSuitedPicked : kSuitedColor)
                                      : (on ? kOffsuitPicked : kOffsuitColor);
            if (m_hasHeat && on && heat >= 0)
                fill = HeatColor(heat);
            painter.fillRect(r, fill);
            painter.setPen(on ? Qt::white : Qt::darkGray);
            if (m_hasHeat && on && heat >= 0) {
                painter.setPen(Qt::black);
                painter.drawText(r, Qt::AlignCenter,
                                 ClassName(row, col) + u'\n' + QString::number(100 * heat, 'f', 0));
            } else {
                painter.drawText(r, Qt::AlignCenter, ClassName(row, col));
            }
        }
    }
}

int CRangeGrid::cellAt(QPoint pos) const
{
    const int w = width() / kSide, h = height() / kSide;
    if (w <= 0 || h <= 0 || pos.x() < 0 || pos.y() < 0)
        return -1;
    const int col = pos.x() / w, row = pos.y() / h;
    return row < kSide && col < kSide ? row * kSide + col : -1;
}

void CRangeGrid::apply(int cell)
{
    if (cell < 0 || m_picked[std::size_t(cell)] == m_dragPicks)
        return;
    m_picked[std::size_t(cell)] = m_dragPicks;
    update();
    emit picked();
}

void CRangeGrid::mousePressEvent(QMouseEvent *event)
{
    const int cell = cellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || cell < 0)
        return;
    m_dragging = true;
    m_dragPicks = !m_picked[std::size_t(cell)];
    apply(cell);
}

void CRangeGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        apply(cellAt(event->position().toPoint()));
}

void CRangeGrid::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}
