#pragma once

#include <cstddef>
#include <cstdint>

// CRC-16 of Modbus RTU (initial 0xFFFF, reflected polynomial 0xA001, no final XOR), computed with
// the two byte tables of the serial-line standard. The low byte goes on the line first.
uint16_t ModbusCrc16(const uint8_t* data, size_t length);
