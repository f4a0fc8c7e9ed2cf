#include "SampleValues.h"

#include <cmath>
#include <numbers>

namespace {

uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

uint16_t SampleValues::value(int command, int point, uint64_t sample) const {
    const uint64_t salt = mix(seed_ ^ mix(uint64_t(command) << 32 | uint32_t(point)));
    switch ((command + point) % 3) {
        case 0: {  // a counter that wraps, e.g. an energy meter
            const uint64_t step = 1 + salt % 9;
            return static_cast<uint16_t>((salt % 500 + sample * step) % 10000);
        }
        case 1: {  // a daily-looking wave, e.g. a temperature in tenths
            const double period = 96.0 + double(salt % 64);
            const double phase = 2.0 * std::numbers::pi * double(sample) / period;
            return static_cast<uint16_t>(std::lround(500.0 + 300.0 * std::sin(phase)));
        }
        default: {  // a noisy level around a set point
            return static_cast<uint16_t>(2000 + salt % 1000 + mix(salt ^ sample) % 50);
        }
    }
}

std::vector<uint16_t> SampleValues::values(int command, int pointCount, uint64_t sample) const {
    std::vector<uint16_t> result;
    result.reserve(size_t(pointCount));
    for (int point = 0; point < pointCount; ++point) {
        result.push_back(value(command, point, sample));
    }
    return result;
}
