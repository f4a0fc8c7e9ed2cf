#include "CivilTime.h"

#include <ctime>

int64_t toNaiveSeconds(const CivilTime& time) {
    std::tm parts{};
    parts.tm_year = time.year - 1900;
    parts.tm_mon = time.month - 1;
    parts.tm_mday = time.day;
    parts.tm_hour = time.hour;
    parts.tm_min = time.minute;
    parts.tm_sec = time.second;
    return static_cast<int64_t>(timegm(&parts));
}

CivilTime fromNaiveSeconds(int64_t seconds) {
    const std::time_t value = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&value, &parts);
    return CivilTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}
