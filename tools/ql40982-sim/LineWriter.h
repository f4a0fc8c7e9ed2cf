#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Puts a response on the line: at once, or byte by byte at 57600 bit/s (10 bits a byte) to
// absolute deadlines, since a pseudo-terminal has no line rate of its own.
class LineWriter {
public:
    static constexpr long NanosecondsPerByte = 173611;  // 10 bits at 57600 bit/s

    LineWriter(int fd, bool lineRate) : fd_(fd), lineRate_(lineRate) {}

    // False when the line would not take the bytes within a second (nobody reading).
    bool send(const std::vector<uint8_t>& bytes);

private:
    bool writeAll(const uint8_t* data, size_t size);

    int fd_;
    bool lineRate_;
};
