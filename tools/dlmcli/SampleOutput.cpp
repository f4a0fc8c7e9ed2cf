#include "SampleOutput.h"

#include "CliPrompts.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTable.h"

#include <cstdio>

std::optional<SampleFormat> sampleFormatOf(const QString& path, CliPrompts& prompts) {
    if (DataFiles::isProjectFileName(path)) {
        prompts.inform(QStringLiteral("A project file cannot take the samples: ") + path);
        return std::nullopt;
    }
    if (path.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive)) {
        return SampleFormat::Xml;
    }
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        return SampleFormat::Csv;
    }
    prompts.inform(QStringLiteral("The output must be a .xml data file or a .csv export: ") + path);
    return std::nullopt;
}

bool writeSamples(const QString& path, SampleFormat format, const SampleTable& samples,
                  const CommandList& commands, DisplayBase base, SampleTimeTexts& texts,
                  CliPrompts& prompts) {
    QString failure;
    const bool written =
        format == SampleFormat::Xml
            ? DataFiles::save(path, samples, texts, &failure) == DataFiles::SaveResult::Saved
            : CsvExport::write(path, samples, commands, base, texts, &failure);
    if (!written) {
        prompts.inform(failure.isEmpty() ? LoggedDataTexts::WriteFailed + path : failure);
        return false;
    }
    std::fprintf(stderr, "%d samples written to %s\n", samples.size(), qPrintable(path));
    return true;
}
