#pragma once

#include "loggeddata/SampleRendering.h"
#include "projects/Comandi.h"

#include <QString>

class CliPrompts;
class SampleTable;
class SampleTimeTexts;

// The data file (.xml) or the CSV export (.csv) the name asks for.
enum class SampleFormat { Xml, Csv };
// Nothing, after telling why, for other extensions and for the project's own file names.
std::optional<SampleFormat> sampleFormatOf(const QString& path, CliPrompts& prompts);

// Writes the samples; false after telling why.
bool writeSamples(const QString& path, SampleFormat format, const SampleTable& samples,
                  const CommandList& commands, DisplayBase base, SampleTimeTexts& texts,
                  CliPrompts& prompts);
