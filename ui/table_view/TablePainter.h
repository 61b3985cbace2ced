#pragma once
// The table's painting, shared by the live view and the hand replayer: felt, table, seat
// boxes, bets, cards, board and pot, drawn from a snapshot.

#include "ui/table_view/TableSnapshot.h"

#include <QPointF>
#include <QSize>

class QPainter;

// Where and how large to draw: a client area of `client` pixels at the painter's resolution
// (dpiX, dpiY); screenDpiX/Y are the widget's own, which the felt follows (they differ from
// dpiX/Y when printing).
struct TablePaintArea
{
    QSize client;
    double dpiX = 96;
    double dpiY = 96;
    double screenDpiX = 96;
    double screenDpiY = 96;
    // Device pixels kept free above the table for the tournament line: nothing of the table
    // is drawn there but the felt.
    int topBand = 0;
    // Table units kept free left and right of the drawing's width: the side seats' boxes and
    // cards reach past it, which a window narrower than the table's shape would cut off.
    int sideRoom = 0;
};

// The band a table with a tournament line keeps above it, in device pixels.
inline constexpr int kInfoBandHeight = 30;

// Paints the table; returns the zoom it used.
double PaintTable(QPainter &painter, const TableSnapshot &table, const TablePaintArea &area);

// Table point to device pixel for a paint of the given area and zoom.
QPointF TableToDevice(const TablePaintArea &area, double zoom, double x, double y);
