#pragma once

#include "LiveFaults.h"
#include "RegisterOverrides.h"
#include "RequestLog.h"

#include <optional>
#include <string>

// What a test or a demonstration steers while the device runs: forced register values, faults
// switched on and off, and the log of every request received.
struct RuntimeControls {
    RegisterOverrides overrides;
    LiveFaults faults;
    RequestLog requests;

    // A control-socket command of ours ("set", "unset", "fault"): its answer line; nothing when
    // the verb is not ours.
    std::optional<std::string> command(const std::string& verb, const std::string& argument);
};
