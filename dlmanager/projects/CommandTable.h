#pragma once

#include "projects/Comandi.h"
#include "projects/CommandRowTexts.h"

#include <QAbstractTableModel>

// The command list editor's table: a title row, the fixed "N°" column and five columns of texts
// exactly as typed. It holds 1500 rows, and more when a list read back from the device is longer,
// so that nothing read is dropped. Inserting or removing rows keeps that count: an inserted row
// pushes the last row out when that one is empty, a removed row is made up for at the end; "N°"
// is the row's place, so it renumbers.
class CommandTable : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int DataRows = 1500;
    static constexpr int NumberColumn = 0;
    static constexpr int ColumnCount = 1 + CommandFieldCount;

    explicit CommandTable(QObject* parent = nullptr);

    // Clears every text, then shows entry k of the list in row k.
    void fill(const CommandList& commands);

    const CommandRows& rows() const { return rows_; }
    const QString& text(int row, CommandField field) const { return rows_[row][field]; }
    void setText(int row, CommandField field, const QString& text);

    static int columnOf(CommandField field) { return 1 + field; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    CommandRows rows_;
};
