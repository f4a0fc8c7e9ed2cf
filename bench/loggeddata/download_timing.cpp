// The memory download through our library against the simulator sending at the line's real
// speed (--line-rate): the time a page takes, and that time for the whole memory.
#include "RecordingWork.h"
#include "ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "devicelink/Comon.h"
#include "loggeddata/MemoryDownload.h"
#include "loggeddata/MemoryImage.h"

#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The waiting window's pauses are real pauses here.
class PausingWork : public RecordingWork {
public:
    void pause(int milliseconds) override { QThread::msleep(unsigned(milliseconds)); }
};

}  // namespace

int main() {
    constexpr int Pages = 20;
    SimulatorProcess simulator(
        {"--line-rate", "--set", "128=" + std::to_string(Pages - 1), "--set", "130=0"});
    if (!simulator.running()) {
        std::printf("download timing: the simulator did not start\n");
        return 1;
    }
    ::setenv("VTL_MODBUS_COM1", simulator.link().c_str(), 1);
    ScriptedPrompts prompts;
    Comon comon(boundModbusLibrary(), prompts, [] { return 0; });
    if (comon.openPort() != 1) {
        std::printf("download timing: cannot open %s\n", simulator.link().c_str());
        return 1;
    }
    auto image = std::make_unique<MemoryImage>();
    MemoryDownload download(comon, *image);
    PausingWork work;
    const auto start = std::chrono::steady_clock::now();
    const bool done = download.run(work, false);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    comon.closePort();
    const double perPage = seconds / Pages;
    std::printf(
        "download of %d pages at 57600 bit/s: %s, %.1f ms a page (8 transactions, two "
        "10 ms pauses); the whole memory (4096 pages) %.1f minutes\n",
        Pages, done ? "complete" : "FAILED", perPage * 1000, perPage * 4096 / 60);
    return done ? 0 : 1;
}
