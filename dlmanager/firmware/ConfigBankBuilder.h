#pragma once

#include "firmware/BankImages.h"

#include <QString>

class Prompts;

// Offsets of the configuration bank's fields; multi-byte values are big-endian.
namespace ConfigBankLayout {
inline constexpr int EntrySize = 3;  // BE16 DataAddress, then PointCount
inline constexpr int BaudCode = 16184;
inline constexpr int ParityCode = 16185;
inline constexpr int DeviceId = 16186;
inline constexpr int EntryCount = 16187;  // BE16
inline constexpr int StartStop = 16189;
inline constexpr int CyclicalMemory = 16190;
// Entries beyond this would run into the serial parameters.
inline constexpr int MaxEntries = BaudCode / EntrySize;
}  // namespace ConfigBankLayout

enum class BankBuildResult {
    Built,      // also when pargen.xml is missing: the caller goes on with the outputs
    Abandoned,  // a message was shown; write no outputs
};

// Fills bank 1 of `banks` from cmdmb.xml, pargen.xml and DipCmd.xml of the project folder (what
// was last saved, not the list in memory). Bank 1 is cleared first so nothing of an earlier
// project's build survives; banks 2 to 5 are cleared as well, they always stay zero.
BankBuildResult buildConfigBank(const QString& projectFolder, BankImages& banks, Prompts& prompts);
