#pragma once

#include "loggeddata/SampleRendering.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"
#include "projects/Comandi.h"

#include <QAbstractTableModel>
#include <memory>
#include <vector>

// The data table SgA as a model: the rows of the last rebuild, cell texts made when the view
// asks for them. It keeps its own copy of what it shows, so a load that does not fit the
// project leaves the previous rows standing.
class SampleTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SampleTableModel(QObject* parent = nullptr);

    // False, changing nothing, when the samples do not fit the commands.
    bool rebuild(const SampleTable& table, const CommandList& commands, DisplayBase base);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rows with samples (the empty row of an empty table not counted).
    int sampleRows() const { return int(shown_.size()); }

private:
    std::unique_ptr<SampleTable> table_ = std::make_unique<SampleTable>();
    CommandList commands_;
    DisplayBase base_ = DisplayBase::Decimal;
    std::vector<int> shown_;
    mutable SampleTimeTexts texts_;
};
