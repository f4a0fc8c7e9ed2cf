#pragma once

#include "FaultPlan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct Options {
    std::string link;
    std::string device;
    double periodSeconds = 10.0;
    uint64_t seed = 1;
    bool markers = false;
    bool running = false;
    double prefillDays = 0.0;
    double prefillStepSeconds = 300.0;
    double eraseSeconds = 5.0;
    std::string dumpImage;
    std::string recordLog;
    std::string project;
    std::string serial;
    std::string firmware;
    std::string commandTable;
    std::string control;
    std::string requestLog;
    std::vector<std::pair<uint16_t, uint16_t>> forcedRegisters;  // --set R=V
    bool cyclical = false;
    std::string flashImage;
    FaultOptions faults;
    bool help = false;
};

struct OptionError {
    std::string message;
};

std::variant<Options, OptionError> parseOptions(const std::vector<std::string>& arguments);

extern const char* const UsageText;
