// Writes a base firmware S-record file for tests, benchmarks and the demo program folder.
#include "FirmwareGenerator.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

int usage() {
    std::cerr << "usage: firmware-gen OUTPUT [--code-bytes N] [--seed N] [--record-count]\n"
                 "                    [--no-terminator] [--lf]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const std::filesystem::path output = argv[1];
    FirmwareLayout layout;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--code-bytes" && hasValue) {
            layout.codeBytes = std::strtoull(argv[++i], nullptr, 0);
        } else if (option == "--seed" && hasValue) {
            layout.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 0));
        } else if (option == "--record-count") {
            layout.withRecordCount = true;
        } else if (option == "--no-terminator") {
            layout.withTerminator = false;
        } else if (option == "--lf") {
            layout.crlf = false;
        } else {
            return usage();
        }
    }

    const std::string text = generateFirmware(layout);
    std::error_code error;
    if (output.has_parent_path()) {
        std::filesystem::create_directories(output.parent_path(), error);
    }
    const std::filesystem::path temporary = output.string() + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file.flush()) {
            std::cerr << "firmware-gen: cannot write " << temporary << "\n";
            return 1;
        }
    }
    std::filesystem::rename(temporary, output, error);
    if (error) {
        std::cerr << "firmware-gen: cannot write " << output << ": " << error.message() << "\n";
        return 1;
    }
    return 0;
}
