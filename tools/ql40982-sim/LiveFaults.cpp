#include "LiveFaults.h"

void LiveFaults::clear() {
    silent_ = false;
    ignoreNext_ = 0;
    ignoredWrites_.clear();
}

bool LiveFaults::ignores(bool write, uint16_t first, uint16_t count) {
    if (silent_) {
        return true;
    }
    if (ignoreNext_ > 0) {
        --ignoreNext_;
        return true;
    }
    if (!write) {
        return false;
    }
    for (auto it = ignoredWrites_.begin(); it != ignoredWrites_.end(); ++it) {
        if (*it >= first && unsigned(*it) < unsigned(first) + count) {
            ignoredWrites_.erase(it);
            return true;
        }
    }
    return false;
}
