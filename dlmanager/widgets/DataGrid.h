#pragma once

#include <QAbstractItemDelegate>
#include <QList>
#include <QTableView>

class QMenu;

// A grid whose fixed columns (row numbers and the like) are shown but never become the current
// cell: Tab, the arrow keys and clicks only reach the other columns, and typing never searches
// the grid. Tab runs along a row's open columns and on to the next row's first, Shift+Tab back
// the same way.
//
// It edits like a spreadsheet: Enter commits the cell and goes down a row (Shift+Enter up;
// outside an edit, a grid without paste leaves Return to its dialog), Ctrl+C copies the selected
// cells as tab-separated lines. Where the grid allows it, Ctrl+V pastes such a block (or a
// semicolon-separated one) from the current cell right and down into the editable cells, Delete and
// Backspace clear the selected cells, and Ctrl+Insert / Ctrl+Delete (or the context menu) insert a
// row above the current one and remove the selected rows, through the model's insertRows and
// removeRows.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    enum Edit { CopyOnly = 0, PasteAndClear = 1, RowEditing = 2 };
    Q_DECLARE_FLAGS(Edits, Edit)

    explicit DataGrid(QWidget* parent = nullptr);

    void setFixedColumns(QList<int> columns);
    // The keyboard to the first open cell of the first row.
    void startAtFirstCell();
    bool isFixedColumn(int column) const { return fixed_.contains(column); }
    void setEdits(Edits edits) { edits_ = edits; }

    // Typed text opens the current cell's editor or goes nowhere.
    void keyboardSearch(const QString&) override {}

    void copySelection();
    // Pastes the clipboard's text; `pasteText` the given text the same way.
    void paste();
    void pasteText(const QString& text);
    void clearSelectedCells();
    void insertRow();
    void removeRows();

protected:
    using QTableView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool takesCursor(int column) const;
    // The first column from `column` on, going by `step`, that takes the cursor; -1 if none.
    int openColumnFrom(int column, int step) const;
    QModelIndex alongRows(const QModelIndex& current, int step) const;
    QModelIndex onOpenColumn(const QModelIndex& index) const;
    bool onFixedCell(const QMouseEvent* event) const;
    // The grid's own keys; true when the key was one of them.
    bool gridKey(const QKeyEvent* event);
    // The keys an open editor leaves to the grid; true when handled.
    bool editorKey(QWidget* editor, const QKeyEvent* event);
    void moveDown(int step);
    QModelIndexList selectedOrCurrent() const;
    // The selected rows, or the current one, from the top.
    QList<int> chosenRows() const;

    QList<int> fixed_;
    Edits edits_ = CopyOnly;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(DataGrid::Edits)
