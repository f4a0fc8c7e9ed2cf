#pragma once

#include <cstdint>
#include <vector>

// Plausible register values for the logged records: per point a ramp, a sine or noise,
// fully determined by the seed, the command, the point and the sample number.
class SampleValues {
public:
    explicit SampleValues(uint64_t seed) : seed_(seed) {}

    uint16_t value(int command, int point, uint64_t sample) const;
    std::vector<uint16_t> values(int command, int pointCount, uint64_t sample) const;

private:
    uint64_t seed_;
};
