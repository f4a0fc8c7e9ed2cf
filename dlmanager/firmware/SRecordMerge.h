#pragma once

#include "firmware/BankSlots.h"
#include "firmware/MergeProgress.h"

#include <QString>
#include <array>
#include <optional>

class Prompts;

// The folders of one merge run.
struct MergeFolders {
    QString projectFolder;  // stage outputs and the final output go here
    QString bankFolder;     // bank1.bin ... bank5.bin; Bin.sx is made here while a slot merges
};

// Merges bank `slot` into the S-record file `sourcePath`, writing `outputName` into the project
// folder. Messages go to `prompts`; progress runs from 0 to the number of lines handled.
// `fileError`, when given, is set when Bin.sx, the source or the output could not be read or
// written (the outcome is then Aborted).
BankOutcome MergeBank(const MergeFolders& folders, int slot, const QString& sourcePath,
                      const QString& outputName, Prompts& prompts, MergeProgress& progress,
                      bool* fileError = nullptr);

struct MergeRun {
    MergeFolders folders;
    QString baseFirmware;  // path of the base S-record file, only read
    BankSwitches switches{};
};

// The run of a device update: the program's base firmware, the project's bin folder and the
// switches of the firmware variant.
MergeRun mergeRunFor(const QString& masterFolder, const QString& programFolder,
                     const QString& projectFolder, int firmwareVariant);

struct MergeSummary {
    // The outcome of every slot that was merged; nothing for switched-off slots and slots after
    // a stop.
    std::array<std::optional<BankOutcome>, SlotCount> outcomes{};
    bool aborted = false;  // a slot aborted: later slots did not run, no new final output
    // A file could not be read or written; the flash programmer must not be started, not even
    // with an older final output.
    bool fileError = false;
    QString finalOutput;  // path of "New_" + the base firmware's name in the project folder
};

// Runs the five stages in slot order, each reading the previous stage's output; stops at the
// first aborted slot. Stage files are removed afterwards, however the chain ended.
MergeSummary MergeAllBanks(const MergeRun& run, Prompts& prompts, MergeProgress& progress);
