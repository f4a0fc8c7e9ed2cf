#include "firmware/BankOutputs.h"

#include "base/FolderLookup.h"
#include "base/Prompts.h"
#include "base/WholeFile.h"
#include "firmware/BankRecords.h"
#include "firmware/BankSlots.h"
#include "firmware/ConfigBankBuilder.h"

#include <QDir>

namespace {

constexpr int ItemsPerLine = 16;

}  // namespace

QByteArray bankSourceText(const BankImage& bank) {
    QByteArray text;
    text.reserve(117824);
    text.append("#pragma CONST_SEG SEGMENT0\r\n");
    for (int line = 0; line < BankSize / ItemsPerLine; ++line) {
        text.append(line == 0 ? "const char Bank1 [] = {" : "                 ");
        for (int item = 0; item < ItemsPerLine; ++item) {
            const int index = line * ItemsPerLine + item;
            const uint8_t value = bank[index];
            char digits[] = {' ', '0', 'x', '0', '0'};
            putHexByte(digits + 3, value);
            text.append(digits, sizeof digits);
            text.append(index == BankSize - 1 ? "};" : ",");
        }
        text.append("\r\n");
    }
    text.append("\r\n");
    text.append("#pragma CONST_SEG DEFAULT\r\n");
    return text;
}

int writeBankFiles(const QString& binFolder, const BankImages& banks, QString* firstFailure) {
    int written = 0;
    for (int number = 1; number <= BankCount; ++number) {
        const BankImage& bank = banks.bank(number);
        const QByteArray bytes(reinterpret_cast<const char*>(bank.data()), BankSize);
        const QString path = pathInFolder(binFolder, bankSlot(number).imageFileName);
        QString reason;
        if (writeFileWhole(path, bytes, &reason)) {
            ++written;
        } else if (firstFailure && firstFailure->isEmpty()) {
            *firstFailure = writeFailureText(path, reason);
        }
    }
    return written;
}

bool writeBankSource(const QString& binFolder, const BankImage& bank, Prompts& prompts) {
    const QString path = pathInFolder(binFolder, QStringLiteral("bankg.c"));
    QString reason;
    if (!writeFileWhole(path, bankSourceText(bank), &reason)) {
        prompts.warn(writeFailureText(path, reason));
        return false;
    }
    return true;
}

bool prepareBanksForUpdate(const QString& projectFolder, BankImages& banks, Prompts& prompts) {
    if (buildConfigBank(projectFolder, banks, prompts) == BankBuildResult::Abandoned) {
        return false;
    }
    const QString binFolder = bankFolderOf(projectFolder);
    QString bankFailure;
    const bool banksWritten = writeBankFiles(binFolder, banks, &bankFailure) == BankCount;
    if (!writeBankSource(binFolder, banks.ConfigBank(), prompts)) {
        return false;
    }
    // The merge takes the bank files from the folder: an old one left in place of a new one
    // would go into the device unnoticed.
    if (!banksWritten) {
        prompts.warn(bankFailure);
    }
    return banksWritten;
}
