#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct ExceptionRange {
    uint16_t first = 0;
    uint16_t last = 0;
    uint8_t code = 4;  // server device failure
};

struct FaultOptions {
    unsigned dropEvery = 0;  // 0: never
    unsigned corruptEvery = 0;
    unsigned delayMs = 0;
    std::optional<unsigned> silentAfter;
    std::vector<ExceptionRange> exceptions;
    std::vector<ExceptionRange> exceptionsOnce;  // only the first request touching the range
    bool lineRate = false;
};

// What happens to one request addressed to the device, decided in arrival order.
struct RequestFate {
    bool handled = true;   // false: the device has fallen silent and ignores it
    bool answered = true;  // false: handled, but the response is lost on the line
    bool corruptCrc = false;
};

class FaultPlan {
public:
    explicit FaultPlan(FaultOptions options) : options_(std::move(options)) {}

    RequestFate next();
    // The exception code for a request touching registers first..first+count-1, if any; a
    // one-off range that answers is used up.
    std::optional<uint8_t> exceptionFor(uint16_t first, uint16_t count);

    const FaultOptions& options() const { return options_; }

private:
    FaultOptions options_;
    uint64_t requests_ = 0;
    std::vector<bool> onceUsed_;
};
