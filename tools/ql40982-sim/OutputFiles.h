#pragma once

#include "Datalogger.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// The flash as a complete download would produce it: 540,672 words, low byte first.
bool writeImage(const std::string& path, const std::vector<uint16_t>& words);

// One line per record as it is logged: "YYYY-MM-DD hh:mm:ss COMMAND [VALUE ...]".
class RecordLog {
public:
    bool open(const std::string& path);
    void append(const LoggedRecord& record);

private:
    std::ofstream out_;
};
