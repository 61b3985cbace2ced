#pragma once
// The 13 x 13 grid of starting-hand classes: pairs on the diagonal, suited hands above it,
// offsuit hands below, aces at the top left. A click picks or unpicks a class and a drag
// carries that choice over every cell it crosses. After a count each picked class can show its
// equity as a heat map.
//
// Threads: UI thread only.

#include "pokerlib/RangeNotation.h"

#include <QWidget>

#include <array>

class CRangeGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSide = 13;
    static constexpr int kClasses = kSide * kSide;

    explicit CRangeGrid(QWidget *parent = nullptr);

    // Row and column 0 are the ace, 12 the deuce.
    static QString ClassName(int row, int col);
    static int CombosOf(int row, int col);
    // The cell of a combination (two card integers).
    static int CellOf(int first, int second);

    bool isPicked(int row, int col) const { return m_picked[std::size_t(row * kSide + col)]; }
    // Picks every class that holds one of the combinations, and only those.
    void setRange(const brisquel::ComboList &combos);
    // The picked classes as range text ("AA,AKs,KQo"), empty when none is picked.
    QString rangeText() const;
    int comboCount() const;
    // The best `percent` % of hands, as the range notation's "topX%" orders them.
    void selectTop(int percent);

    // Equity per cell, negative for none; an empty heat map shows the plain grid.
    void setHeat(const std::array<double, kClasses> &equities);
    void clearHeat();
    bool hasHeat() const { return m_hasHeat; }
    double heatAt(int row, int col) const { return m_heat[std::size_t(row * kSide + col)]; }

    QRect cellRect(int row, int col) const;
    QSize sizeHint() const override;

signals:
    // The user changed the picked classes.
    void picked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int cellAt(QPoint pos) const;
    void apply(int cell);

    std::array<bool, kClasses> m_picked{};
    std::array<double, kClasses> m_heat{};
    bool m_hasHeat = false;
    bool m_dragging = false;
    bool m_dragPicks = true; // a drag picks (or unpicks, when it began on a picked class)
};
