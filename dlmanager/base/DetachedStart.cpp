#include "base/DetachedStart.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <vector>

namespace {

// Between fork and exec only async-signal-safe calls: the process may have had other threads.
[[noreturn]] void execDetached(const char* path, char* const* argv, int descriptorLimit) {
    // A tool that programs a device must not die with a Ctrl+C meant for us.
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGCHLD, SIGHUP}) {
        ::sigaction(signal, &standard, nullptr);
    }
    // Our descriptors (the serial port, the event loop's pipes) are none of its business.
    if (::syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
        for (int fd = 3; fd < descriptorLimit; ++fd) {
            ::close(fd);
        }
    }
    ::execv(path, argv);
    ::_exit(127);
}

}  // namespace

bool startDetached(const QByteArray& program, const QList<QByteArray>& arguments) {
    // Everything the child needs is made before the fork.
    QList<QByteArray> texts{program};
    texts.append(arguments);
    std::vector<char*> argv;
    for (QByteArray& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    rlimit limit{};
    const int descriptorLimit = ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < 65536
                                    ? int(limit.rlim_cur)
                                    : 65536;

    // The middle process ends at once and is reaped here; the program becomes the child of
    // init, which reaps it whenever it ends.
    const pid_t middle = ::fork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        const pid_t program = ::fork();
        if (program == 0) {
            execDetached(texts.front().constData(), argv.data(), descriptorLimit);
        }
        ::_exit(program < 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
