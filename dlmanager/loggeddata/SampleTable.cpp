#include "loggeddata/SampleTable.h"

#include "loggeddata/MemoryGeometry.h"

#include <algorithm>

SampleTable::SampleTable() {
    samples_.reserve(Capacity);
    // A full image never holds more values than words.
    values_.reserve(MemoryGeometry::ImageWords);
}

void SampleTable::clear() {
    samples_.clear();
    values_.clear();
}

bool SampleTable::append(LoggerTime date, int32_t command, std::span<const uint16_t> datas) {
    if (full()) {
        return false;
    }
    samples_.push_back({date, command, uint32_t(values_.size()), uint32_t(datas.size())});
    values_.insert(values_.end(), datas.begin(), datas.end());
    return true;
}

void SampleTable::removeLast() {
    if (samples_.empty()) {
        return;
    }
    values_.resize(samples_.back().firstValue);
    samples_.pop_back();
}

void SampleTable::sortByDate() {
    std::stable_sort(samples_.begin(), samples_.end(),
                     [](const TDati_DL& a, const TDati_DL& b) { return a.date < b.date; });
}

void SampleTable::swap(SampleTable& other) noexcept {
    samples_.swap(other.samples_);
    values_.swap(other.values_);
}
