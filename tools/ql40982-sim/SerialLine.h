#pragma once

#include <cstdint>
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
    // Readable when a client has opened or closed the terminal (-1 for a real port).
    int clientWatchFd() const { return watchFd_; }
    // Takes those events. When the last client has gone, the answers it left unread are
    // forgotten, as a cable forgets bytes nobody listened to, so that the next client does
    // not take them for its own.
    void takeClientEvents();
    // False while nobody has the terminal open: an answer now would wait for the next client.
    bool clientPresent() const { return watchFd_ < 0 || clients_ > 0; }
    // Changes whenever a client opens the terminal: an answer is for the client that asked.
    uint64_t clientGeneration() const { return opens_; }

    // The path a client opens.
    const std::string& path() const { return path_; }

private:
    SerialLine(int fd, int keepAliveFd, std::string path);

    int fd_ = -1;
    // Our own descriptor of the terminal side: without it the master side reports a hang-up
    // and fails every read while no client has the terminal open.
    int keepAliveFd_ = -1;
    int watchFd_ = -1;
    int clients_ = 0;
    uint64_t opens_ = 0;
    std::string path_;
};
