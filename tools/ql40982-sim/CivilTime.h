#pragma once

#include <cstdint>

// A calendar date and time of day without a time zone, as the device's clock holds it.
struct CivilTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const CivilTime&) const = default;
};

// Seconds since 1970-01-01 00:00:00 of the same naive calendar (no zone, no leap seconds).
int64_t toNaiveSeconds(const CivilTime& time);
CivilTime fromNaiveSeconds(int64_t seconds);
