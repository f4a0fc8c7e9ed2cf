#pragma once

#include "firmware/BankSlots.h"
#include "firmware/MergeProgress.h"

#include <QByteArray>

// One stage of the merge, in memory: the source's S-records with the slot's window replaced by
// the bank records. Lines end with LF, CR LF or CR alone on input and CR LF on output.

// Lines as the merge reads them; a last line without line end counts.
qsizetype countSRecordLines(const QByteArray& text);

struct StageResult {
    QByteArray output;  // what was written, up to the failing line when `failed`
    BankOutcome outcome = BankOutcome::Aborted;  // Aborted until an "S9" line is handled
    bool failed = false;  // an empty line or an unreadable "S1"/"S2" address stopped the copy
};

// Every "S1"/"S2" record whose start address lies in the window is dropped; the bank records
// stand at the place of the first. A record-count record ("S5") states the data records
// written. Advances `progress` by one per line handled and per bank
// record written, starting from position 0.
StageResult mergeBankIntoRecords(const QByteArray& source, const QByteArray& bankRecords,
                                 const BankSlot& slot, MergeProgress& progress);
