#include "firmware/BankSlots.h"

#include "base/FolderLookup.h"

#include <QDir>
#include <QFileInfo>

namespace {

BankSlot makeSlot(int number, uint32_t windowStart) {
    const QString digit = QString::number(number);
    return BankSlot{number, windowStart, windowStart + 0x3FFF,
                    QStringLiteral("bank") + digit + QStringLiteral(".bin"),
                    QStringLiteral("\u00B0B") + digit + QStringLiteral("\u00B0.sx")};
}

}  // namespace

const BankSlot& bankSlot(int number) {
    static const std::array<BankSlot, SlotCount> table = {
        makeSlot(1, 0x388000), makeSlot(2, 0x398000), makeSlot(3, 0x3A8000), makeSlot(4, 0x3B8000),
        makeSlot(5, 0x3C8000)};
    return table.at(number - 1);
}

BankSwitches bankSwitchesFor(int firmwareVariant) {
    if (firmwareVariant == 2 || firmwareVariant == 3) {
        return {true, true, false, false, false};
    }
    return {true, true, true, true, true};
}

QString finalOutputName(const QString& baseFirmwareName) {
    return QStringLiteral("New_") + baseFirmwareName;
}

QString baseFirmwarePath(const QString& masterFolder, const QString& programFolder) {
    const QString folder = QFileInfo(masterFolder).isDir() ? masterFolder : programFolder;
    return QDir(folder).filePath(BaseFirmwareName);
}

QString bankFolderOf(const QString& projectFolder) {
    return pathInFolder(projectFolder, BankFolderName);
}
