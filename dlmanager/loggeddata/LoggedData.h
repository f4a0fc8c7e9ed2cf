#pragma once

#include "loggeddata/MemoryDownload.h"
#include "loggeddata/MemoryImage.h"
#include "loggeddata/RecordDecoding.h"
#include "loggeddata/SampleTable.h"

#include <QString>

class Comon;
class SampleTimeTexts;
class WaitingWork;

// The samples of the run and the memory image they come from, allocated once. The samples
// change only as a whole: after a complete download and its decoding, or a data file that was
// read to its end.
class LoggedData {
public:
    MemoryImage image;
    SampleTable samples;

    // The memory download and, when it succeeds, the decoding that replaces the samples.
    // `pageRead` sees every page as it arrives (to keep it on disk, say).
    bool download(Comon& comon, const CommandList& commands, WaitingWork& work,
                  bool downloadAllMemory, decltype(MemoryDownload::pageRead) pageRead = {});
    DecodeResult lastDecode;

    // Decodes what the image holds now, replacing the samples.
    DecodeResult decode(const CommandList& commands);

    // `readFailure`, when given, says why a file could not be read at all.
    bool loadDataFile(const QString& path, SampleTimeTexts& texts, QString* readFailure = nullptr);

private:
    SampleTable spare_;
};
