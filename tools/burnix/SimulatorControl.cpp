#include "SimulatorControl.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

std::optional<std::string> controlSocketOf(const std::string& portPath) {
    const std::string path = portPath + ".control";
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
        return std::nullopt;
    }
    return path;
}

std::string sendControlCommand(const std::string& socketPath, const std::string& command) {
    sockaddr_un address{};
    if (socketPath.size() >= sizeof address.sun_path) {
        return "ERROR socket path too long: " + socketPath;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return std::string("ERROR ") + std::strerror(errno);
    }
    // A simulator that hangs must not hang us.
    const timeval limit{30, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    std::string answer;
    const std::string line = command + "\n";
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size())) {
        answer = std::string("ERROR ") + std::strerror(errno);
    } else {
        char c = 0;
        while (::read(fd, &c, 1) == 1 && c != '\n') {
            answer.push_back(c);
        }
        if (answer.empty()) {
            answer = "ERROR no answer from the simulator";
        }
    }
    ::close(fd);
    return answer;
}
