// The device link against the simulated datalogger: the CPU the program uses while it is
// Connected and polling, and what one status poll tick costs beside its two transactions with
// the line paced at 57600 bit/s.

#include "ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "VTL_Modbus.h"
#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "loggeddata/WaitingWork.h"
#include "projects/ProjectReadBack.h"
#include "shell/UTessitoreFirmWare.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <typename Work>
double medianMilliseconds(int runs, Work work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The whole program (main window offscreen, the real library) Connected for `seconds`.
void cpuWhilePolling(int seconds) {
    SimulatorProcess simulator({"--line-rate"});
    ::setenv("VTL_MODBUS_COM1", simulator.link().c_str(), 1);
    QTemporaryDir folder;
    TFTessitoreFirmWare window(folder.path());
    window.show();
    window.B_Connect->click();
    window.link().setCommunicationPort([](int) { return 0; });
    if (window.link().linkState() != LinkState::Connected) {
        std::printf("cpu while polling: the link did not connect\n");
        return;
    }
    const double cpuBefore = processCpuSeconds();
    const auto start = Clock::now();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = processCpuSeconds() - cpuBefore;
    std::printf(
        "cpu while Connected and polling: %.3f s in %.1f s = %.2f %% of one core "
        "(%lld transfers, %lld failed)\n",
        cpu, wall, 100.0 * cpu / wall, window.comon().counters().transfers,
        window.comon().counters().failed);
    window.link().closeLink();
}

void tickAgainstTransactions(int runs) {
    SimulatorProcess simulator({"--line-rate"});
    ::setenv("VTL_MODBUS_COM1", simulator.link().c_str(), 1);
    QTemporaryDir folder;
    TFTessitoreFirmWare window(folder.path());
    LinkSupervisor& link = window.link();
    link.setCommunicationPort([](int) { return 0; });
    link.Timer_Com.stop();
    const double tick = medianMilliseconds(runs, [&] { link.StatusPoll(); });
    link.Timer_Com.stop();
    uint16_t words[6];
    const double bare = medianMilliseconds(runs, [&] {
        ModbusRead(1, 3, 100, 6, words);
        ModbusRead(1, 3, 120, 1, words);
    });
    std::printf(
        "status poll tick, --line-rate: median %.2f ms; its two bare transactions: "
        "median %.2f ms (%d runs each, %lld failed transfers)\n",
        tick, bare, runs, window.comon().counters().failed);
    link.closeLink();
}

// A waiting window that lets nothing wait: the read-back's own pace.
class BareWork : public WaitingWork {
public:
    void showProgress(const QString&) override {}
    void processEvents() override { QCoreApplication::processEvents(); }
    bool abortRequested() const override { return false; }
    void pause(int) override {}
};

// "Download Project": the time an entry of the logger's command table takes.
void readBackPerEntry(int entries) {
    const QString folder = QString::fromStdString(SimulatorProcess::makeFolder());
    QFile table(folder + "/table.txt");
    if (!table.open(QIODevice::WriteOnly)) {
        return;
    }
    for (int k = 0; k < entries; ++k) {
        table.write(QByteArray::number(100 + k) + " 2 0\n");
    }
    table.write("0 0 0\n");
    table.close();
    SimulatorProcess simulator({"--line-rate", "--command-table", table.fileName().toStdString()});
    ::setenv("VTL_MODBUS_COM1", simulator.link().c_str(), 1);
    ScriptedPrompts prompts;
    Comon comon(boundModbusLibrary(), prompts, [] { return 0; });
    if (comon.openPort() != 1) {
        std::printf("read-back timing: cannot open %s\n", simulator.link().c_str());
        return;
    }
    BareWork work;
    CommandList commands;
    const auto start = Clock::now();
    const bool done = ReadBack::readCommandTable(comon, work, commands);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    comon.closePort();
    std::printf(
        "Download Project, --line-rate: %s, %zu entries in %.0f ms = %.2f ms an entry (2731 "
        "entries: %.1f s)\n",
        done ? "complete" : "FAILED", commands.size(), ms, ms / (entries + 1),
        ms / (entries + 1) * 2731 / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const char* seconds = std::getenv("DLM_LINK_CPU_SECONDS");
    tickAgainstTransactions(50);
    readBackPerEntry(300);
    cpuWhilePolling(seconds ? std::atoi(seconds) : 60);
    return 0;
}
