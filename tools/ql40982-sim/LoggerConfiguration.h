#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of the device's command table: a block of registers sampled on its RS-485 port.
struct TableEntry {
    uint16_t dataAddress = 0;
    uint8_t pointCount = 0;

    bool operator==(const TableEntry&) const = default;
};

// What the firmware's configuration bank gives the device, plus the time-out word it reports.
struct LoggerConfiguration {
    std::vector<TableEntry> commands;
    // When not empty, the command table registers serve these words as they are (0 beyond
    // them) instead of the table built from `commands`.
    std::vector<uint16_t> tableWords;
    uint16_t timeout = 1000;
    uint16_t baudCode = 3;
    uint16_t parityCode = 0;
    // The "Cyclical Memory" option: a full memory goes on from its start.
    bool cyclicalMemory = false;
};

// A small logging set-up so the simulator is useful without a project.
LoggerConfiguration demoConfiguration();

// "T,B,P" as given on the command line; nothing when it is not three numbers of 16 bits.
std::optional<LoggerConfiguration> withSerialText(LoggerConfiguration base,
                                                  const std::string& text);
