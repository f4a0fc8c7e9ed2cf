#include "ModbusCrc.h"

#include <array>

namespace {

using ByteTable = std::array<uint8_t, 256>;

// Entry i of the combined table is the CRC register after shifting byte i through it alone.
constexpr uint16_t ShiftedByte(unsigned index) {
    uint16_t crc = static_cast<uint16_t>(index);
    for (int bit = 0; bit < 8; ++bit) {
        crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                        : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

// The standard names the table that feeds the low register byte "Hi" after the byte order of
// its original big-endian listing; the names follow it so the loop reads like the reference.
constexpr ByteTable MakeCrcHiTable() {
    ByteTable table{};
    for (unsigned i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(ShiftedByte(i) & 0xFF);
    }
    return table;
}

constexpr ByteTable MakeCrcLoTable() {
    ByteTable table{};
    for (unsigned i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(ShiftedByte(i) >> 8);
    }
    return table;
}

constexpr ByteTable CrcHiTable = MakeCrcHiTable();
constexpr ByteTable CrcLoTable = MakeCrcLoTable();

static_assert(CrcHiTable[1] == 0xC1 && CrcLoTable[1] == 0xC0 && CrcHiTable[255] == 0x40 &&
              CrcLoTable[255] == 0x40);

}  // namespace

uint16_t ModbusCrc16(const uint8_t* data, size_t length) {
    uint8_t crcHi = 0xFF;
    uint8_t crcLo = 0xFF;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t index = crcLo ^ data[i];
        crcLo = crcHi ^ CrcHiTable[index];
        crcHi = CrcLoTable[index];
    }
    return static_cast<uint16_t>(crcHi << 8 | crcLo);
}
