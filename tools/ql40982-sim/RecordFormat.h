#pragma once

#include "CivilTime.h"

#include <array>
#include <cstdint>
#include <vector>

// The flash record: date word, time word, command word, then the command's values.
namespace RecordFormat {

// Year 2000..2063; the hour's top bit rides in the date word.
std::array<uint16_t, 2> encodeTimeStamp(const CivilTime& time);

std::vector<uint16_t> commandRecord(const CivilTime& time, uint16_t command,
                                    const std::vector<uint16_t>& values);
std::vector<uint16_t> markerRecord(const CivilTime& time, uint16_t marker);

}  // namespace RecordFormat
