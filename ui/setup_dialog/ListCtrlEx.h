#pragma once
// A report list whose cells can be edited in place: a double-click opens the cell's editor,
// leaving the editor commits it, Tab and Shift+Tab move the editor to the next or previous
// editable cell (row by row, stopping at the ends of the list).
//
// Threads: UI thread.

#include <QPair>
#include <QSet>
#include <QTableWidget>

class CListCtrlEx : public QTableWidget
{
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget *parent = nullptr);

    // Gives a column an editor (or takes it away) for every row.
    void SetColumnEditable(int column, bool editable);
    bool IsColumnEditable(int column) const;
    // Forbids or allows editing one cell, whatever its column says.
    void SetCellReadOnly(int row, int column, bool readOnly);

    // Adds a row of texts; cells of editable columns get an editor.
    int AddRow(const QStringList &texts);
    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString &text);
    // The selected row, or -1.
    int SelectedRow() const;

    // The editable cell after (or before) (row, column), or an invalid index at the list's end.
    QModelIndex NextEditableCell(int row, int column, bool forward) const;

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QSet<int> m_editableColumns;
    QSet<QPair<int, int>> m_readOnlyCells;
    void applyFlags(int row, int column);
};
