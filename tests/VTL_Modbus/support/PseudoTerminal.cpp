#include "PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "ModbusCrc.h"

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("cannot create a pseudo-terminal");
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        throw std::runtime_error("cannot name the pseudo-terminal");
    }
    slavePath_ = name;
    holder_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (holder_ < 0) {
        throw std::runtime_error("cannot open the pseudo-terminal's slave side");
    }
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
    close(holder_);
    close(master_);
}

void PseudoTerminal::Send(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::runtime_error("cannot write to the pseudo-terminal");
        } else {
            pollfd out{master_, POLLOUT, 0};
            poll(&out, 1, 100);
        }
    }
}

std::vector<uint8_t> PseudoTerminal::Receive(size_t count, int timeoutMs) {
    std::vector<uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            break;
        }
        pollfd in{master_, POLLIN, 0};
        if (poll(&in, 1, static_cast<int>(left)) <= 0) {
            continue;
        }
        uint8_t chunk[512];
        const size_t want = std::min(sizeof chunk, count - bytes.size());
        const ssize_t n = read(master_, chunk, want);
        if (n > 0) {
            bytes.insert(bytes.end(), chunk, chunk + n);
        }
    }
    return bytes;
}

std::vector<uint8_t> PseudoTerminal::ReceiveUntilQuiet(int quietMs) {
    std::vector<uint8_t> bytes;
    for (;;) {
        pollfd in{master_, POLLIN, 0};
        if (poll(&in, 1, quietMs) <= 0) {
            return bytes;
        }
        uint8_t chunk[512];
        const ssize_t n = read(master_, chunk, sizeof chunk);
        if (n <= 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
}

std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame) {
    const uint16_t crc = ModbusCrc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}
