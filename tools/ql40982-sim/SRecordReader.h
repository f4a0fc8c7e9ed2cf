#pragma once

#include "LoggerConfiguration.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

// Reads a Motorola S-record file the way the device's boot loader takes it in: data records
// S1/S2/S3 with their checksums, into a sparse byte map.
namespace SRecordReader {

struct Failure {
    std::string message;
};

using Memory = std::map<uint32_t, uint8_t>;

std::variant<Memory, Failure> readFile(const std::string& path);
std::variant<Memory, Failure> readText(const std::string& text);

inline constexpr uint32_t ConfigBankStart = 0x388000;
inline constexpr uint32_t ConfigBankSize = 16384;

// The configuration bank as the firmware holds it; bytes the file does not set are 0xFF, as
// unprogrammed flash. Fails when the file holds no byte of the bank.
std::variant<std::vector<uint8_t>, Failure> configBank(const Memory& memory);

// The device's reading of its bank: command table, baud rate and parity codes.
LoggerConfiguration decodeConfigBank(const std::vector<uint8_t>& bank, uint16_t timeout);

// All of the above in one step.
std::variant<LoggerConfiguration, Failure> configurationFromFirmware(const std::string& path,
                                                                     uint16_t timeout);

}  // namespace SRecordReader
