#include "FaultPlan.h"

RequestFate FaultPlan::next() {
    ++requests_;
    RequestFate fate;
    if (options_.silentAfter && requests_ > *options_.silentAfter) {
        fate.handled = false;
        fate.answered = false;
        return fate;
    }
    if (options_.dropEvery != 0 && requests_ % options_.dropEvery == 0) {
        fate.answered = false;
    }
    if (options_.corruptEvery != 0 && requests_ % options_.corruptEvery == 0) {
        fate.corruptCrc = true;
    }
    return fate;
}

std::optional<uint8_t> FaultPlan::exceptionFor(uint16_t first, uint16_t count) const {
    const unsigned last = unsigned(first) + (count == 0 ? 0 : count - 1u);
    for (const ExceptionRange& range : options_.exceptions) {
        if (first <= range.last && last >= range.first) {
            return range.code;
        }
    }
    return std::nullopt;
}
