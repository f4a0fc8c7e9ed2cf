#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

class Comon;

// Setting the datalogger's clock: the six fields day, month, year, hour, minute, second as the
// user types them, their checks and the writes, shared by the clock dialog and dlmcli.
namespace ClockEntry {

using Fields = std::array<QString, 6>;
using Values = std::array<uint16_t, 6>;

// The computer's time as proposed to the user; the year less 2000 when it is above 2000.
Fields proposedFields(const QDateTime& now);

struct Checked {
    Values values{};
    QString error;  // the message for the first value out of range; empty when all are valid
};
// Text that is not an integer counts as 65000; every value keeps its low 16 bits.
Checked check(const Fields& fields);

// Writes the six values one register at a time and then the commit register, each once, on
// through failures. Returns how many writes failed.
int write(Comon& comon, const Values& values);

}  // namespace ClockEntry
