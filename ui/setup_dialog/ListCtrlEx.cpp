#include "ui/setup_dialog/ListCtrlEx.h"

#include <QHeaderView>
#include <QKeyEvent>

CListCtrlEx::CListCtrlEx(QWidget *parent)
    : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked);
    setShowGrid(true);
    setAlternatingRowColors(true);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setWordWrap(false);
}

void CListCtrlEx::SetColumnEditable(int column, bool editable)
{
    if (editable)
        m_editableColumns.insert(column);
    else
        m_editableColumns.remove(column);
    for (int row = 0; row < rowCount(); ++row)
        applyFlags(row, column);
}

bool CListCtrlEx::IsColumnEditable(int column) const
{
    return m_editableColumns.contains(column);
}

void CListCtrlEx::SetCellReadOnly(int row, int column, bool readOnly)
{
    if (readOnly)
        m_readOnlyCells.insert({row, column});
    else
        m_readOnlyCells.remove({row, column});
    applyFlags(row, column);
}

void CListCtrlEx::applyFlags(int row, int column)
{
    QTableWidgetItem *cell = item(row, column);
    if (!cell)
        return;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editableColumns.contains(column) && !m_readOnlyCells.contains({row, column}))
        flags |= Qt::ItemIsEditable;
    cell->setFlags(flags);
}

int CListCtrlEx::AddRow(const QStringList &texts)
{
    const int row = rowCount();
    insertRow(row);
    for (int column = 0; column < columnCount(); ++column) {
        setItem(row, column, new QTableWidgetItem(texts.value(column)));
        applyFlags(row, column);
    }
    return row;
}

QString CListCtrlEx::CellText(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CListCtrlEx::SetCellText(int row, int column, const QString &text)
{
    if (QTableWidgetItem *cell = item(row, column))
        cell->setText(text);
}

int CListCtrlEx::SelectedRow() const
{
    const QModelIndexList rows =
        selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QModelIndex CListCtrlEx::NextEditableCell(int row, int column, bool forward) const
{
    const int columns = columnCount();
    int index = row * columns + column;
    const int last = rowCount() * columns;
    for (;;) {
        index += forward ? 1 : -1;
        if (index < 0 || index >= last)
            return {};
        const QTableWidgetItem *cell = item(index / columns, index % columns);
        if (cell && (cell->flags() & Qt::ItemIsEditable))
            return indexFromItem(cell);
    }
}

void CListCtrlEx::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (hint != QAbstractItemDelegate::EditNextItem &&
        hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    const QModelIndex from = currentIndex();
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const QModelIndex to =
        NextEditableCell(from.row(), from.column(), hint == QAbstractItemDelegate::EditNextItem);
    if (!to.isValid())
        return;
    setCurrentIndex(to);
    scrollTo(to);
    edit(to);
}

void CListCtrlEx::keyPressEvent(QKeyEvent *event)
{
    // Row deletion is not offered: Delete does nothing here.
    if (event->key() == Qt::Key_Delete) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
