#pragma once

#include <QList>
#include <QTableView>

// A grid whose fixed columns (row numbers and the like) are shown but never become the current
// cell: Tab, the arrow keys and clicks only reach the other columns, and typing never searches
// the grid. Tab runs along a row's open columns and on to the next row's first, Shift+Tab back
// the same way.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void setFixedColumns(QList<int> columns);
    bool isFixedColumn(int column) const { return fixed_.contains(column); }

    // Typed text opens the current cell's editor or goes nowhere.
    void keyboardSearch(const QString&) override {}

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
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

    QList<int> fixed_;
};
