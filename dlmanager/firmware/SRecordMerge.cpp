#include "firmware/SRecordMerge.h"

#include "firmware/BankImages.h"
#include "firmware/BankRecords.h"
#include "firmware/SRecordStage.h"
#include "shell/FolderLookup.h"
#include "shell/Prompts.h"
#include "shell/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString SourceMissing = QStringLiteral("File *.Sx Not Found,Abort Procedure");
const QString BankFolderMissing = QStringLiteral("Directory Bin Not Found,Abort Procedure");
const QString MergeFailed = QStringLiteral("File New Sx Not Create,Abort Procedure");

QString imageMissing(int slot) {
    return QStringLiteral("File bank%1.bin Not Found,Abort Procedure").arg(slot);
}

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write file \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString cannotRead(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot read file \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// The first BankSize bytes of the image file; nothing when the file is missing, unreadable or
// short, so that a truncated bank never reaches a firmware.
std::optional<QByteArray> readBankImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray image = file.read(BankSize);
    if (image.size() != BankSize) {
        return std::nullopt;
    }
    return image;
}

std::optional<QByteArray> readWhole(const QString& path, QString* reason) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

BankOutcome MergeBank(const MergeFolders& folders, int slot, const QString& sourcePath,
                      const QString& outputName, Prompts& prompts, MergeProgress& progress,
                      bool* fileError) {
    auto failedOn = [&](const QString& message) {
        prompts.inform(message);
        if (fileError) {
            *fileError = true;
        }
    };
    progress.setPosition(0);
    const BankSlot& bank = bankSlot(slot);

    if (!QFileInfo::exists(sourcePath)) {
        prompts.inform(SourceMissing);
        return BankOutcome::Aborted;
    }
    if (!QFileInfo(folders.bankFolder).isDir()) {
        prompts.inform(BankFolderMissing);
        return BankOutcome::Aborted;
    }
    const std::optional<QByteArray> image =
        readBankImage(pathInFolder(folders.bankFolder, bank.imageFileName));
    if (!image) {
        prompts.inform(imageMissing(slot));
        return BankOutcome::Aborted;
    }

    const QByteArray bankRecords = bankRecordText(*image, bank.windowStart);
    const QString recordFile = pathInFolder(folders.bankFolder, BankRecordFileName);
    QString reason;
    if (!writeFileWhole(recordFile, bankRecords, &reason)) {
        failedOn(cannotWrite(recordFile, reason));
        return BankOutcome::Aborted;
    }

    BankOutcome outcome = BankOutcome::Aborted;
    if (const std::optional<QByteArray> source = readWhole(sourcePath, &reason); !source) {
        failedOn(cannotRead(sourcePath, reason));
    } else {
        const int maximum =
            BankSize / BankRecordDataBytes + static_cast<int>(countSRecordLines(*source));
        progress.setMaximum(maximum);
        const StageResult stage = mergeBankIntoRecords(*source, bankRecords, bank, progress);
        outcome = stage.outcome;
        if (stage.failed) {
            prompts.inform(MergeFailed);
        }
        const QString outputPath = pathInFolder(folders.projectFolder, outputName);
        if (!writeFileWhole(outputPath, stage.output, &reason)) {
            failedOn(cannotWrite(outputPath, reason));
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
        } else {
            QFile::remove(output);
            if (slot == 1) {
                // The base firmware is only read: a skipped first slot copies it.
                QFile::copy(previous, output);
            } else {
                QFile::rename(previous, output);
            }
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
