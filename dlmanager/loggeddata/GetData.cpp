#include "loggeddata/GetData.h"

#include "base/Prompts.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/LoggedDataTexts.h"

bool getData(Comon& comon, LoggedData& data, const CommandList& commands, bool downloadAllMemory,
             const GetDataSteps& steps, Prompts& prompts) {
    if (!steps.sendLoggerCommand(RegisterMap::StopCommand)) {
        prompts.warn(LoggedDataTexts::NotInStop);
        return false;
    }
    const bool done = steps.runInWaitingWindow([&](WaitingWork& work) {
        return data.download(comon, commands, work, downloadAllMemory, steps.pageRead);
    });
    if (!done) {
        prompts.warn(LoggedDataTexts::DownloadFailed);
        return false;
    }
    if (data.lastDecode.truncated) {
        prompts.warn(LoggedDataTexts::TooManySamples);
    }
    return true;
}
