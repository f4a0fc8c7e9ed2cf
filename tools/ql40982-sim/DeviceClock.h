#pragma once

#include "CivilTime.h"

#include <array>
#include <cstdint>

// The battery clock: runs with the host's clock from an offset the user can set through the
// clock registers. Written fields wait until the commit register takes them all at once.
class DeviceClock {
public:
    // Starts at the host's local time.
    DeviceClock();

    CivilTime at(double hostSeconds) const;
    void set(const CivilTime& time, double hostSeconds);

    // Registers 100..105 as the device shows them: day, month, year - 2000, hour, minute, second.
    std::array<uint16_t, 6> registers(double hostSeconds) const;

    void stageField(int index, uint16_t value) { staged_[index] = value; }
    // Takes the staged fields. Fields outside their ranges are refused (false); a day beyond the
    // month's end rolls over as a calendar chip does (31 February becomes early March).
    bool commit(double hostSeconds);

private:
    int64_t offsetSeconds_ = 0;
    std::array<uint16_t, 6> staged_{};
};
