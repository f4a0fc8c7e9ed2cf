#include "widgets/DataGrid.h"

#include <QMouseEvent>

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {}

void DataGrid::setFixedColumns(QList<int> columns) {
    fixed_ = std::move(columns);
    const QModelIndex current = currentIndex();
    if (current.isValid() && !takesCursor(current.column())) {
        setCurrentIndex(onOpenColumn(current));
    }
}

bool DataGrid::takesCursor(int column) const {
    return model() && column >= 0 && column < model()->columnCount(rootIndex()) &&
           !isFixedColumn(column) && !isColumnHidden(column);
}

int DataGrid::openColumnFrom(int column, int step) const {
    const int columns = model() ? model()->columnCount(rootIndex()) : 0;
    for (; column >= 0 && column < columns; column += step) {
        if (takesCursor(column)) {
            return column;
        }
    }
    return -1;
}

QModelIndex DataGrid::alongRows(const QModelIndex& current, int step) const {
    const int rows = model()->rowCount(rootIndex());
    const int lastColumn = model()->columnCount(rootIndex()) - 1;
    const int rowStart = step > 0 ? 0 : lastColumn;  // where the search starts in a new row
    int row = current.isValid() ? current.row() : (step > 0 ? 0 : rows - 1);
    int column = current.isValid() ? current.column() + step : rowStart;
    while (row >= 0 && row < rows) {
        const int open = isRowHidden(row) ? -1 : openColumnFrom(column, step);
        if (open >= 0) {
            return model()->index(row, open, rootIndex());
        }
        row += step;
        column = rowStart;
    }
    return current;  // at the last (or first) open cell: no move
}

QModelIndex DataGrid::onOpenColumn(const QModelIndex& index) const {
    if (!index.isValid() || takesCursor(index.column())) {
        return index;
    }
    int column = openColumnFrom(index.column(), 1);
    if (column < 0) {
        column = openColumnFrom(index.column(), -1);
    }
    return column < 0 ? QModelIndex() : index.siblingAtColumn(column);
}

QModelIndex DataGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (!model()) {
        return {};
    }
    const QModelIndex current = currentIndex();
    switch (action) {
        case MoveNext:
            return alongRows(current, 1);
        case MovePrevious:
            return alongRows(current, -1);
        case MoveLeft:
        case MoveRight: {
            if (!current.isValid()) {
                break;
            }
            const int step = action == MoveRight ? 1 : -1;
            const int column = openColumnFrom(current.column() + step, step);
            return column < 0 ? current : current.siblingAtColumn(column);
        }
        default:
            break;
    }
    return onOpenColumn(QTableView::moveCursor(action, modifiers));
}

bool DataGrid::onFixedCell(const QMouseEvent* event) const {
    const QModelIndex at = indexAt(event->position().toPoint());
    return at.isValid() && !takesCursor(at.column());
}

// A click on a fixed cell ends an edit, as any click in the grid does, but leaves the current
// cell where it is.
void DataGrid::mousePressEvent(QMouseEvent* event) {
    if (onFixedCell(event)) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

// A drag over a fixed cell does not carry the current cell onto it.
void DataGrid::mouseMoveEvent(QMouseEvent* event) {
    if (onFixedCell(event)) {
        event->accept();
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onFixedCell(event)) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}
