#include "ui/review/OptionBars.h"

#include "ui/coach/AdviceText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRowHeight = 20;
constexpr int kMargin = 6;
constexpr int kBarArea = 320;        // pixels from the largest loss to the largest gain at most
constexpr double kLeastSpanBb = 1.0; // bars of a few tenths still look like a few tenths
const QColor kGainColour(0x4c, 0xa8, 0x5a);
const QColor kLossColour(0xc8, 0x5a, 0x4a);
const QColor kBestColour(0x2e, 0x8b, 0x3e);

} // namespace

COptionBars::COptionBars(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("optionBars"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void COptionBars::setAdvice(const playout::Advice &advice, bool exactChoice)
{
    m_advice = advice;
    m_exactChoice = exactChoice;
    m_message.clear();
    updateGeometry();
    update();
}

void COptionBars::setMessage(const QString &text)
{
    m_advice = {};
    m_message = text;
    updateGeometry();
    update();
}

QString COptionBars::barText(int bar) const
{
    if (bar < 0 || bar >= barCount())
        return {};
    const playout::Option &o = m_advice.options[static_cast<size_t>(bar)];
    QString value = QString::fromStdString(coachui::SignedBb(o.evBb));
    value.chop(3); // " bb" goes after the error
    return tr("%1  %2 \u00b1 %3 bb")
        .arg(QString::fromStdString(playout::OptionLabel(o)), value)
        .arg(o.errorBb, 0, 'f', 1);
}

QString COptionBars::barMark(int bar) const
{
    if (bar < 0 || bar >= barCount())
        return {};
    QStringList marks;
    if (bar == m_advice.best)
        marks << tr("best");
    if (bar == m_advice.chosen)
        marks << (m_exactChoice ? tr("you") : tr("you \u2248"));
    return marks.join(QStringLiteral(" \u00b7 "));
}

double COptionBars::barValue(int bar) const
{
    return bar >= 0 && bar < barCount() ? m_advice.options[static_cast<size_t>(bar)].evBb : 0.0;
}

COptionBars::Columns COptionBars::columns() const
{
    // The best option's texts are bold: every text is measured so.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    Columns c;
    double labelWidth = 0, valueWidth = 0;
    double low = 0, high = 0;
    for (int i = 0; i < barCount(); ++i) {
        const playout::Option &o = m_advice.options[static_cast<size_t>(i)];
        labelWidth = std::max<double>(
            labelWidth, metrics.horizontalAdvance(QString::fromStdString(playout::OptionLabel(o))));
        const QString value =
            barText(i).section(QStringLiteral("  "), 1) + QStringLiteral("  ") + barMark(i);
        valueWidth = std::max<double>(valueWidth, metrics.horizontalAdvance(value));
        // Room for the error whiskers too.
        low = std::min(low, o.evBb - o.errorBb);
        high = std::max(high, o.evBb + o.errorBb);
    }
    const double span = std::max(high - low, kLeastSpanBb);
    const double area =
        std::clamp<double>(width() - 2 * kMargin - labelWidth - valueWidth - 24, 60, kBarArea);
    c.labelRight = kMargin + labelWidth;
    c.scale = area / span;
    c.zero = c.labelRight + 8 + (-low) * c.scale;
    c.valueLeft = c.labelRight + 8 + area + 8;
    return c;
}

QRectF COptionBars::rowRect(int bar) const
{
    return QRectF(0, kMargin + bar * kRowHeight, width(), kRowHeight);
}

QRectF COptionBars::barRect(int bar) const
{
    if (bar < 0 || bar >= barCount())
        return {};
    const Columns c = columns();
    const double value = barValue(bar);
    const QRectF row = rowRect(bar);
    const double length = std::abs(value) * c.scale;
    return QRectF(value >= 0 ? c.zero : c.zero - length, row.top() + 4, length, row.height() - 8);
}

QSize COptionBars::sizeHint() const
{
    const int rows = std::max(barCount(), 1) + (exploitNote().isEmpty() ? 0 : 1);
    return QSize(kMargin * 2 + 560, kMargin * 2 + rows * kRowHeight);
}

QSize COptionBars::minimumSizeHint() const
{
    return QSize(200, sizeHint().height());
}

void COptionBars::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (barCount() == 0) {
        p.drawText(rect().adjusted(kMargin, 0, -kMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   m_message);
        return;
    }
    const Columns c = columns();
    const QColor text = palette().color(QPalette::WindowText);
    for (int i = 0; i < barCount(); ++i) {
        const playout::Option &o = m_advice.options[static_cast<size_t>(i)];
        const QRectF row = rowRect(i);
        QFont font = this->font();
        font.setBold(i == m_advice.best);
        p.setFont(font);
        p.setPen(text);
        p.drawText(QRectF(kMargin, row.top(), c.labelRight - kMargin, row.height()),
                   Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromStdString(playout::OptionLabel(o)));
        const QRectF bar = barRect(i);
        const QColor fill = i == m_advice.best ? kBestColour
                            : o.evBb >= 0      ? kGainColour
                                               : kLossColour;
        p.fillRect(bar, fill);
        // The error as a whisker either side of the value.
        const double end = o.evBb >= 0 ? bar.right() : bar.left();
        const double whisker = o.errorBb * c.scale;
        p.setPen(QPen(text, 1));
        const double middle = bar.center().y();
        p.drawLine(QPointF(end - whisker, middle), QPointF(end + whisker, middle));
        if (i == m_advice.chosen) {
            p.setPen(QPen(text, 2, m_exactChoice ? Qt::SolidLine : Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(bar.adjusted(-2, -2, 2, 2));
        }
        p.setPen(text);
        const QString value = barText(i).section(QStringLiteral("  "), 1);
        const QString mark = barMark(i);
        p.drawText(QRectF(c.valueLeft, row.top(), width() - c.valueLeft, row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter,
                   mark.isEmpty() ? value : value + QStringLiteral("  ") + mark);
    }
    // The zero line.
    p.setPen(QPen(text, 1, Qt::DotLine));
    p.drawLine(QPointF(c.zero, kMargin), QPointF(c.zero, kMargin + barCount() * kRowHeight));
    // Where the best option only beats the computer opponents' own code: the standard answer.
    const QString standard = exploitNote();
    if (!standard.isEmpty()) {
        p.setPen(text);
        p.drawText(
            QRectF(kMargin, kMargin + barCount() * kRowHeight, width() - 2 * kMargin, kRowHeight),
            Qt::AlignLeft | Qt::AlignVCenter,
            fontMetrics().elidedText(standard, Qt::ElideRight, width() - 2 * kMargin));
    }
}

QString COptionBars::exploitNote() const
{
    return barCount() > 0 ? QString::fromStdString(playout::ExploitLine(m_advice)) : QString();
}
