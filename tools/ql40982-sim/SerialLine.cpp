#include "SerialLine.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, B57600);
    cfsetospeed(&settings, B57600);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~(CSTOPB | PARENB);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

std::string failure(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

std::optional<SerialLine> SerialLine::openPseudoTerminal(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error = failure("cannot create a pseudo-terminal");
        if (master >= 0) {
            close(master);
        }
        return std::nullopt;
    }
    char name[128];
    if (ptsname_r(master, name, sizeof name) != 0) {
        error = failure("cannot name the pseudo-terminal");
        close(master);
        return std::nullopt;
    }
    const int terminal = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // Raw before any client comes: an echoing terminal would send our answers back to us.
    if (terminal < 0 || !makeRaw(terminal)) {
        error = failure(std::string("cannot set up ") + name);
        if (terminal >= 0) {
            close(terminal);
        }
        close(master);
        return std::nullopt;
    }
    return SerialLine(master, terminal, name);
}

std::optional<SerialLine> SerialLine::openDevice(const std::string& path, std::string& error) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || !makeRaw(fd)) {
        error = failure("cannot open " + path);
        if (fd >= 0) {
            close(fd);
        }
        return std::nullopt;
    }
    tcflush(fd, TCIOFLUSH);
    return SerialLine(fd, -1, path);
}

SerialLine::SerialLine(int fd, int keepAliveFd, std::string path)
    : fd_(fd), keepAliveFd_(keepAliveFd), path_(std::move(path)) {
    if (keepAliveFd_ < 0) {
        return;
    }
    watchFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watchFd_ >= 0 && inotify_add_watch(watchFd_, path_.c_str(),
                                           IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        close(watchFd_);
        watchFd_ = -1;
    }
}

void SerialLine::takeClientEvents() {
    if (watchFd_ < 0) {
        return;
    }
    alignas(inotify_event) char events[4096];
    ssize_t size = 0;
    while ((size = read(watchFd_, events, sizeof events)) > 0) {
        for (ssize_t at = 0; at < size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            if (event->mask & IN_OPEN) {
                ++clients_;
                ++opens_;
            } else if ((event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) && clients_ > 0) {
                if (--clients_ == 0) {
                    tcflush(keepAliveFd_, TCIFLUSH);
                }
            }
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

SerialLine::SerialLine(SerialLine&& other) noexcept
    : fd_(other.fd_),
      keepAliveFd_(other.keepAliveFd_),
      watchFd_(other.watchFd_),
      path_(std::move(other.path_)) {
    other.fd_ = -1;
    other.keepAliveFd_ = -1;
    other.watchFd_ = -1;
}

SerialLine::~SerialLine() {
    if (watchFd_ >= 0) {
        close(watchFd_);
    }
    if (keepAliveFd_ >= 0) {
        close(keepAliveFd_);
    }
    if (fd_ >= 0) {
        close(fd_);
    }
}
