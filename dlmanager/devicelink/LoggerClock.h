#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class Comon;

// The datalogger's clock block: day, month, year - 2000, hour, minute, second.
namespace LoggerClock {

using Registers = std::array<uint16_t, 6>;

// The date and time the registers hold, when they form a valid one.
std::optional<QDateTime> decode(const Registers& registers);

struct Reading {
    uint8_t result = 0;  // of the transfer
    Registers registers{};
    std::optional<QDateTime>
        dateTime;  // set only when the transfer worked and the values are valid
};
Reading read(Comon& comon);

}  // namespace LoggerClock
