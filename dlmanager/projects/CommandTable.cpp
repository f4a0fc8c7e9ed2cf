#include "projects/CommandTable.h"

#include <algorithm>

namespace {

const char* const Titles[CommandTable::ColumnCount] = {
    "N°", "Address Word", "N° Point", "Decimal Number", "Ing. unit", "Description"};

bool isEmptyRow(const CommandRowTexts& row) {
    return std::all_of(row.begin(), row.end(),
                       [](const QString& text) { return text.trimmed().isEmpty(); });
}

}  // namespace

CommandTable::CommandTable(QObject* parent)
    : QAbstractTableModel(parent), rows_(static_cast<size_t>(DataRows)) {}

void CommandTable::fill(const CommandList& commands) {
    beginResetModel();
    rows_.assign(std::max(commands.size(), static_cast<size_t>(DataRows)), CommandRowTexts{});
    for (size_t k = 0; k < commands.size(); ++k) {
        rows_[k] = textsOf(commands[k]);
    }
    endResetModel();
}

void CommandTable::setText(int row, CommandField field, const QString& text) {
    rows_[row][field] = text;
    const QModelIndex cell = index(row, columnOf(field));
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

int CommandTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CommandTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CommandTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    if (index.column() == NumberColumn) {
        return index.row();
    }
    return rows_[index.row()][index.column() - 1];
}

bool CommandTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() == NumberColumn || role != Qt::EditRole) {
        return false;
    }
    setText(index.row(), static_cast<CommandField>(index.column() - 1), value.toString());
    return true;
}

Qt::ItemFlags CommandTable::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == NumberColumn ? shown : shown | Qt::ItemIsEditable;
}

QVariant CommandTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return {};
    }
    return QString::fromUtf8(Titles[section]);
}

bool CommandTable::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > rowCount() || count < 1) {
        return false;
    }
    beginInsertRows(parent, row, row + count - 1);
    rows_.insert(rows_.begin() + row, size_t(count), CommandRowTexts{});
    endInsertRows();
    int last = rowCount() - 1;
    while (last >= DataRows && last >= row + count && isEmptyRow(rows_[size_t(last)])) {
        --last;
    }
    if (last < rowCount() - 1) {
        beginRemoveRows(parent, last + 1, rowCount() - 1);
        rows_.resize(size_t(last + 1));
        endRemoveRows();
    }
    return true;
}

bool CommandTable::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount()) {
        return false;
    }
    beginRemoveRows(parent, row, row + count - 1);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    endRemoveRows();
    if (rowCount() < DataRows) {
        beginInsertRows(parent, rowCount(), DataRows - 1);
        rows_.resize(size_t(DataRows));
        endInsertRows();
    }
    return true;
}
