#include "DeviceClock.h"

#include <cmath>
#include <ctime>

DeviceClock::DeviceClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    offsetSeconds_ = local.tm_gmtoff;
    staged_ = registers(static_cast<double>(now));
}

CivilTime DeviceClock::at(double hostSeconds) const {
    return fromNaiveSeconds(static_cast<int64_t>(std::floor(hostSeconds)) + offsetSeconds_);
}

void DeviceClock::set(const CivilTime& time, double hostSeconds) {
    offsetSeconds_ = toNaiveSeconds(time) - static_cast<int64_t>(std::floor(hostSeconds));
}

std::array<uint16_t, 6> DeviceClock::registers(double hostSeconds) const {
    const CivilTime now = at(hostSeconds);
    return {static_cast<uint16_t>(now.day),         static_cast<uint16_t>(now.month),
            static_cast<uint16_t>(now.year - 2000), static_cast<uint16_t>(now.hour),
            static_cast<uint16_t>(now.minute),      static_cast<uint16_t>(now.second)};
}

bool DeviceClock::commit(double hostSeconds) {
    const auto& f = staged_;
    const bool inRange = f[0] >= 1 && f[0] <= 31 && f[1] >= 1 && f[1] <= 12 && f[2] <= 63 &&
                         f[3] <= 23 && f[4] <= 59 && f[5] <= 59;
    if (!inRange) {
        return false;
    }
    set(CivilTime{2000 + staged_[2], staged_[1], staged_[0], staged_[3], staged_[4], staged_[5]},
        hostSeconds);
    return true;
}
