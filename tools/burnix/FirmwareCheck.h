#pragma once

#include <string>

// Checks a Motorola S-record firmware before it goes to a device: every record well formed with
// a correct checksum, a terminator (S7, S8 or S9) as the last record, and every byte of the
// configuration bank 0x388000..0x38BFFF present. Empty when sound, else what is wrong.
std::string checkFirmware(const std::string& path);
