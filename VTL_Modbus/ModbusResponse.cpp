#include "ModbusResponse.h"

#include <cerrno>
#include <cstring>

#include "ModbusCrc.h"

namespace {

constexpr int32_t ExceptionLength = 5;
constexpr int32_t WriteAnswerLength = 8;

bool IsRegisterRead(uint8_t function) {
    return function == 3 || function == 4;
}

bool IsWrite(uint8_t function) {
    return function == 6 || function == 16;
}

bool IsException(const uint8_t* frame, int32_t length, uint8_t function) {
    return length >= 2 && frame[1] == (function | 0x80);
}

}  // namespace

int32_t ExpectedAnswerLength(const ModbusRequestShape& shape) {
    if (IsRegisterRead(shape.function)) {
        return static_cast<int32_t>(5 + 2 * shape.registerCount);
    }
    return IsWrite(shape.function) ? WriteAnswerLength : 0;
}

FrameProgress JudgeFrame(const uint8_t* frame, int32_t length, const ModbusRequestShape& shape) {
    if (IsException(frame, length, shape.function)) {
        return length < ExceptionLength    ? FrameProgress::Incomplete
               : length == ExceptionLength ? FrameProgress::Complete
                                           : FrameProgress::OtherLength;
    }
    const int32_t expected = ExpectedAnswerLength(shape);
    if (expected == 0) {
        return length == 0 ? FrameProgress::Incomplete : FrameProgress::OtherLength;
    }
    if (length >= 2 && frame[1] != shape.function) {
        return FrameProgress::OtherLength;
    }
    if (IsRegisterRead(shape.function) && length >= 3 &&
        frame[2] != static_cast<uint8_t>(2 * shape.registerCount)) {
        return FrameProgress::OtherLength;
    }
    if (length < expected) {
        return FrameProgress::Incomplete;
    }
    return length == expected ? FrameProgress::Complete : FrameProgress::OtherLength;
}

int CheckModbusResponse(const uint8_t* frame, int32_t length, const ModbusRequestShape& shape,
                        uint16_t* result) {
    if (length < 2) {
        return EPROTO;
    }
    const uint16_t crc = ModbusCrc16(frame, static_cast<size_t>(length - 2));
    if (frame[length - 2] != (crc & 0xFF) || frame[length - 1] != (crc >> 8)) {
        return EBADMSG;
    }
    if (frame[1] != shape.function) {
        return IsException(frame, length, shape.function) ? EREMOTEIO : EPROTO;
    }
    const int32_t expected = ExpectedAnswerLength(shape);
    if (expected != 0 && length != expected) {
        return EPROTO;
    }
    if (IsRegisterRead(shape.function)) {
        if (frame[2] != static_cast<uint8_t>(2 * shape.registerCount)) {
            return EPROTO;
        }
        for (uint32_t i = 0; i < shape.registerCount; ++i) {
            result[i] = static_cast<uint16_t>(frame[3 + 2 * i] << 8 | frame[4 + 2 * i]);
        }
    } else if (IsWrite(shape.function) && shape.request != nullptr &&
               std::memcmp(frame + 2, shape.request + 2, 4) != 0) {
        return EPROTO;  // the address and value, or start and count, are not those sent
    }
    return 0;
}
