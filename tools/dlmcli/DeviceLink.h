#pragma once

#include "devicelink/Comon.h"

#include <QStringList>
#include <optional>

class CliPrompts;

// Takes "--port N" (N as in "ComN", 1..256) out of the arguments; nothing, after telling the
// user, when it is missing or not a port.
std::optional<int> takePortArgument(QStringList& arguments, const QString& usage,
                                    CliPrompts& prompts);

// The link to the logger for one subcommand, through the same register access layer and library
// as the program, with its fixed settings; closed again at the end.
class DeviceLink {
public:
    DeviceLink(CliPrompts& prompts, int comPortNumber);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Says why when the port cannot be opened.
    bool open();
    Comon& comon() { return comon_; }
    // 0 when the port opened and every transfer succeeded, else 1.
    int exitStatus() const;

private:
    CliPrompts& prompts_;
    int comPortNumber_;
    Comon comon_;
    bool open_ = false;
};
