#pragma once
// The table view: felt, table, seat boxes, cards, board, pot and statistics boxes, drawn by the
// table painter from a snapshot of the game state in table units (1/100 inch times the zoom,
// y upwards).
//
// Where every part of the table lies is the view's own: the seat layout follows the game's seat
// count (SeatLayout.h), and the engine names only the part and the seat that changed.
//
// Threads: a QWidget of the UI thread. Invalidate and SetWaitCursor may be called from the
// game thread (with the game's state mutex held): they only queue work, handed to the UI thread
// under the pending mutex and announced by a queued signal. Painting and the repaint of what
// was queued lock the state mutex themselves.

#include "engine/EngineInterfaces.h"
#include "engine/GameState.h"
#include "ui/table_view/SeatLayout.h"
#include "ui/table_view/TablePainter.h"

#include <QWidget>

#include <mutex>
#include <vector>

class CDunmereGame;
class QPainter;
class QPrinter;

class CDunmereView : public QWidget, public IScreen
{
    Q_OBJECT
public:
    // The logical size of the drawing, in table units.
    static constexpr int kDocWidth = 700;
    static constexpr int kDocHeight = 550;

    explicit CDunmereView(CDunmereGame &game, QWidget *parent = nullptr);

    void Invalidate(TablePart part, int seat) override;
    void InvalidateAll() override;
    void SetWaitCursor(bool on) override;

    // The zoom of the last paint.
    double Zoom() const { return m_zoom; }
    // The device rectangle that an invalidation of rect repaints (UI thread).
    QRect InvalidationRect(const TableRect &rect) const;
    // Table point to device pixel at the current zoom and widget size.
    QPointF ToDevice(double x, double y) const;

    // Paints everything for a client area of clientSize pixels at the given resolution. The
    // caller holds the state mutex (painting and printing take a snapshot under it).
    void OnDraw(QPainter &painter, QSize clientSize, double dpiX, double dpiY);

    void PrintTable(QPrinter *printer);

    // Every hand that reached the showdown face up, or the winners' only.
    void SetShowAllAtShowdown(bool on);
    bool ShowAllAtShowdown() const { return m_showAllAtShowdown; }

signals:
    // Any thread: work is waiting under the pending mutex (connected queued to its handler).
    void invalidationsPending();
    void waitCursorPending();

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    static constexpr size_t kMaxPendingRects = 64; // beyond that the whole view is repainted
    static constexpr int kInfoLineRefreshMs = 10000;

    void FlushInvalidations();
    // Repaints the tournament line when it no longer says what was painted (UI thread).
    void RefreshInfoLine();
    static int TopBandFor(const TableSnapshot &table);
    void ApplyWaitCursor();
    TablePaintArea PaintArea(QSize client, double dpiX, double dpiY) const;

    CDunmereGame &m_game;
    std::mutex m_pendingMutex; // guards the four members below; taken inside the state mutex
    struct PendingArea
    {
        TablePart part;
        int seat;
    };
    std::vector<PendingArea> m_pending;
    bool m_pendingAll = false;
    bool m_flushPosted = false;
    std::vector<bool> m_pendingWaitCursor; // wait-cursor requests (on/off) not yet applied
    double m_zoom = 1.0;
    int m_waitCursorDepth = 0;
    bool m_showAllAtShowdown = true;
    int m_topBand = 0;     // the band of the last paint above the table (tournaments)
    QString m_paintedInfo; // the tournament line as last painted
};
