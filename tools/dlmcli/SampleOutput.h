#pragma once

#include "loggeddata/SampleRendering.h"
#include "projects/Comandi.h"

#include <QString>
#include <optional>

class CliPrompts;
class SampleTable;
class SampleTimeTexts;

// Where samples go: a file, or standard output for "-".
inline const QString StandardOutput = QStringLiteral("-");

// The data file (.xml) or the CSV export (.csv) the name asks for; for "-" the one `format`
// names ("xml", the default, or "csv"). Nothing, after telling why, for other extensions, a
// `format` that says otherwise, and the project's own file names.
enum class SampleFormat { Xml, Csv };
std::optional<SampleFormat> sampleFormatOf(const QString& path, const QString& format,
                                           CliPrompts& prompts);

// False, after telling why, for the project's own file names, which no samples may overwrite.
bool mayTakeSamples(const QString& path, CliPrompts& prompts);

// Writes the samples to the file or to standard output; false after telling why.
bool writeSamples(const QString& path, SampleFormat format, const SampleTable& samples,
                  const CommandList& commands, DisplayBase base, SampleTimeTexts& texts,
                  CliPrompts& prompts);
