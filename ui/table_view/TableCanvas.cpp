#include "ui/table_view/TableCanvas.h"

#include <QPainter>

CTableCanvas::CTableCanvas(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(350, 275);
}

void CTableCanvas::setSnapshot(TableSnapshot snapshot)
{
    m_snapshot = std::move(snapshot);
    update();
}

TablePaintArea CTableCanvas::area() const
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    TablePaintArea area{size(), dpiX, dpiY, dpiX, dpiY};
    area.sideRoom = kSideRoom;
    return area;
}

void CTableCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintTable(painter, m_snapshot, area());
}
