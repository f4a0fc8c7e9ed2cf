#include "firmware/SRecordMerge.h"

#include "base/FileBeside.h"
#include "base/FolderLookup.h"
#include "base/Prompts.h"
#include "base/WholeFile.h"
#include "firmware/BankImages.h"
#include "firmware/BankRecords.h"
#include "firmware/SRecordStage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

const QString SourceMissing = QStringLiteral("File *.Sx Not Found,Abort Procedure");
const QString BankFolderMissing = QStringLiteral("Directory Bin Not Found,Abort Procedure");
const QString MergeFailed = QStringLiteral("File New Sx Not Create,Abort Procedure");

QString imageMissing(int slot) {
    return QStringLiteral("File bank%1.bin Not Found,Abort Procedure").arg(slot);
}

// The device's whole 4 MiB address space as S-records of 16 data bytes is about 12 MB.
constexpr qint64 MaxFirmwareBytes = 64 * 1024 * 1024;
// Bank files are written at 16384 bytes; the first 16384 of a longer one are taken.
constexpr qint64 MaxBankImageBytes = 1024 * 1024;

// The first BankSize bytes of the image file; nothing when the file is missing, unreadable or
// short, so that a truncated bank never reaches a firmware.
std::optional<QByteArray> readBankImage(const QString& path) {
    const FileRead file = readFileWhole(path, MaxBankImageBytes);
    if (!file.read() || file.bytes.size() < BankSize) {
        return std::nullopt;
    }
    return file.bytes.left(BankSize);
}

std::optional<QByteArray> readWhole(const QString& path, QString* reason) {
    FileRead file = readFileWhole(path, MaxFirmwareBytes);
    if (!file.read()) {
        *reason = file.reason;
        return std::nullopt;
    }
    return std::move(file.bytes);
}

QString hexAddress(uint32_t address) {
    return QStringLiteral("0x") + QString::number(address, 16).toUpper().rightJustified(6, '0');
}

QString noConfigurationWindow(int slot) {
    const BankSlot& bank = bankSlot(slot);
    return QStringLiteral(
               "The base firmware holds no configuration window for bank %1 (%2 to %3): the "
               "merged firmware does not carry it, so the device would not receive the project.")
        .arg(slot)
        .arg(hexAddress(bank.windowStart), hexAddress(bank.windowEnd));
}

// A switched-off slot hands the previous stage's file on under its own name, replacing what
// stands there in one step. The base firmware is only read, so it is copied instead.
bool passOn(const QString& previous, const QString& output, bool fromBase, QString* reason) {
    if (fromBase) {
        const std::optional<QByteArray> bytes = readWhole(previous, reason);
        return bytes && writeFileWhole(output, *bytes, reason);
    }
    return renameOver(previous, output, reason);
}

}  // namespace

BankOutcome MergeBank(const MergeFolders& folders, int slot, const QString& sourcePath,
                      const QString& outputName, Prompts& prompts, MergeProgress& progress,
                      bool* fileError) {
    auto failedOn = [&](const QString& message) {
        prompts.warn(message);
        if (fileError) {
            *fileError = true;
        }
    };
    progress.setPosition(0);
    const BankSlot& bank = bankSlot(slot);

    if (!QFileInfo::exists(sourcePath)) {
        prompts.warn(SourceMissing);
        return BankOutcome::Aborted;
    }
    if (!QFileInfo(folders.bankFolder).isDir()) {
        prompts.warn(BankFolderMissing);
        return BankOutcome::Aborted;
    }
    const std::optional<QByteArray> image =
        readBankImage(pathInFolder(folders.bankFolder, bank.imageFileName));
    if (!image) {
        prompts.warn(imageMissing(slot));
        return BankOutcome::Aborted;
    }

    const QByteArray bankRecords = bankRecordText(*image, bank.windowStart);
    const QString recordFile = pathInFolder(folders.bankFolder, BankRecordFileName);
    QString reason;
    if (!writeFileWhole(recordFile, bankRecords, &reason)) {
        failedOn(writeFailureText(recordFile, reason));
        return BankOutcome::Aborted;
    }

    BankOutcome outcome = BankOutcome::Aborted;
    if (const std::optional<QByteArray> source = readWhole(sourcePath, &reason); !source) {
        failedOn(readFailureText(sourcePath, reason));
    } else {
        const int maximum =
            BankSize / BankRecordDataBytes + static_cast<int>(countSRecordLines(*source));
        progress.setMaximum(maximum);
        const StageResult stage = mergeBankIntoRecords(*source, bankRecords, bank, progress);
        outcome = stage.outcome;
        if (stage.failed) {
            prompts.warn(MergeFailed);
        }
        const QString outputPath = pathInFolder(folders.projectFolder, outputName);
        if (!writeFileWhole(outputPath, stage.output, &reason)) {
            failedOn(writeFailureText(outputPath, reason));
            outcome = BankOutcome::Aborted;
        }
        progress.setPosition(maximum);
    }
    QFile::remove(recordFile);
    return outcome;
}

MergeRun mergeRunFor(const QString& masterFolder, const QString& programFolder,
                     const QString& projectFolder, int firmwareVariant) {
    return MergeRun{{projectFolder, bankFolderOf(projectFolder)},
                    baseFirmwarePath(masterFolder, programFolder),
                    bankSwitchesFor(firmwareVariant)};
}

MergeSummary MergeAllBanks(const MergeRun& run, Prompts& prompts, MergeProgress& progress) {
    const QString& projectFolder = run.folders.projectFolder;
    MergeSummary summary;
    summary.finalOutput =
        pathInFolder(projectFolder, finalOutputName(QFileInfo(run.baseFirmware).fileName()));

    BankOutcome outcome = BankOutcome::NotInserted;
    QString previous = run.baseFirmware;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const QString output = slot == SlotCount
                                   ? summary.finalOutput
                                   : pathInFolder(projectFolder, bankSlot(slot).stageOutputName);
        if (run.switches[slot - 1]) {
            outcome = MergeBank(run.folders, slot, previous, QFileInfo(output).fileName(), prompts,
                                progress, &summary.fileError);
            summary.outcomes[slot - 1] = outcome;
            if (outcome == BankOutcome::NotInserted) {
                prompts.warn(noConfigurationWindow(slot));
            }
        } else if (QString reason; !passOn(previous, output, slot == 1, &reason)) {
            // Reporting success here would let an older firmware under the final name reach
            // the device.
            prompts.warn(writeFailureText(output, reason));
            summary.fileError = true;
            outcome = BankOutcome::Aborted;
        }
        if (outcome == BankOutcome::Aborted) {
            summary.aborted = true;
            break;
        }
        previous = output;
    }

    for (int slot = 1; slot < SlotCount; ++slot) {
        QFile::remove(pathInFolder(projectFolder, bankSlot(slot).stageOutputName));
    }
    return summary;
}
