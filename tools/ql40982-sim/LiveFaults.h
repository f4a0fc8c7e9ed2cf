#pragma once

#include <cstdint>
#include <vector>

// Faults switched at run time through the control socket, beside the periodic ones of the
// fault plan: the device falls silent until told otherwise, or misses the next requests, or
// the next write of one register. A missed request is neither carried out nor answered, as
// when the request never reached the device.
class LiveFaults {
public:
    void setSilent(bool silent) { silent_ = silent; }
    void ignoreNext(unsigned requests) { ignoreNext_ += requests; }
    void ignoreNextWrite(uint16_t address) { ignoredWrites_.push_back(address); }
    void clear();

    // Decides for one request addressed to the device (write: function 6 or 16); true when it
    // is to be ignored. A one-off fault is used up by the request it catches.
    bool ignores(bool write, uint16_t first, uint16_t count);

private:
    bool silent_ = false;
    unsigned ignoreNext_ = 0;
    std::vector<uint16_t> ignoredWrites_;
};
