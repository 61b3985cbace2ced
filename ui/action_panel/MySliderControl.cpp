#include "ui/action_panel/MySliderControl.h"

#include "ui/action_panel/DlgPlayerChoose.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

CMySliderControl::CMySliderControl(CDlgPlayerChoose *panel, QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
    , m_panel(panel)
    , m_thumb(kThumbColour)
    , m_thumbPressed(kThumbPressedColour)
{
    setTickPosition(QSlider::TicksBelow);
    // The slider fills its own rectangle with the panel colour, so the panel's caption paint
    // does not run each time the thumb moves.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMySliderControl::SetThumbColours(QColor normal, QColor pressed)
{
    m_thumb = normal;
    m_thumbPressed = pressed;
    update();
}

void CMySliderControl::SetPosRemembered(int pos)
{
    setValue(pos);
    m_lastPos = value();
    update();
}

bool CMySliderControl::event(QEvent *e)
{
    // Hover highlights would repaint the slider, and every paint re-derives the offered
    // amount; only real moves should do that.
    if (e->type() == QEvent::Polish || e->type() == QEvent::Show) {
        const bool handled = QSlider::event(e);
        setAttribute(Qt::WA_Hover, false);
        return handled;
    }
    return QSlider::event(e);
}

void CMySliderControl::paintEvent(QPaintEvent *)
{
    if (m_panel)
        m_panel->ApplySliderRule();

    QPainter p(this);
    // The panel's background under the slider, so that it looks transparent.
    p.fillRect(rect(), QColor::fromRgb(kPanelColour));

    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);

    // Channel: a sunken edge, widened 2 pixels up and down.
    const int cy = groove.center().y();
    const QRect channel(groove.left(), cy - 2 - 2, groove.width(), 4 + 4);
    p.setPen(QColor(20, 20, 20));
    p.drawLine(channel.topLeft(), channel.topRight());
    p.drawLine(channel.topLeft(), channel.bottomLeft());
    p.setPen(QColor(110, 110, 110));
    p.drawLine(channel.bottomLeft(), channel.bottomRight());
    p.drawLine(channel.topRight(), channel.bottomRight());

    // Tics below the channel, one per tenth of the range.
    p.setPen(QColor(150, 150, 150));
    const int span = groove.width() - handle.width();
    const int x0 = groove.left() + handle.width() / 2;
    for (int k = 0; k <= 10; ++k) {
        const int x = x0 + span * k / 10;
        p.drawLine(x, height() - 4, x, height() - 1);
    }

    // Flat thumb: a plain rectangle.
    QColor fill = isSliderDown() ? m_thumbPressed : m_thumb;
    if (!fill.isValid() || fill.rgb() == 0xFF000000)
        fill = palette().color(isSliderDown() ? QPalette::Highlight : QPalette::Button);
    p.fillRect(handle.adjusted(1, 0, -1, 0), fill);
}
