#include "loggeddata/SampleTableModel.h"

#include "loggeddata/DataTableRows.h"

#include <QColor>

namespace {

const QColor DataColumns(251, 240, 162);

}  // namespace

SampleTableModel::SampleTableModel(QObject* parent) : QAbstractTableModel(parent) {}

bool SampleTableModel::rebuild(const SampleTable& table, const CommandList& commands,
                               DisplayBase base) {
    auto shown = DataTableRows::shownSamples(table, commands);
    if (!shown) {
        return false;
    }
    beginResetModel();
    *table_ = table;
    commands_ = commands;
    base_ = base;
    shown_ = std::move(*shown);
    texts_ = SampleTimeTexts();
    endResetModel();
    return true;
}

int SampleTableModel::rowCount(const QModelIndex& parent) const {
    // An empty table still shows one empty row under the titles.
    return parent.isValid() ? 0 : std::max<int>(1, int(shown_.size()));
}

int SampleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(DataTableRows::Titles.size());
}

QVariant SampleTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::BackgroundRole) {
        return index.column() > 0 ? QVariant(DataColumns) : QVariant();
    }
    if (role != Qt::DisplayRole || size_t(index.row()) >= shown_.size()) {
        return {};
    }
    return DataTableRows::cellText(*table_, shown_[size_t(index.row())], index.row() + 1,
                                   DataTableRows::Column(index.column()), commands_, base_, texts_);
}

QVariant SampleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return DataTableRows::Titles.value(section);
    }
    return {};
}
