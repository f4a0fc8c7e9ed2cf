#pragma once

#include <cstdint>
#include <optional>

#include "CommInt.h"

// The line settings Modbusinitialize accepts, as port component values.
struct LinkSettings {
    TBaudrate baudRate;
    TParity parity;
    TDatabits dataBits;
    TStopbits stopBits;
};

// Empty when any code is outside the accepted set.
std::optional<LinkSettings> LinkSettingsFromCodes(int32_t baudRate, uint8_t parity,
                                                  uint8_t dataBits, uint8_t stopBits);
