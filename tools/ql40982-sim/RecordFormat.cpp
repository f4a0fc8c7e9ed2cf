#include "RecordFormat.h"

namespace RecordFormat {

std::array<uint16_t, 2> encodeTimeStamp(const CivilTime& time) {
    const unsigned year = static_cast<unsigned>(time.year - 2000) & 0x3F;
    const unsigned hour = static_cast<unsigned>(time.hour);
    const unsigned date =
        year << 10 | unsigned(time.month) << 6 | unsigned(time.day) << 1 | ((hour >> 4) & 1);
    const unsigned clock = (hour & 0xF) << 12 | unsigned(time.minute) << 6 | unsigned(time.second);
    return {static_cast<uint16_t>(date), static_cast<uint16_t>(clock)};
}

std::vector<uint16_t> commandRecord(const CivilTime& time, uint16_t command,
                                    const std::vector<uint16_t>& values) {
    const auto stamp = encodeTimeStamp(time);
    std::vector<uint16_t> record{stamp[0], stamp[1], command};
    record.insert(record.end(), values.begin(), values.end());
    return record;
}

std::vector<uint16_t> markerRecord(const CivilTime& time, uint16_t marker) {
    return commandRecord(time, marker, {});
}

}  // namespace RecordFormat
