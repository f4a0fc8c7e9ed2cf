#include "LinkSettings.h"

namespace {

std::optional<TBaudrate> AcceptedBaudRate(int32_t rate) {
    switch (rate) {
        case 300:
            return br300;
        case 600:
            return br600;
        case 1200:
            return br1200;
        case 2400:
            return br2400;
        case 4800:
            return br4800;
        case 9600:
            return br9600;
        case 19200:
            return br19200;
        case 38400:
            return br38400;
        case 57600:
            return br57600;
        case 115200:
            return br115200;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<LinkSettings> LinkSettingsFromCodes(int32_t baudRate, uint8_t parity,
                                                  uint8_t dataBits, uint8_t stopBits) {
    const std::optional<TBaudrate> rate = AcceptedBaudRate(baudRate);
    if (!rate || parity > 2 || dataBits < 4 || dataBits > 8 || stopBits > 2) {
        return std::nullopt;
    }
    return LinkSettings{*rate, static_cast<TParity>(parity), static_cast<TDatabits>(dataBits - 4),
                        static_cast<TStopbits>(stopBits)};
}
