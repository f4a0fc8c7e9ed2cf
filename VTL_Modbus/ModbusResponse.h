#pragma once

#include <cstdint>

// Checks one response frame as read from the line against the transaction it answers: the CRC
// over all but the last two bytes, then the function code. For a register read (function 3 or
// 4) it stores the words the frame carries, at most `registerCount`, into `result`: a short
// answer must not hand the caller stale bytes of an earlier frame. The slave address and the
// byte count are not looked at. Returns 0 when the response is accepted, else the errno value
// of the failure: EPROTO too short or a function that does not fit, EBADMSG a wrong CRC,
// EREMOTEIO an exception answer. Reads only `length` bytes of `frame`.
int CheckModbusResponse(const uint8_t* frame, int32_t length, uint8_t expectedFunction,
                        uint32_t registerCount, uint16_t* result);
