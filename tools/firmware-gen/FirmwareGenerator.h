#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Makes base firmware S-record files that look like the datalogger's: an S0 header, S1 records
// for the low boot area, S2 records of 32 and 16 data bytes over 16 KiB code pages and over the
// configuration bank windows, an optional record count, and an S9 terminator.
struct FirmwareLayout {
    uint32_t seed = 1;
    size_t codeBytes = 256 * 1024;  // filled into code pages around the bank windows
    // Data bytes per record inside each bank window (slot 1 first); 0 leaves the window empty.
    std::array<int, 5> windowRecordBytes = {16, 32, 0, 0, 0};
    bool withBootArea = true;      // S1 records below 0x10000
    bool withRecordCount = false;  // an S5 (or S6) record before the terminator
    bool withTerminator = true;    // S9; without it the file ends with an S8 record
    bool crlf = true;
};

std::string generateFirmware(const FirmwareLayout& layout);

// One S-record line without line end: type, count, address, data and checksum, upper case.
std::string sRecordLine(char type, uint32_t address, int addressBytes, const uint8_t* data,
                        size_t length);
