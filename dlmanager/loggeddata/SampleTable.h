#pragma once

#include "loggeddata/LoggerTime.h"

#include <cstdint>
#include <span>
#include <vector>

// One logged sample: its time stamp, its command word (a position in the command list, or a
// hardware marker) and its raw register values, held in the table's value store.
struct TDati_DL {
    LoggerTime date = 0;
    int32_t command = 0;
    uint32_t firstValue = 0;
    uint32_t valueCount = 0;
};

inline constexpr int32_t HardwareStopMarker = 2000;
inline constexpr int32_t HardwareStartMarker = 2001;

inline bool isMarker(int32_t command) {
    return command == HardwareStopMarker || command == HardwareStartMarker;
}

// The samples of a download or a data file: at most 150,001, allocated once and reused. Every
// consumer handles indexes 0 to LastSampleIndex(); -1 means none.
class SampleTable {
public:
    static constexpr int Capacity = 150001;

    SampleTable();

    int LastSampleIndex() const { return int(samples_.size()) - 1; }
    int size() const { return int(samples_.size()); }
    bool empty() const { return samples_.empty(); }
    bool full() const { return samples_.size() == size_t(Capacity); }

    const TDati_DL& operator[](int index) const { return samples_[size_t(index)]; }
    std::span<const uint16_t> datas(int index) const {
        const TDati_DL& sample = samples_[size_t(index)];
        return {values_.data() + sample.firstValue, sample.valueCount};
    }

    void clear();
    // False, adding nothing, when the table is full.
    bool append(LoggerTime date, int32_t command, std::span<const uint16_t> datas);
    // Drops the last sample appended (and its values).
    void removeLast();
    // By date, ascending; equal dates keep their order.
    void sortByDate();

    void swap(SampleTable& other) noexcept;

private:
    std::vector<TDati_DL> samples_;
    std::vector<uint16_t> values_;
};
