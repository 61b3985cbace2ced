#pragma once
// A table drawn from a snapshot it holds, for tables that are not the live game (the hand
// replayer). Painted by the same code as the live view.
//
// Threads: UI thread only.

#include "ui/table_view/TablePainter.h"

#include <QWidget>

class CTableCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit CTableCanvas(QWidget *parent = nullptr);

    void setSnapshot(TableSnapshot snapshot);
    const TableSnapshot &snapshot() const { return m_snapshot; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int kSideRoom = 45; // table units beside the drawing, for the side seats
    TablePaintArea area() const;

    TableSnapshot m_snapshot;
};
