#include "ModbusResponse.h"

#include <cerrno>

#include "ModbusCrc.h"

int CheckModbusResponse(const uint8_t* frame, int32_t length, uint8_t expectedFunction,
                        uint32_t registerCount, uint16_t* result) {
    if (length < 2) {
        return EPROTO;
    }
    const uint16_t crc = ModbusCrc16(frame, static_cast<size_t>(length - 2));
    if (frame[length - 2] != (crc & 0xFF) || frame[length - 1] != (crc >> 8)) {
        return EBADMSG;
    }
    if (frame[1] != expectedFunction) {
        return frame[1] == (expectedFunction | 0x80) ? EREMOTEIO : EPROTO;
    }
    if (expectedFunction == 3 || expectedFunction == 4) {
        const uint32_t carried = length >= 5 ? static_cast<uint32_t>(length - 5) / 2 : 0;
        for (uint32_t i = 0; i < registerCount && i < carried; ++i) {
            result[i] = static_cast<uint16_t>(frame[3 + 2 * i] << 8 | frame[4 + 2 * i]);
        }
    }
    return 0;
}
