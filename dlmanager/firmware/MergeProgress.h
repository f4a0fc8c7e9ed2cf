#pragma once

// What the merge reports to a progress bar: a maximum, then positions up to it.
class MergeProgress {
public:
    virtual ~MergeProgress() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
};

// For callers that show no progress.
class NoMergeProgress final : public MergeProgress {
public:
    void setMaximum(int) override {}
    void setPosition(int) override {}
};
