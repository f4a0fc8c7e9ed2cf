#include "ControlChannel.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

ControlChannel::~ControlChannel() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(path_.c_str());
    }
}

bool ControlChannel::listen(std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.size() >= sizeof address.sun_path) {
        error = "control socket path too long: " + path_;
        return false;
    }
    std::strcpy(address.sun_path, path_.c_str());
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    unlink(path_.c_str());
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, 4) != 0) {
        error = "cannot listen on " + path_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void ControlChannel::serve() {
    const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
        return;
    }
    // A client that connects and says nothing must not stop the device.
    timeval patience{2, 0};
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    std::string line;
    char c = 0;
    while (line.size() < 4096 && read(client, &c, 1) == 1 && c != '\n') {
        line.push_back(c);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    const std::string answer = handler_(line) + "\n";
    ssize_t ignored = write(client, answer.data(), answer.size());
    (void)ignored;
    close(client);
}
