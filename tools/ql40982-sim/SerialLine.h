#pragma once

#include <optional>
#include <string>

// The device's end of the cable: a new pseudo-terminal, or a real serial port at 57600 8N1.
class SerialLine {
public:
    static std::optional<SerialLine> openPseudoTerminal(std::string& error);
    static std::optional<SerialLine> openDevice(const std::string& path, std::string& error);

    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&&) = delete;
    ~SerialLine();

    int fd() const { return fd_; }
    // The path a client opens.
    const std::string& path() const { return path_; }

private:
    SerialLine(int fd, int keepAliveFd, std::string path)
        : fd_(fd), keepAliveFd_(keepAliveFd), path_(std::move(path)) {}

    int fd_ = -1;
    // Our own descriptor of the terminal side: without it the master side reports a hang-up
    // and fails every read while no client has the terminal open.
    int keepAliveFd_ = -1;
    std::string path_;
};
