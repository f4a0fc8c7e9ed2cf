#include "CliOptions.h"
#include "CliPrompts.h"
#include "DeviceLink.h"
#include "Subcommands.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/LoggedDataTexts.h"

#include <QThread>
#include <cstdio>

namespace {

// As the status poll judges a link: more than 8 failed transfers in a row and it is lost.
constexpr int LostAfterFailures = 8;
constexpr unsigned long PollIntervalMs = 1000;

}  // namespace

// "Erase Memory" without the window: the erase command, then the run state until the device
// leaves state 3.
int runErase(const QStringList& arguments, CliPrompts& prompts) {
    const QString usage = QStringLiteral("erase --port N");
    QStringList rest = arguments;
    const auto port = takePortArgument(rest, usage, prompts);
    if (!port || !parseCliOptions(rest, 0, {}, {}, usage, prompts)) {
        return 2;
    }
    DeviceLink device(prompts, *port);
    if (!device.open()) {
        return 1;
    }
    Comon& comon = device.comon();
    using namespace RegisterMap;
    if (comon.WriteRegister(LoggerNode, CommandRegister, EraseMemoryCommand) != 1) {
        prompts.inform(QStringLiteral("The DataLogger did not take the erase command"));
        return 1;
    }
    std::fprintf(stderr, "Wait for Erase Memory...\n");
    for (;;) {
        QThread::msleep(PollIntervalMs);
        uint16_t status = 0;
        if (comon.ReadRegisters(LoggerNode, StatusRegister, 1, &status) == 1 &&
            (status == StatusRun || status == StatusStop)) {
            std::fprintf(stderr, "Memory erased\n");
            return 0;
        }
        if (comon.ConsecutiveFailures > LostAfterFailures || comon.CommAborted) {
            prompts.inform(LoggedDataTexts::EraseNotFollowed);
            return 1;
        }
    }
}
