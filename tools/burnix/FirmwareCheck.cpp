#include "FirmwareCheck.h"

#include "SRecordReader.h"

#include <fstream>
#include <sstream>

namespace {

// The type digit of the last record, ignoring blank lines at the end.
char lastRecordType(const std::string& text) {
    size_t end = text.find_last_not_of("\r\n \t");
    if (end == std::string::npos) {
        return 0;
    }
    const size_t start = text.find_last_of('\n', end);
    const size_t first = start == std::string::npos ? 0 : start + 1;
    return end > first && text[first] == 'S' ? text[first + 1] : 0;
}

}  // namespace

std::string checkFirmware(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return "cannot read " + path;
    }
    std::ostringstream content;
    content << file.rdbuf();
    const std::string text = content.str();

    // The records as the device's boot loader reads them: well formed, checksums right.
    const auto memory = SRecordReader::readText(text);
    if (const auto* failure = std::get_if<SRecordReader::Failure>(&memory)) {
        return failure->message;
    }
    const char last = lastRecordType(text);
    if (last < '7' || last > '9') {
        return "no terminator record (S7, S8 or S9) at the end";
    }
    const auto& bytes = std::get<SRecordReader::Memory>(memory);
    using SRecordReader::ConfigBankSize;
    using SRecordReader::ConfigBankStart;
    const auto first = bytes.lower_bound(ConfigBankStart);
    const auto end = bytes.lower_bound(ConfigBankStart + ConfigBankSize);
    const auto present = std::distance(first, end);
    if (present != ConfigBankSize) {
        return "the configuration bank 0x388000..0x38BFFF is not complete (" +
               std::to_string(present) + " of 16384 bytes)";
    }
    return {};
}
