#pragma once

#include <QString>
#include <array>
#include <cstdint>

// Where each configuration bank lives in the firmware's address space and which files carry it
// through the merge chain.
struct BankSlot {
    int number;  // 1..5
    uint32_t windowStart;
    uint32_t windowEnd;       // inclusive
    QString imageFileName;    // in the bank folder
    QString stageOutputName;  // in the project folder; slot 5 writes the final output instead

    bool contains(uint32_t address) const { return address >= windowStart && address <= windowEnd; }
};

inline constexpr int SlotCount = 5;

// Slot 1..5.
const BankSlot& bankSlot(int number);

enum class BankOutcome { Aborted = -1, NotInserted = 0, Inserted = 1 };

// The on/off switch of each slot, index 0 for slot 1. Variants 2 and 3 carry two banks.
using BankSwitches = std::array<bool, SlotCount>;
BankSwitches bankSwitchesFor(int firmwareVariant);

inline const QString BaseFirmwareName = QStringLiteral("Flash_Application.sx");
inline const QString BankRecordFileName = QStringLiteral("Bin.sx");
inline const QString BankFolderName = QStringLiteral("bin");

// "New_" followed by the base firmware's name.
QString finalOutputName(const QString& baseFirmwareName = BaseFirmwareName);

// The base firmware of the program: in the MASTER folder, or beside the program when there is
// no MASTER folder.
QString baseFirmwarePath(const QString& masterFolder, const QString& programFolder);

// The project's bank folder, its "bin" subfolder whatever its letter case.
QString bankFolderOf(const QString& projectFolder);
