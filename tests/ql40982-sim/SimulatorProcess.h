#pragma once

#include <modbus/modbus.h>

#include <sys/types.h>
#include <csignal>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The simulator started as a separate process on its own pseudo-terminal, with a scratch
// folder for the files it writes; stopped with SIGTERM when the object goes.
class SimulatorProcess {
public:
    // Serves its line at `link` when given (a path a previous simulator served, say), else at a
    // path in its folder.
    explicit SimulatorProcess(const std::vector<std::string>& arguments,
                              const std::string& link = {});
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    std::string file(const std::string& name) const { return folder_ + "/" + name; }
    const std::string& link() const { return link_; }
    const std::string& folder() const { return folder_; }
    // Sends the signal and waits; the exit status, or -1.
    int stop(int signal = SIGTERM);

    static std::string makeFolder();

private:
    std::string folder_;
    std::string link_;
    pid_t pid_ = -1;
};

// A folder for input files written before the simulator starts; removed with the object.
struct ScratchFolder {
    ScratchFolder() : path(SimulatorProcess::makeFolder()) {}
    ~ScratchFolder();
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

// A plain libmodbus RTU master on the simulator's line.
class Master {
public:
    explicit Master(const std::string& path, int timeoutMs = 3000);
    ~Master();
    Master(const Master&) = delete;
    Master& operator=(const Master&) = delete;

    bool connected() const { return connected_; }
    void setTimeout(int timeoutMs);
    // Nothing on failure; lastError() then holds libmodbus's errno.
    std::optional<std::vector<uint16_t>> read(int address, int count);
    bool write(int address, uint16_t value);
    int lastError() const { return lastError_; }
    // Throws away whatever is left on the line, e.g. a late answer.
    void flush();
    modbus_t* context() { return context_; }

private:
    modbus_t* context_ = nullptr;
    bool connected_ = false;
    int lastError_ = 0;
};

// The simulator's flash image file as 16-bit words.
std::vector<uint16_t> readImageFile(const std::string& path);
std::string readTextFile(const std::string& path);
void writeTextFile(const std::string& path, const std::string& text);

// One command on the simulator's control socket; its answer line.
std::string control(const std::string& socketPath, const std::string& command);

// Waits (bounded) until the predicate holds; the result of its last call.
bool eventually(const std::function<bool()>& predicate, int limitSeconds = 30);
