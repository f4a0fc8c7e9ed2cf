#include "ModbusCrc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint16_t BitwiseCrc(const std::vector<uint8_t>& data) {
    uint16_t crc = 0xFFFF;
    for (uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
        }
    }
    return crc;
}

}  // namespace

TEST(ModbusCrc16, KnownFramesAndTheBitwiseDefinition) {
    const std::vector<uint8_t> read6 = {0x01, 0x03, 0x00, 0x64, 0x00, 0x06};
    const std::vector<uint8_t> write2 = {0x01, 0x06, 0x00, 0x79, 0x00, 0x02};
    const std::vector<uint8_t> read10 = {0x01, 0x03, 0x00, 0x00, 0x00, 0x0A};
    EXPECT_EQ(ModbusCrc16(read6.data(), read6.size()), 0x1784);
    EXPECT_EQ(ModbusCrc16(write2.data(), write2.size()), 0xD2D9);
    EXPECT_EQ(ModbusCrc16(read10.data(), read10.size()), 0xCDC5);
    EXPECT_EQ(ModbusCrc16(nullptr, 0), 0xFFFF);

    std::vector<uint8_t> data;
    uint32_t seed = 12345;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 1103515245 + 12345;
        data.push_back(static_cast<uint8_t>(seed >> 16));
        EXPECT_EQ(ModbusCrc16(data.data(), data.size()), BitwiseCrc(data)) << i;
    }
}
