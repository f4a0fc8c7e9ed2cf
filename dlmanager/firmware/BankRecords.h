#pragma once

#include <QByteArray>
#include <cstdint>

// The S-record text that carries one bank image into the firmware: one "S2" record of 32 data
// bytes per block, upper-case hexadecimal, every line ended by CR LF.
inline constexpr int BankRecordDataBytes = 32;

// The byte as two upper-case hexadecimal digits at `out`; returns the place after them.
char* putHexByte(char* out, uint8_t value);

// One's complement of the low byte of the sum of count, address and data bytes.
uint8_t sRecordChecksum(uint8_t byteCount, uint32_t address, int addressBytes, const uint8_t* data,
                        int dataLength);

// The records for `image` placed from `windowStart`; `image` holds a whole number of blocks.
QByteArray bankRecordText(const QByteArray& image, uint32_t windowStart);
