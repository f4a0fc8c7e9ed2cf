#pragma once

#include "LoggerConfiguration.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A command table given as the raw words of its registers 50000.. (three per entry: data
// address, point count, a third word), so that tables the program cannot write are served as
// they are: a point count word with a high byte, no end entry, anything.
namespace CommandTableWords {

// The words of a text file: numbers separated by blanks, commas or line ends, decimal or with
// "0x"; "#" starts a comment. At most the table's 8192 registers; nothing, with the reason,
// when the file cannot be read or holds anything else.
std::optional<std::vector<uint16_t>> read(const std::string& path, std::string& error);

// The commands the device logs by: the entries up to the first whose address word is 0, each
// with the low byte of its second word as point count.
std::vector<TableEntry> entriesOf(const std::vector<uint16_t>& words);

}  // namespace CommandTableWords
