#include "LineWriter.h"

#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>

namespace {

timespec plus(timespec t, long nanoseconds) {
    t.tv_nsec += nanoseconds;
    while (t.tv_nsec >= 1000000000L) {
        t.tv_nsec -= 1000000000L;
        ++t.tv_sec;
    }
    return t;
}

}  // namespace

bool LineWriter::writeAll(const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd_, data, size);
        if (written > 0) {
            data += written;
            size -= size_t(written);
            continue;
        }
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 && errno != EAGAIN) {
            return false;
        }
        pollfd waitFor{fd_, POLLOUT, 0};
        if (poll(&waitFor, 1, 1000) <= 0) {
            return false;
        }
    }
    return true;
}

bool LineWriter::send(const std::vector<uint8_t>& bytes) {
    if (!lineRate_) {
        return writeAll(bytes.data(), bytes.size());
    }
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    for (uint8_t byte : bytes) {
        // A byte is on the wire once its ten bit times have passed.
        deadline = plus(deadline, NanosecondsPerByte);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
        if (!writeAll(&byte, 1)) {
            return false;
        }
    }
    return true;
}
