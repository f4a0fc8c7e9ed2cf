#include "CommandTableWords.h"

#include "RegisterMap.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace CommandTableWords {

std::optional<std::vector<uint16_t>> read(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    std::vector<uint16_t> words;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        for (char& c : line) {
            c = c == ',' ? ' ' : c;
        }
        std::istringstream items(line);
        std::string item;
        while (items >> item) {
            const bool hex =
                item.size() > 2 && item[0] == '0' && (item[1] == 'x' || item[1] == 'X');
            const std::string digits = hex ? item.substr(2) : item;
            unsigned value = 0;
            const char* end = digits.data() + digits.size();
            const auto [stop, failed] = std::from_chars(digits.data(), end, value, hex ? 16 : 10);
            if (failed != std::errc() || stop != end || value > 0xFFFF) {
                error = path + ":" + std::to_string(number) + ": not a 16-bit word: " + item;
                return std::nullopt;
            }
            if (words.size() == RegisterMap::CommandTableCount) {
                error = path + ": more than " + std::to_string(RegisterMap::CommandTableCount) +
                        " words";
                return std::nullopt;
            }
            words.push_back(static_cast<uint16_t>(value));
        }
    }
    return words;
}

std::vector<TableEntry> entriesOf(const std::vector<uint16_t>& words) {
    std::vector<TableEntry> entries;
    for (size_t first = 0; first < words.size() && words[first] != 0; first += 3) {
        const uint16_t points = first + 1 < words.size() ? words[first + 1] : 0;
        entries.push_back({words[first], static_cast<uint8_t>(points & 0xFF)});
    }
    return entries;
}

}  // namespace CommandTableWords
