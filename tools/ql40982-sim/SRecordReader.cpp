#include "SRecordReader.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace SRecordReader {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool parseBytes(const std::string& hex, std::vector<uint8_t>& bytes) {
    if (hex.size() % 2 != 0) {
        return false;
    }
    bytes.clear();
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return true;
}

Failure lineFailure(int lineNumber, const std::string& what) {
    return Failure{"line " + std::to_string(lineNumber) + ": " + what};
}

}  // namespace

std::variant<Memory, Failure> readText(const std::string& text) {
    Memory memory;
    std::istringstream in(text);
    std::string line;
    std::vector<uint8_t> bytes;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        if (line.size() < 4 || line[0] != 'S') {
            return lineFailure(lineNumber, "not an S-record");
        }
        if (!parseBytes(line.substr(2), bytes) || bytes.empty() || bytes[0] + 1u != bytes.size()) {
            return lineFailure(lineNumber, "bad length or hex digits");
        }
        unsigned sum = 0;
        for (size_t i = 0; i + 1 < bytes.size(); ++i) {
            sum += bytes[i];
        }
        if (static_cast<uint8_t>(~sum) != bytes.back()) {
            return lineFailure(lineNumber, "checksum mismatch");
        }
        const char type = line[1];
        const size_t addressLength = type == '1' ? 2 : type == '2' ? 3 : type == '3' ? 4 : 0;
        if (addressLength == 0) {
            continue;  // header, count and start records carry no memory contents
        }
        if (bytes.size() < 1 + addressLength + 1) {
            return lineFailure(lineNumber, "record too short");
        }
        uint32_t address = 0;
        for (size_t i = 0; i < addressLength; ++i) {
            address = address << 8 | bytes[1 + i];
        }
        for (size_t i = 1 + addressLength; i + 1 < bytes.size(); ++i) {
            memory[address++] = bytes[i];
        }
    }
    return memory;
}

std::variant<Memory, Failure> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Failure{"cannot open " + path};
    }
    std::ostringstream text;
    text << file.rdbuf();
    return readText(text.str());
}

std::variant<std::vector<uint8_t>, Failure> configBank(const Memory& memory) {
    std::vector<uint8_t> bank(ConfigBankSize, 0xFF);
    bool found = false;
    for (auto it = memory.lower_bound(ConfigBankStart);
         it != memory.end() && it->first < ConfigBankStart + ConfigBankSize; ++it) {
        bank[it->first - ConfigBankStart] = it->second;
        found = true;
    }
    if (!found) {
        return Failure{"the firmware holds no configuration bank"};
    }
    return bank;
}

LoggerConfiguration decodeConfigBank(const std::vector<uint8_t>& bank, uint16_t timeout) {
    constexpr size_t BaudOffset = 16184;
    constexpr size_t ParityOffset = 16185;
    constexpr size_t CountOffset = 16187;
    constexpr size_t CyclicalOffset = 16190;
    constexpr size_t MaxEntries = BaudOffset / 3;  // the table stops short of the parameters
    LoggerConfiguration configuration;
    configuration.timeout = timeout;
    configuration.baudCode = bank[BaudOffset];
    configuration.parityCode = bank[ParityOffset];
    configuration.cyclicalMemory = bank[CyclicalOffset] == 1;
    const size_t count =
        std::min<size_t>(size_t(bank[CountOffset]) << 8 | bank[CountOffset + 1], MaxEntries);
    for (size_t k = 0; k < count; ++k) {
        const uint16_t address = static_cast<uint16_t>(bank[3 * k] << 8 | bank[3 * k + 1]);
        configuration.commands.push_back({address, bank[3 * k + 2]});
    }
    return configuration;
}

std::variant<LoggerConfiguration, Failure> configurationFromFirmware(const std::string& path,
                                                                     uint16_t timeout) {
    const auto memory = readFile(path);
    if (const auto* failure = std::get_if<Failure>(&memory)) {
        return *failure;
    }
    const auto bank = configBank(std::get<Memory>(memory));
    if (const auto* failure = std::get_if<Failure>(&bank)) {
        return *failure;
    }
    return decodeConfigBank(std::get<std::vector<uint8_t>>(bank), timeout);
}

}  // namespace SRecordReader
