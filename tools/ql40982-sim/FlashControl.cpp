#include "FlashControl.h"

#include "Datalogger.h"
#include "FlashMemory.h"

#include <fstream>
#include <iterator>

namespace FlashControl {

bool readImage(const std::string& path, std::vector<uint16_t>& words, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (bytes.size() != FlashMemory::ImageWords * 2) {
        error = path + " is not a whole flash image (" +
                std::to_string(FlashMemory::ImageWords * 2) + " bytes)";
        return false;
    }
    words.resize(FlashMemory::ImageWords);
    for (size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return true;
}

std::optional<std::string> command(Datalogger& logger, const std::string& verb,
                                   const std::string& argument) {
    if (verb == "flash") {
        std::vector<uint16_t> words;
        std::string error;
        if (argument.empty() || !readImage(argument, words, error)) {
            return "ERROR " + (argument.empty() ? std::string("flash needs a file") : error);
        }
        logger.loadFlash(words);
        return "OK";
    }
    return std::nullopt;
}

}  // namespace FlashControl
