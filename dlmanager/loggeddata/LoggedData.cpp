#include "loggeddata/LoggedData.h"

#include "loggeddata/DataFiles.h"
#include "loggeddata/WaitingWork.h"

namespace {

// The window gets a few turns to redraw after the last page before decoding takes the thread.
constexpr int TurnsBeforeDecoding = 10;
constexpr int TurnPauseMs = 10;

}  // namespace

bool LoggedData::download(Comon& comon, const CommandList& commands, WaitingWork& work,
                          bool downloadAllMemory, decltype(MemoryDownload::pageRead) pageRead) {
    MemoryDownload memoryDownload(comon, image);
    memoryDownload.pageRead = std::move(pageRead);
    if (!memoryDownload.run(work, downloadAllMemory)) {
        return false;
    }
    for (int turn = 0; turn < TurnsBeforeDecoding; ++turn) {
        work.pause(TurnPauseMs);
        work.processEvents();
    }
    decode(commands);
    return true;
}

DecodeResult LoggedData::decode(const CommandList& commands) {
    lastDecode = decodeImage(image, commands, samples);
    return lastDecode;
}

bool LoggedData::loadDataFile(const QString& path, SampleTimeTexts& texts, QString* readFailure) {
    if (!DataFiles::load(path, spare_, texts, readFailure)) {
        spare_.clear();
        return false;
    }
    samples.swap(spare_);
    spare_.clear();
    return true;
}
