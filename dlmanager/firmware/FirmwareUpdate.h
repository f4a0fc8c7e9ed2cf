#pragma once

#include "firmware/FirmwareVariant.h"
#include "firmware/MergeProgress.h"
#include "firmware/SRecordMerge.h"

#include <QByteArray>
#include <QString>

class Prompts;
struct ProgramSettings;

// The firmware update wizard without its window: the pages the user walks through, the state
// of one opening, and the update itself (merge, checks, start of the flash programmer).

namespace FirmwareUpdateTexts {
inline const QString ProgrammerName = QStringLiteral("Burnix.exe");
inline const QString OutputMissing = QStringLiteral("File *.Sx Not Found,Abort Procedure");
inline const QString ProgrammerMissing = QStringLiteral("Burnix.exe Not Found, Procedure Aborted");
}  // namespace FirmwareUpdateTexts

// Page 0 to 3, the instructions and picture of each, and which buttons work on it.
class UpdateWizardPages {
public:
    static constexpr int PageCount = 4;

    int page() const { return page_; }
    void reset() { page_ = 0; }
    void previous();
    void next();

    bool previousEnabled() const { return page_ > 0; }
    bool nextEnabled() const { return page_ < PageCount - 1; }
    bool executeEnabled() const { return page_ == PageCount - 1; }

    QString instructions() const { return instructions(page_); }
    QString pictureName() const { return pictureName(page_); }
    static QString instructions(int page);
    static QString pictureName(int page);

private:
    int page_ = 0;
};

// What one opening of the wizard works with, taken from the current settings.
struct FirmwareUpdate {
    MergeRun merge;
    QString outputFolder;      // the project folder, with a trailing separator
    QString outputName;        // "New_" followed by the base firmware's name
    QString executableFolder;  // Burnix.exe and the pictures beside it
    int portIndex = 0;         // 0 is Com1
};

FirmwareUpdate firmwareUpdateFor(const ProgramSettings& settings,
                                 int firmwareVariant = FirmwareVariant);

// "COM1" for port index 0.
QString portBoxText(int portIndex);

// The flash programmer's one argument: a double quote, the merged firmware's path, a double
// quote, the single byte 0xB6 and the port index in decimal. The path keeps the bytes the file
// system knows it by.
QByteArray programmerArgument(const QString& firmwarePath, int portIndex);

// MergeAllBanks, and when it stops without saying why (a firmware without an end record, an
// empty one), the reason.
MergeSummary mergeTellingWhy(const MergeRun& run, Prompts& prompts, MergeProgress& progress);

enum class UpdateOutcome {
    ProgrammerStarted,
    MergeStopped,       // the merge gave up or could not read or write a file
    OutputMissing,      // no merged firmware to hand over
    ProgrammerMissing,  // no Burnix.exe beside the program
};

// "Execute update firmware": merges the banks into the firmware, then starts the flash
// programmer with the merged file and the port, without waiting for it. A merge that stopped
// starts nothing: an older merged file may still lie there, and the device would get a
// firmware the user did not build.
UpdateOutcome executeUpdate(const FirmwareUpdate& update, Prompts& prompts,
                            MergeProgress& progress);
