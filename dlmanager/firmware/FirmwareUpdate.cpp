#include "firmware/FirmwareUpdate.h"

#include "base/DetachedStart.h"
#include "base/PictureFiles.h"
#include "base/ProgramSettings.h"
#include "base/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString StepSeparator = QStringLiteral("\n\r");

// Passes every prompt on and remembers whether anything was shown.
class WatchedPrompts final : public Prompts {
public:
    explicit WatchedPrompts(Prompts& prompts) : prompts_(prompts) {}
    bool anythingShown() const { return shown_; }

    void inform(const QString& text) override {
        shown_ = true;
        prompts_.inform(text);
    }
    void informWithDetail(const QString& text, const QString& detail) override {
        shown_ = true;
        prompts_.informWithDetail(text, detail);
    }
    void warn(const QString& text) override {
        shown_ = true;
        prompts_.warn(text);
    }
    void warnWithDetail(const QString& text, const QString& detail) override {
        shown_ = true;
        prompts_.warnWithDetail(text, detail);
    }
    bool askYesNo(const QString& text) override {
        shown_ = true;
        return prompts_.askYesNo(text);
    }
    bool askOkCancel(const QString& text) override {
        shown_ = true;
        return prompts_.askOkCancel(text);
    }
    Answer askYesNoCancel(const QString& text) override {
        shown_ = true;
        return prompts_.askYesNoCancel(text);
    }
    std::optional<QString> chooseFolder(const QString& caption, const QString& root,
                                        const QString& preselected) override {
        shown_ = true;
        return prompts_.chooseFolder(caption, root, preselected);
    }
    std::optional<QString> chooseOpenFile(const QString& startFolder,
                                          const QString& filter) override {
        shown_ = true;
        return prompts_.chooseOpenFile(startFolder, filter);
    }
    std::optional<QString> chooseSaveFile(const QString& startFolder, const QString& filter,
                                          const QString& defaultExtension) override {
        shown_ = true;
        return prompts_.chooseSaveFile(startFolder, filter, defaultExtension);
    }

private:
    Prompts& prompts_;
    bool shown_ = false;
};

QString noEndRecord(const QString& baseFirmware) {
    return QStringLiteral(
               "The firmware \"%1\" has no end record (S9): no new firmware was made and the "
               "device is not programmed.")
        .arg(QDir::toNativeSeparators(baseFirmware));
}

}  // namespace

void UpdateWizardPages::previous() {
    if (page_ > 0) {
        --page_;
    }
}

void UpdateWizardPages::next() {
    if (page_ < PageCount - 1) {
        ++page_;
    }
}

QString UpdateWizardPages::instructions(int page) {
    switch (page) {
        case 0:
            return QStringLiteral("Step 1 - Turn off the DataLogger device;") + StepSeparator +
                   QStringLiteral("Step 2 - Insert the Boot Jumper (see picture);");
        case 1:
            return QStringLiteral("Step 3 - Insert the cross calbe;");
        case 2:
            return QStringLiteral("Step 4 - Turn on the DataLogger device;") + StepSeparator +
                   QStringLiteral("Step 5 - Check that the LED blink quickly;");
        case 3:
            return QStringLiteral("Step 6 - Remove the Boot Jumper;") + StepSeparator +
                   QStringLiteral("Step 7 - Click on then \"Execute update firmware\" Button;");
        default:
            return {};
    }
}

QString UpdateWizardPages::pictureName(int page) {
    switch (page) {
        case 0:
            return PictureFiles::BootJumperIn;
        case 1:
            return PictureFiles::CrossCable;
        case 2:
            return PictureFiles::BootLed;
        case 3:
            return PictureFiles::BootJumperOut;
        default:
            return {};
    }
}

FirmwareUpdate firmwareUpdateFor(const ProgramSettings& settings, int firmwareVariant) {
    FirmwareUpdate update;
    update.merge = mergeRunFor(settings.MasterFolder, settings.ProgramFolder,
                               settings.ProjectFolder, firmwareVariant);
    update.outputFolder = settings.ProjectFolder + QLatin1Char('/');
    update.outputName = finalOutputName(QFileInfo(update.merge.baseFirmware).fileName());
    update.executableFolder = settings.ExecutableFolder;
    update.portIndex = settings.ComPortNumber;
    return update;
}

QString portBoxText(int portIndex) {
    return QStringLiteral("COM") + QString::number(portIndex + 1);
}

QByteArray programmerArgument(const QString& firmwarePath, int portIndex) {
    return '"' + QFile::encodeName(firmwarePath) + '"' + char(0xB6) + QByteArray::number(portIndex);
}

MergeSummary mergeTellingWhy(const MergeRun& run, Prompts& prompts, MergeProgress& progress) {
    WatchedPrompts watched(prompts);
    const MergeSummary summary = MergeAllBanks(run, watched, progress);
    // The merge names its reason, except for a firmware without an end record.
    if ((summary.aborted || summary.fileError) && !watched.anythingShown()) {
        prompts.warn(noEndRecord(run.baseFirmware));
    }
    return summary;
}

UpdateOutcome executeUpdate(const FirmwareUpdate& update, Prompts& prompts,
                            MergeProgress& progress) {
    const MergeSummary summary = mergeTellingWhy(update.merge, prompts, progress);
    if (summary.aborted || summary.fileError) {
        return UpdateOutcome::MergeStopped;
    }
    if (!QFileInfo(summary.finalOutput).isFile()) {
        prompts.warn(FirmwareUpdateTexts::OutputMissing);
        return UpdateOutcome::OutputMissing;
    }
    const QString programmer =
        update.executableFolder + QLatin1Char('/') + FirmwareUpdateTexts::ProgrammerName;
    if (!QFileInfo(programmer).isFile()) {
        prompts.warn(FirmwareUpdateTexts::ProgrammerMissing);
        return UpdateOutcome::ProgrammerMissing;
    }
    // What becomes of the start is the programmer's to tell.
    startDetached(QFile::encodeName(programmer),
                  {programmerArgument(summary.finalOutput, update.portIndex)});
    return UpdateOutcome::ProgrammerStarted;
}
