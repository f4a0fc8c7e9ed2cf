// A base firmware from a damaged stick: any text goes through one stage of the merge.
#include "FuzzFiles.h"
#include "firmware/SRecordStage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // Two bank records for the chosen slot's window, as the bank writer makes them.
    static const QByteArray bankRecords =
        "S2140380000102030405060708090A0B0C0D0E0F1039\r\n"
        "S2080380100102030475\r\n";
    const BankSlot& slot = bankSlot(1 + data[0] % SlotCount);
    const QByteArray source = fuzzBytes(data + 1, size - 1);
    NoMergeProgress progress;
    (void)mergeBankIntoRecords(source, bankRecords, slot, progress);
    (void)countSRecordLines(source);
    return 0;
}
