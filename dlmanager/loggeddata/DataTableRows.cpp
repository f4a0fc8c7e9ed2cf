#include "loggeddata/DataTableRows.h"

#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"

namespace DataTableRows {

std::optional<std::vector<int>> shownSamples(const SampleTable& table,
                                             const CommandList& commands) {
    if (!isCompatible(table, commands)) {
        return std::nullopt;
    }
    std::vector<int> shown;
    shown.reserve(size_t(table.size()));
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        const int32_t command = table[i].command;
        if (isMarker(command) || commands[size_t(command)].Visible) {
            shown.push_back(i);
        }
    }
    return shown;
}

QString cellText(const SampleTable& table, int sample, int rowNumber, Column column,
                 const CommandList& commands, DisplayBase base, SampleTimeTexts& texts) {
    const TDati_DL& row = table[sample];
    const bool marker = isMarker(row.command);
    switch (column) {
        case Number:
            return QString::number(rowNumber);
        case Date:
            return texts.dateTime(row.date);
        case Description:
            if (marker) {
                return row.command == HardwareStopMarker ? QStringLiteral("STOP FROM HARDWARE")
                                                         : QStringLiteral("START FROM HARDWARE");
            }
            return commands[size_t(row.command)].Description;
        default:
            break;
    }
    if (marker) {
        return {};
    }
    const Comandi& command = commands[size_t(row.command)];
    if (column == Address) {
        return QString::number(command.DataAddress);
    }
    if (column == Points) {
        return QString::number(command.PointCount);
    }
    QString text;
    for (const uint16_t value : table.datas(sample)) {
        text += u'[' + renderValue(value, command, base, texts.decimalSeparator()) + u' ' +
                command.Unit + u']';
    }
    return text;
}

}  // namespace DataTableRows
