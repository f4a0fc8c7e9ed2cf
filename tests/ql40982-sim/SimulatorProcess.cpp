#include "SimulatorProcess.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

}  // namespace

std::string SimulatorProcess::makeFolder() {
    char pattern[] = "/tmp/ql40982-sim-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made != nullptr ? made : "";
}

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& arguments,
                                   const std::string& link)
    : folder_(makeFolder()), link_(link.empty() ? folder_ + "/line" : link) {
    std::vector<std::string> all{QL40982_SIM_EXECUTABLE, "--link", link_};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const std::string output = folder_ + "/output.txt";
    pid_ = fork();
    if (pid_ == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const bool linked = eventually(
        [&] {
            struct stat info {};
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return true;  // ended early: give up at once
            }
            return lstat(link_.c_str(), &info) == 0;
        },
        20);
    if (!linked || pid_ <= 0) {
        stop();
    }
}

int SimulatorProcess::stop(int signal) {
    if (pid_ <= 0) {
        return -1;
    }
    kill(pid_, signal);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

SimulatorProcess::~SimulatorProcess() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

Master::Master(const std::string& path, int timeoutMs) {
    context_ = modbus_new_rtu(path.c_str(), 57600, 'N', 8, 1);
    if (context_ == nullptr) {
        return;
    }
    modbus_set_slave(context_, 1);
    setTimeout(timeoutMs);
    connected_ = modbus_connect(context_) == 0;
}

Master::~Master() {
    if (context_ != nullptr) {
        if (connected_) {
            modbus_close(context_);
        }
        modbus_free(context_);
    }
}

void Master::setTimeout(int timeoutMs) {
    modbus_set_response_timeout(context_, uint32_t(timeoutMs / 1000),
                                uint32_t(timeoutMs % 1000) * 1000);
}

std::optional<std::vector<uint16_t>> Master::read(int address, int count) {
    std::vector<uint16_t> words(static_cast<size_t>(count));
    if (modbus_read_registers(context_, address, count, words.data()) != count) {
        lastError_ = errno;
        return std::nullopt;
    }
    lastError_ = 0;
    return words;
}

bool Master::write(int address, uint16_t value) {
    if (modbus_write_register(context_, address, value) != 1) {
        lastError_ = errno;
        return false;
    }
    lastError_ = 0;
    return true;
}

void Master::flush() {
    std::this_thread::sleep_for(100ms);
    modbus_flush(context_);
}

std::vector<uint16_t> readImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint16_t> words;
    char pair[2];
    while (in.read(pair, 2)) {
        words.push_back(static_cast<uint16_t>(uint8_t(pair[0]) | uint8_t(pair[1]) << 8));
    }
    return words;
}

std::string readTextFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeTextFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

bool eventually(const std::function<bool()>& predicate, int limitSeconds) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
    for (;;) {
        if (predicate()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
}

std::string control(const std::string& socketPath, const std::string& command) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return "no connection";
    }
    const std::string line = command + "\n";
    if (write(fd, line.data(), line.size()) != ssize_t(line.size())) {
        close(fd);
        return "not sent";
    }
    std::string answer;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        answer.push_back(c);
    }
    close(fd);
    return answer;
}
