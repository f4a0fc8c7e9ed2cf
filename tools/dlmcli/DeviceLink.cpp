#include "DeviceLink.h"

#include "CliPrompts.h"
#include "base/Numbers.h"

std::optional<int> takePortArgument(QStringList& arguments, const QString& usage,
                                    CliPrompts& prompts) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--port"));
    if (at < 0 || at + 1 >= arguments.size()) {
        prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
        return std::nullopt;
    }
    const auto number = parseDecimal(arguments[at + 1]);
    if (!number || *number < 1 || *number > 256) {
        prompts.inform(QStringLiteral("Not a port number (1 for Com1 ... 256): ") +
                       arguments[at + 1]);
        return std::nullopt;
    }
    arguments.remove(at, 2);
    return static_cast<int>(*number - 1);
}

DeviceLink::DeviceLink(CliPrompts& prompts, int comPortNumber)
    : prompts_(prompts),
      comPortNumber_(comPortNumber),
      comon_(boundModbusLibrary(), prompts, [comPortNumber] { return comPortNumber; }) {}

DeviceLink::~DeviceLink() {
    if (open_) {
        comon_.closePort();
    }
}

bool DeviceLink::open() {
    open_ = comon_.openPort() == 1;
    if (!open_) {
        reportOpenFailure(prompts_, comPortNumber_);
    }
    return open_;
}

int DeviceLink::exitStatus() const {
    return open_ && comon_.counters().failed == 0 ? 0 : 1;
}
