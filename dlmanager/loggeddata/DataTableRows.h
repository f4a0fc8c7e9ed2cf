#pragma once

#include "loggeddata/SampleRendering.h"
#include "projects/Comandi.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class SampleTable;
class SampleTimeTexts;

// The rows of the data table: every hardware marker and every sample of a visible command, in
// table order, and the texts of their cells.
namespace DataTableRows {

inline const QStringList Titles = {QStringLiteral("N°"),       QStringLiteral("Description"),
                                   QStringLiteral("Date"),     QStringLiteral("Data Address"),
                                   QStringLiteral("N° Point"), QStringLiteral("Data")};
enum Column { Number, Description, Date, Address, Points, Data };

// The indexes of the samples shown; nothing when a sample's command is neither in the list
// nor a marker (the project does not fit the samples).
std::optional<std::vector<int>> shownSamples(const SampleTable& table, const CommandList& commands);

// The text of a cell of the row showing `sample`, numbered `rowNumber` from 1.
QString cellText(const SampleTable& table, int sample, int rowNumber, Column column,
                 const CommandList& commands, DisplayBase base, SampleTimeTexts& texts);

}  // namespace DataTableRows
