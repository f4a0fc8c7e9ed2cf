#pragma once

#include <cstdint>

// What a request calls for in answer, and whether a frame read from the line is that answer.
struct ModbusRequestShape {
    uint8_t function = 0;              // the function the answer must carry
    uint32_t registerCount = 0;        // of a read
    const uint8_t* request = nullptr;  // the request frame, for the echo of a write
};

// The length of the answer: 5 + 2n for a read of n registers (function 3 or 4), 8 for a write
// (function 6 or 16); 0 where the request does not tell it.
int32_t ExpectedAnswerLength(const ModbusRequestShape& shape);

// How far the bytes read so far go towards the answer.
enum class FrameProgress {
    Incomplete,   // what has come fits the answer so far; more is to come
    Complete,     // the answer's length (or an exception answer's 5 bytes) has arrived
    OtherLength,  // not the answer's shape: ended by a quiet line, then checked
};
FrameProgress JudgeFrame(const uint8_t* frame, int32_t length, const ModbusRequestShape& shape);

// Checks one answer as read from the line against the request it answers: the CRC over all
// but its last two bytes, the function, and, where the request tells them, the byte count and
// length of a read and the echo of a write's address and value (function 6) or start and count
// (function 16). Only an answer that passes every check stores the words of a read (function 3
// or 4) into `result`; the slave address is not looked at. Returns 0 when the answer is
// accepted, else the errno value of the failure: EPROTO an answer that does not fit the
// request, EBADMSG a wrong CRC, EREMOTEIO an exception answer. Reads only `length` bytes.
int CheckModbusResponse(const uint8_t* frame, int32_t length, const ModbusRequestShape& shape,
                        uint16_t* result);
