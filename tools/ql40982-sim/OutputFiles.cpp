#include "OutputFiles.h"

#include <cstdio>

bool writeImage(const std::string& path, const std::vector<uint16_t>& words) {
    std::vector<char> bytes;
    bytes.reserve(words.size() * 2);
    for (uint16_t word : words) {
        bytes.push_back(static_cast<char>(word & 0xFF));
        bytes.push_back(static_cast<char>(word >> 8));
    }
    // Written beside the target and renamed, so a reader never sees half an image.
    const std::string temporary = path + ".part";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::remove(temporary.c_str());
        return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool RecordLog::open(const std::string& path) {
    out_.open(path, std::ios::trunc);
    return bool(out_);
}

void RecordLog::append(const LoggedRecord& record) {
    if (!out_.is_open()) {
        return;
    }
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", record.time.year,
                  record.time.month, record.time.day, record.time.hour, record.time.minute,
                  record.time.second);
    out_ << stamp << ' ' << record.command;
    for (uint16_t value : record.values) {
        out_ << ' ' << value;
    }
    out_ << '\n';
    out_.flush();
}
