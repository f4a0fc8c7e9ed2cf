#pragma once

#include "loggeddata/SampleRendering.h"
#include "projects/Comandi.h"

#include <QByteArray>
#include <QString>

class SampleTable;
class SampleTimeTexts;

// The semicolon-separated export for spreadsheets: a header, a row per marker and per sample
// of a visible command, values rendered as in the table; 8-bit text in the code set of the
// user's locale ('?' for what it cannot hold), every line ended by CR LF.
namespace CsvExport {

inline const QString Filter = QStringLiteral("Csv Excel File|*.Csv");
inline const QString DefaultExtension = QStringLiteral("Csv");

QByteArray build(const SampleTable& table, const CommandList& commands, DisplayBase base,
                 SampleTimeTexts& texts);
// False when the file cannot be written; then `failure`, when given, names the file and the
// system's reason.
bool write(const QString& path, const SampleTable& table, const CommandList& commands,
           DisplayBase base, SampleTimeTexts& texts, QString* failure = nullptr);

}  // namespace CsvExport
