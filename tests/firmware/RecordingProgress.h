#pragma once

#include "firmware/MergeProgress.h"

#include <vector>

// Remembers every maximum and position the merge reports.
class RecordingProgress final : public MergeProgress {
public:
    std::vector<int> maxima;
    std::vector<int> positions;
    void setMaximum(int value) override { maxima.push_back(value); }
    void setPosition(int value) override { positions.push_back(value); }
};
