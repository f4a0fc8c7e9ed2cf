#include "RequestLog.h"

namespace {

unsigned word(const uint8_t* bytes) {
    return unsigned(bytes[0]) << 8 | bytes[1];
}

}  // namespace

RequestLog::~RequestLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool RequestLog::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void RequestLog::append(double time, const uint8_t* frame, int length, const std::string& outcome) {
    if (file_ == nullptr || length < 2) {
        return;
    }
    std::fprintf(file_, "t=%.3f slave=%u fn=%u", time, frame[0], frame[1]);
    if (length >= 6) {
        const unsigned function = frame[1];
        const unsigned count = function == 6 ? 1 : word(frame + 4);
        std::fprintf(file_, " reg=%u count=%u", word(frame + 2), count);
        if (function == 6) {
            std::fprintf(file_, " values=%u", word(frame + 4));
        } else if (function == 16) {
            std::string values;
            for (unsigned i = 0; i < count && 7 + 2 * int(i) + 1 < length; ++i) {
                values += (i == 0 ? "" : ",") + std::to_string(word(frame + 7 + 2 * i));
            }
            std::fprintf(file_, " values=%s", values.c_str());
        }
    }
    std::fprintf(file_, " outcome=%s\n", outcome.c_str());
    std::fflush(file_);
}
