#include "CliOptions.h"
#include "CliPrompts.h"
#include "CliWaitingWork.h"
#include "DeviceLink.h"
#include "SampleOutput.h"
#include "Subcommands.h"
#include "base/WholeFile.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/GetData.h"
#include "loggeddata/ImageFileWriter.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/SampleTimeTexts.h"
#include "projects/ProjectFiles.h"

#include <QFileInfo>
#include <memory>

// "Get Data" without the window: the stop command, the download with its progress on stderr,
// the decoding, and the samples into a data file or a CSV export.
int runDownload(const QStringList& arguments, CliPrompts& prompts) {
    const QString usage = QStringLiteral(
        "download --port N --project DIR --out FILE.xml|FILE.csv|- [--format xml|csv] [--all] "
        "[--iso] [--image FILE]");
    QStringList rest = arguments;
    const auto port = takePortArgument(rest, usage, prompts);
    if (!port) {
        return 2;
    }
    const auto options = parseCliOptions(rest, 0, {"--project", "--out", "--format", "--image"},
                                         {"--all", "--iso"}, usage, prompts);
    if (!options || !options->has("--project") || !options->has("--out")) {
        if (options) {
            prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
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
    ImageFileWriter image;
    const QString imagePath = options->value("--image");
    if (QString reason; !imagePath.isEmpty() && !image.open(imagePath, &reason)) {
        prompts.inform(writeFailureText(imagePath, reason));
        return 1;
    }
    const CommandList commands = ProjectFiles::loadCommandList(project);

    DeviceLink device(prompts, *port);
    if (!device.open()) {
        return 1;
    }
    Comon& comon = device.comon();
    auto data = std::make_unique<LoggedData>();
    CliWaitingWork work;
    bool imageWritten = true;
    GetDataSteps steps;
    steps.sendLoggerCommand = [&comon](uint16_t command) {
        return comon.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister,
                                   command) == 1;
    };
    steps.runInWaitingWindow = [&](const std::function<bool(WaitingWork&)>& run) {
        return !comon.CommAborted && run(work);
    };
    if (!imagePath.isEmpty()) {
        steps.pageRead = [&](int chip, int page, std::span<const uint16_t> words) {
            imageWritten = image.writePage(chip, page, words) && imageWritten;
        };
    }
    const bool downloaded =
        getData(comon, *data, commands, options->flags.contains("--all"), steps, prompts);
    if (!imageWritten) {
        prompts.inform(writeFailureText(imagePath, image.errorString()));
    } else if (!imagePath.isEmpty() && !image.replaced()) {
        prompts.inform(QStringLiteral("%1 keeps the %2 pages it held: this download read %3, so "
                                      "it was not replaced")
                           .arg(imagePath)
                           .arg(image.pagesOnDisk())
                           .arg(image.pagesWritten()));
    }
    if (!downloaded) {
        return 1;
    }
    const bool imageKept = imagePath.isEmpty() || (imageWritten && image.replaced());
    SampleTimeTexts texts(options->flags.contains("--iso") ? SampleTimeTexts::Style::Iso
                                                           : SampleTimeTexts::Style::Locale);
    return writeSamples(options->value("--out"), *format, data->samples, commands,
                        DisplayBase::Decimal, texts, prompts) &&
                   imageKept
               ? 0
               : 1;
}
