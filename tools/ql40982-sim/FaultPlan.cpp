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

namespace {

bool touches(const ExceptionRange& range, uint16_t first, uint16_t count) {
    const unsigned last = unsigned(first) + (count == 0 ? 0 : count - 1u);
    return first <= range.last && last >= range.first;
}

}  // namespace

std::optional<uint8_t> FaultPlan::exceptionFor(uint16_t first, uint16_t count) {
    for (const ExceptionRange& range : options_.exceptions) {
        if (touches(range, first, count)) {
            return range.code;
        }
    }
    onceUsed_.resize(options_.exceptionsOnce.size());
    for (size_t i = 0; i < options_.exceptionsOnce.size(); ++i) {
        if (!onceUsed_[i] && touches(options_.exceptionsOnce[i], first, count)) {
            onceUsed_[i] = true;
            return options_.exceptionsOnce[i].code;
        }
    }
    return std::nullopt;
}
