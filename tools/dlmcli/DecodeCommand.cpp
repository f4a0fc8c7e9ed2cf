#include "CliOptions.h"
#include "CliPrompts.h"
#include "SampleOutput.h"
#include "Subcommands.h"
#include "base/WholeFile.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTimeTexts.h"
#include "projects/ProjectFiles.h"

#include <QFileInfo>
#include <memory>

// Decodes an image file (the simulator's --dump-image, or download --image) as a download is.
int runDecode(const QStringList& arguments, CliPrompts& prompts) {
    const auto options = parseCliOptions(
        arguments, 1, {"--project", "--out", "--format"}, {"--iso"},
        QStringLiteral(
            "decode IMAGE --project DIR --out FILE.xml|FILE.csv|- [--format xml|csv] [--iso]"),
        prompts);
    if (!options || !options->has("--project") || !options->has("--out")) {
        if (options) {
            prompts.inform(QStringLiteral("decode needs --project and --out"));
        }
        return 2;
    }
    const QString project = options->value("--project");
    if (!QFileInfo(project).isDir()) {
        prompts.inform(QStringLiteral("Project folder not found: ") + project);
        return 1;
    }
    const auto format =
        sampleFormatOf(options->value("--out"), options->value("--format"), prompts);
    if (!format) {
        return 1;
    }
    auto data = std::make_unique<LoggedData>();
    const QString imagePath = options->positional.front();
    QString reason;
    switch (data->image.loadFile(imagePath, &reason)) {
        case MemoryImage::FileResult::Done:
            break;
        case MemoryImage::FileResult::CannotRead:
            prompts.inform(readFailureText(imagePath, reason));
            return 1;
        case MemoryImage::FileResult::WrongSize:
            prompts.inform(
                QStringLiteral("Not an image of the whole memory (%1 bytes): %2 holds %3")
                    .arg(MemoryImage::FileBytes)
                    .arg(imagePath)
                    .arg(QFileInfo(imagePath).size()));
            return 1;
    }
    const CommandList commands = ProjectFiles::loadCommandList(project);
    if (data->decode(commands).truncated) {
        prompts.inform(LoggedDataTexts::TooManySamples);
    }
    SampleTimeTexts texts(options->flags.contains("--iso") ? SampleTimeTexts::Style::Iso
                                                           : SampleTimeTexts::Style::Locale);
    return writeSamples(options->value("--out"), *format, data->samples, commands,
                        DisplayBase::Decimal, texts, prompts)
               ? 0
               : 1;
}
