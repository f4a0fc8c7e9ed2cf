#pragma once

#include "loggeddata/MemoryDownload.h"
#include "projects/Comandi.h"

#include <functional>

class Comon;
class LoggedData;
class Prompts;
class WaitingWork;

// "Get Data": the logger is told to stop, then the download and its decoding run inside the
// waiting window. Messages go through the prompts; the samples change only when it all worked.
struct GetDataSteps {
    // Writes a logger command (Stop here); true when the device took it.
    std::function<bool(uint16_t command)> sendLoggerCommand;
    // Shows the waiting window running `work` (its first mode); true for the window's OK.
    std::function<bool(const std::function<bool(WaitingWork&)>& work)> runInWaitingWindow;
    // Sees every page as it arrives, when given.
    decltype(MemoryDownload::pageRead) pageRead;
};

// True when new samples are there to show.
bool getData(Comon& comon, LoggedData& data, const CommandList& commands, bool downloadAllMemory,
             const GetDataSteps& steps, Prompts& prompts);
