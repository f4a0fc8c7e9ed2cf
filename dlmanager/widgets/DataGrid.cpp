#include "widgets/DataGrid.h"

#include "base/CellBlock.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <set>

namespace {

const QKeySequence InsertRowKey(Qt::CTRL | Qt::Key_Insert);
const QKeySequence RemoveRowKey(Qt::CTRL | Qt::Key_Delete);

bool isEnter(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isKey(const QKeyEvent* event, const QKeySequence& sequence) {
    return QKeySequence(event->keyCombination()) == sequence;
}

// A block rather than text for one cell: it spans cells or lines.
bool isBlock(const QString& text) {
    const CellBlock block = parseCellBlock(text);
    return block.size() > 1 ||
           (block.size() == 1 && block.front().size() > 1 && text.contains(u'\t'));
}

}  // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {}

void DataGrid::setFixedColumns(QList<int> columns) {
    fixed_ = std::move(columns);
    const QModelIndex current = currentIndex();
    if (current.isValid() && !takesCursor(current.column())) {
        setCurrentIndex(onOpenColumn(current));
    }
}

void DataGrid::startAtFirstCell() {
    if (model() && model()->rowCount(rootIndex()) > 0) {
        setCurrentIndex(onOpenColumn(model()->index(0, 0, rootIndex())));
        scrollToTop();
    }
    setFocus(Qt::OtherFocusReason);
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

// The editor gets the grid as its first event filter, ahead of the delegate's, so that Enter
// commits and moves at once rather than after the delegate's queued commit.
bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const bool editing = QTableView::edit(index, trigger, event);
    if (editing) {
        if (QWidget* editor = indexWidget(index)) {
            editor->installEventFilter(this);
        }
    }
    return editing;
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event) {
    // Editors are the viewport's children; nothing else is watched here.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->parentWidget() == viewport() &&
        editorKey(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool DataGrid::editorKey(QWidget* editor, const QKeyEvent* event) {
    const bool enter = isEnter(event);
    // In a cell, text that spans cells is pasted as a block; any other goes into the cell.
    const bool block = (edits_ & PasteAndClear) && event->matches(QKeySequence::Paste) &&
                       QApplication::clipboard() && isBlock(QApplication::clipboard()->text());
    if (!enter && !block) {
        return false;
    }
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (enter) {
        moveDown(event->modifiers() & Qt::ShiftModifier ? -1 : 1);
    } else {
        paste();
    }
    return true;
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (state() != EditingState && gridKey(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool DataGrid::gridKey(const QKeyEvent* event) {
    if (!model()) {
        return false;
    }
    // Outside an edit, a grid of choices leaves Return to its dialog's default button.
    if (isEnter(event) && (edits_ & PasteAndClear)) {
        moveDown(event->modifiers() & Qt::ShiftModifier ? -1 : 1);
        return true;
    }
    // Before Copy: on some desktops Ctrl+Insert is Copy too.
    if ((edits_ & RowEditing) && isKey(event, InsertRowKey)) {
        insertRow();
        return true;
    }
    if ((edits_ & RowEditing) && isKey(event, RemoveRowKey)) {
        removeRows();
        return true;
    }
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    if ((edits_ & PasteAndClear) && event->matches(QKeySequence::Paste)) {
        paste();
        return true;
    }
    if ((edits_ & PasteAndClear) && event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
        clearSelectedCells();
        return true;
    }
    return false;
}

void DataGrid::moveDown(int step) {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return;
    }
    int row = current.row() + step;
    while (row >= 0 && row < model()->rowCount(rootIndex()) && isRowHidden(row)) {
        row += step;
    }
    if (row >= 0 && row < model()->rowCount(rootIndex())) {
        selectionModel()->setCurrentIndex(current.siblingAtRow(row),
                                          QItemSelectionModel::ClearAndSelect);
    }
}

QModelIndexList DataGrid::selectedOrCurrent() const {
    QModelIndexList cells =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (cells.isEmpty() && currentIndex().isValid()) {
        cells << currentIndex();
    }
    return cells;
}

void DataGrid::copySelection() {
    const QModelIndexList cells = selectedOrCurrent();
    std::set<int> rows;
    std::set<int> columns;
    for (const QModelIndex& cell : cells) {
        if (!isRowHidden(cell.row()) && !isColumnHidden(cell.column())) {
            rows.insert(cell.row());
            columns.insert(cell.column());
        }
    }
    CellBlock block;
    for (const int row : rows) {
        QStringList line;
        for (const int column : columns) {
            const QModelIndex cell = model()->index(row, column, rootIndex());
            line << (selectionModel()->isSelected(cell) || cell == currentIndex()
                         ? cell.data().toString()
                         : QString());
        }
        block << line;
    }
    if (!block.isEmpty() && QApplication::clipboard()) {
        QApplication::clipboard()->setText(cellBlockText(block));
    }
}

void DataGrid::paste() {
    if (QApplication::clipboard()) {
        pasteText(QApplication::clipboard()->text());
    }
}

// Typed as if by hand: every text goes in as it is, whatever its column expects.
void DataGrid::pasteText(const QString& text) {
    const QModelIndex start = currentIndex();
    const CellBlock block = parseCellBlock(text);
    if (!start.isValid() || block.isEmpty()) {
        return;
    }
    QList<int> columns;
    for (int column = openColumnFrom(start.column(), 1); column >= 0;
         column = openColumnFrom(column + 1, 1)) {
        columns << column;
    }
    const int rows = model()->rowCount(rootIndex());
    QItemSelection pasted;
    int row = start.row();
    for (const QStringList& line : block) {
        while (row < rows && isRowHidden(row)) {
            ++row;
        }
        if (row >= rows) {
            break;  // the grid's last row is its limit
        }
        const int width = std::min<int>(int(line.size()), int(columns.size()));
        for (int k = 0; k < width; ++k) {
            const QModelIndex cell = model()->index(row, columns[k], rootIndex());
            if (cell.flags() & Qt::ItemIsEditable) {
                model()->setData(cell, line[k], Qt::EditRole);
            }
        }
        if (width > 0) {
            pasted.select(model()->index(row, columns.front(), rootIndex()),
                          model()->index(row, columns[width - 1], rootIndex()));
        }
        ++row;
    }
    selectionModel()->select(pasted, QItemSelectionModel::ClearAndSelect);
}

void DataGrid::clearSelectedCells() {
    for (const QModelIndex& cell : selectedOrCurrent()) {
        if ((cell.flags() & Qt::ItemIsEditable) && !cell.data(Qt::EditRole).toString().isEmpty()) {
            model()->setData(cell, QString(), Qt::EditRole);
        }
    }
}

QList<int> DataGrid::chosenRows() const {
    std::set<int> rows;
    for (const QModelIndex& cell : selectedOrCurrent()) {
        rows.insert(cell.row());
    }
    return QList<int>(rows.begin(), rows.end());
}

void DataGrid::insertRow() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return;
    }
    const int column = current.column();
    const int row = current.row();
    if (model()->insertRows(row, 1, rootIndex())) {
        const QModelIndex inserted = model()->index(row, column, rootIndex());
        selectionModel()->setCurrentIndex(inserted, QItemSelectionModel::ClearAndSelect);
    }
}

void DataGrid::removeRows() {
    const QModelIndex current = currentIndex();
    const QList<int> rows = chosenRows();
    if (!current.isValid() || rows.isEmpty()) {
        return;
    }
    const int column = current.column();
    // From the bottom, a run of neighbouring rows at a time, so that the rows still to go keep
    // their numbers.
    for (qsizetype last = rows.size() - 1; last >= 0;) {
        qsizetype first = last;
        while (first > 0 && rows[first - 1] == rows[first] - 1) {
            --first;
        }
        model()->removeRows(rows[first], int(last - first + 1), rootIndex());
        last = first - 1;
    }
    const int count = model()->rowCount(rootIndex());
    if (count > 0) {
        const QModelIndex next =
            model()->index(std::min(rows.front(), count - 1), column, rootIndex());
        selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    }
}

void DataGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!model()) {
        return;
    }
    const QModelIndex at = indexAt(event->pos());
    if (at.isValid() && takesCursor(at.column()) && !selectionModel()->isSelected(at)) {
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("Copy"), QKeySequence::Copy, this, &DataGrid::copySelection);
    if (edits_ & PasteAndClear) {
        menu.addAction(QStringLiteral("Paste"), QKeySequence::Paste, this, &DataGrid::paste);
    }
    if (edits_ & RowEditing) {
        menu.addSeparator();
        menu.addAction(QStringLiteral("Insert Row"), InsertRowKey, this, &DataGrid::insertRow);
        menu.addAction(QStringLiteral("Remove Row"), RemoveRowKey, this, &DataGrid::removeRows);
    }
    menu.exec(event->globalPos());
}
