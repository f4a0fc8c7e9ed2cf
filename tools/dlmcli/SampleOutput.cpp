#include "SampleOutput.h"

#include "CliPrompts.h"
#include "base/WholeFile.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTable.h"

#include <QMap>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QMap<QString, SampleFormat> FormatNames = {{QStringLiteral("xml"), SampleFormat::Xml},
                                                 {QStringLiteral("csv"), SampleFormat::Csv}};

bool writeStandardOutput(const QByteArray& bytes, CliPrompts& prompts) {
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0) {
        return true;
    }
    prompts.inform(QStringLiteral("Cannot write to standard output: ") +
                   QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

}  // namespace

bool mayTakeSamples(const QString& path, CliPrompts& prompts) {
    if (DataFiles::isProjectFileName(path)) {
        prompts.inform(QStringLiteral("A project file cannot take the samples: ") + path);
        return false;
    }
    return true;
}

std::optional<SampleFormat> sampleFormatOf(const QString& path, const QString& format,
                                           CliPrompts& prompts) {
    if (!format.isEmpty() && !FormatNames.contains(format)) {
        prompts.inform(QStringLiteral("--format is xml or csv: ") + format);
        return std::nullopt;
    }
    if (path == StandardOutput) {
        return FormatNames.value(format, SampleFormat::Xml);
    }
    if (!mayTakeSamples(path, prompts)) {
        return std::nullopt;
    }
    std::optional<SampleFormat> named;
    for (auto it = FormatNames.begin(); it != FormatNames.end(); ++it) {
        if (path.endsWith(u'.' + it.key(), Qt::CaseInsensitive)) {
            named = it.value();
        }
    }
    if (!named) {
        prompts.inform(QStringLiteral("The output must be a .xml data file, a .csv export or - "
                                      "for standard output: ") +
                       path);
        return std::nullopt;
    }
    if (!format.isEmpty() && FormatNames.value(format) != *named) {
        prompts.inform(QStringLiteral("--format %1 does not fit the name %2").arg(format, path));
        return std::nullopt;
    }
    return named;
}

bool writeSamples(const QString& path, SampleFormat format, const SampleTable& samples,
                  const CommandList& commands, DisplayBase base, SampleTimeTexts& texts,
                  CliPrompts& prompts) {
    const std::optional<QByteArray> bytes = format == SampleFormat::Xml
                                                ? DataFiles::build(samples, texts)
                                                : CsvExport::build(samples, commands, base, texts);
    if (!bytes) {
        prompts.inform(LoggedDataTexts::WriteFailed + path);
        return false;
    }
    if (path == StandardOutput) {
        if (!writeStandardOutput(*bytes, prompts)) {
            return false;
        }
        std::fprintf(stderr, "%d samples written to standard output\n", samples.size());
        return true;
    }
    if (QString reason; !writeFileWhole(path, *bytes, &reason)) {
        prompts.inform(writeFailureText(path, reason));
        return false;
    }
    std::fprintf(stderr, "%d samples written to %s\n", samples.size(), qPrintable(path));
    return true;
}
