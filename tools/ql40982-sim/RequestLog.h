#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One line per request frame the device receives, written as it arrives, for tests to read:
//   t=1733752492.123 slave=1 fn=6 reg=121 count=1 values=1 outcome=answered
// values only for writes; outcome is answered, lost (carried out, the answer lost or
// damaged), ignored (not carried out), exception-N, broadcast or other-slave.
class RequestLog {
public:
    RequestLog() = default;
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    bool open(const std::string& path);
    bool active() const { return file_ != nullptr; }
    // The frame without its CRC.
    void append(double time, const uint8_t* frame, int length, const std::string& outcome);

private:
    std::FILE* file_ = nullptr;
};
