#include "CliOptions.h"
#include "CliPrompts.h"
#include "SampleOutput.h"
#include "Subcommands.h"
#include "base/WholeFile.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTimeTexts.h"
#include "projects/ProjectFiles.h"

#include <QFileInfo>
#include <memory>

// "Load Data" then "Export Cvs": a data file to the CSV export, in the chosen display base.
int runExport(const QStringList& arguments, CliPrompts& prompts) {
    const auto options = parseCliOptions(
        arguments, 1, {"--project", "--csv", "--base"}, {"--iso"},
        QStringLiteral(
            "export DATA.xml --project DIR --csv OUT.csv|- [--base dec|hex|bin] [--iso]"),
        prompts);
    if (!options || !options->has("--project") || !options->has("--csv")) {
        if (options) {
            prompts.inform(QStringLiteral("export needs --project and --csv"));
        }
        return 2;
    }
    const QMap<QString, DisplayBase> bases = {{"dec", DisplayBase::Decimal},
                                              {"hex", DisplayBase::Hexadecimal},
                                              {"bin", DisplayBase::Binary}};
    const QString baseName = options->values.value("--base", QStringLiteral("dec"));
    if (!bases.contains(baseName)) {
        prompts.inform(QStringLiteral("--base is dec, hex or bin: ") + baseName);
        return 2;
    }
    const QString project = options->value("--project");
    if (!QFileInfo(project).isDir()) {
        prompts.inform(QStringLiteral("Project folder not found: ") + project);
        return 1;
    }
    const QString input = options->positional.front();
    if (DataFiles::isProjectFileName(input)) {
        prompts.inform(QStringLiteral("A project file is no data file: ") + input);
        return 1;
    }
    const QString output = options->value("--csv");
    if (output != StandardOutput && !mayTakeSamples(output, prompts)) {
        return 1;
    }
    SampleTimeTexts texts(options->flags.contains("--iso") ? SampleTimeTexts::Style::Iso
                                                           : SampleTimeTexts::Style::Locale);
    auto data = std::make_unique<LoggedData>();
    if (QString readFailure; !data->loadDataFile(input, texts, &readFailure)) {
        if (readFailure.isEmpty()) {
            prompts.inform(LoggedDataTexts::FileError);
        } else {
            prompts.informWithDetail(LoggedDataTexts::FileError,
                                     readFailureText(input, readFailure));
        }
        return 1;
    }
    return writeSamples(output, SampleFormat::Csv, data->samples,
                        ProjectFiles::loadCommandList(project), bases.value(baseName), texts,
                        prompts)
               ? 0
               : 1;
}
