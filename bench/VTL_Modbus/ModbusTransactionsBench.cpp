// Times Modbus transactions of the library next to a libmodbus master doing the same on the
// same line: against a libmodbus slave that answers at once on a pseudo-terminal, and against
// the simulator sending its answers at the line's real speed (--line-rate). Also the CPU an
// idle, initialised library uses. Prints figures; asserts nothing.
//
// Each timed transaction starts from a quiet line (a pause of 3 ms before it, not timed): the
// library keeps the 3.5 characters of silence between frames that RTU asks for (1.75 ms at
// 57600 bit/s), which a libmodbus master does not. Back to back, ours include that silence.

#include <modbus.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "SimulatorProcess.h"
#include "VTL_Modbus.h"
#include "support/ModbusSlave.h"
#include "support/PseudoTerminal.h"

namespace {

constexpr int Rounds = 100;
constexpr uint16_t PageBuffer = 10000;
constexpr uint16_t PageWords = 66;
constexpr uint16_t WrittenRegister = 200;  // the page request's chip: harmless to the simulator
constexpr auto QuietLine = std::chrono::milliseconds(3);

struct Figures {
    double median;
    double p95;
    int failures;
};

// Runs one transaction per round; milliseconds per transaction.
Figures Measure(const std::function<bool()>& transaction, bool fromQuietLine) {
    std::vector<double> times;
    int failures = 0;
    for (int i = 0; i < Rounds; ++i) {
        if (fromQuietLine) {
            std::this_thread::sleep_for(QuietLine);
        }
        const auto start = std::chrono::steady_clock::now();
        if (!transaction()) {
            ++failures;
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[(times.size() * 95) / 100], failures};
}

void Print(const std::string& what, const Figures& figures) {
    std::printf("  %-46s median %6.2f ms   p95 %6.2f ms   failures %d/%d\n", what.c_str(),
                figures.median, figures.p95, figures.failures, Rounds);
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Pair {
    Figures read;
    Figures write;
};

Pair LibraryTransactions(const std::string& device, bool fromQuietLine) {
    setenv("VTL_MODBUS_COM1", device.c_str(), 1);
    if (Modbusinitialize(0, 57600, 0, 8, 0, 1000) != 1) {
        std::printf("VTL_Modbus: cannot open %s\n", device.c_str());
        return {};
    }
    std::vector<uint16_t> words(PageWords);
    uint16_t value = 1;
    const Pair figures{
        Measure([&] { return ModbusRead(1, 3, PageBuffer, PageWords, words.data()) == 1; },
                fromQuietLine),
        Measure(
            [&] {
                value = value == 1 ? 3 : 1;
                return ModbusWrite(1, 3, WrittenRegister, 1, &value) == 1;
            },
            fromQuietLine)};
    Modbusdeinitialize();
    return figures;
}

Pair LibmodbusTransactions(const std::string& device) {
    modbus_t* master = modbus_new_rtu(device.c_str(), 57600, 'N', 8, 1);
    if (master == nullptr || modbus_connect(master) != 0) {
        std::printf("libmodbus master: cannot open %s\n", device.c_str());
        modbus_free(master);
        return {};
    }
    modbus_set_slave(master, 1);
    std::vector<uint16_t> words(PageWords);
    uint16_t value = 1;
    const Pair figures{Measure(
                           [&] {
                               return modbus_read_registers(master, PageBuffer, PageWords,
                                                            words.data()) == PageWords;
                           },
                           true),
                       Measure(
                           [&] {
                               value = value == 1 ? 3 : 1;
                               return modbus_write_register(master, WrittenRegister, value) == 1;
                           },
                           true)};
    modbus_close(master);
    modbus_free(master);
    return figures;
}

void Compare(const char* line, const std::string& device) {
    std::printf("%s\n", line);
    const Pair ours = LibraryTransactions(device, true);
    const Pair theirs = LibmodbusTransactions(device);
    const Pair backToBack = LibraryTransactions(device, false);
    Print("VTL_Modbus read 66 registers", ours.read);
    Print("libmodbus master read 66 registers", theirs.read);
    Print("VTL_Modbus write 1 register", ours.write);
    Print("libmodbus master write 1 register", theirs.write);
    std::printf("  ours - libmodbus: read %+.2f ms (x%.2f), write %+.2f ms (x%.2f)\n",
                ours.read.median - theirs.read.median, ours.read.median / theirs.read.median,
                ours.write.median - theirs.write.median, ours.write.median / theirs.write.median);
    Print("VTL_Modbus read 66, back to back", backToBack.read);
    Print("VTL_Modbus write 1, back to back", backToBack.write);
}

void IdleLibrary(PseudoTerminal& line) {
    constexpr int Seconds = 10;
    setenv("VTL_MODBUS_COM1", line.SlavePath().c_str(), 1);
    if (Modbusinitialize(0, 57600, 0, 8, 0, 1000) != 1) {
        return;
    }
    const double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(Seconds));
    const double used = ProcessCpuSeconds() - before;
    Modbusdeinitialize();
    std::printf("idle initialised library over %d s: %.3f s CPU = %.3f %% of one core\n", Seconds,
                used, 100.0 * used / Seconds);
}

}  // namespace

int main() {
    {
        PseudoTerminal line;
        ModbusSlave slave(line);
        Compare("Pseudo-terminal without line delay, a libmodbus slave that answers at once:",
                line.SlavePath());
    }
    {
        SimulatorProcess simulator({"--line-rate"});
        if (simulator.running()) {
            Compare("The simulator sending at 57600 bit/s (--line-rate):", simulator.link());
        }
    }
    PseudoTerminal quiet;
    IdleLibrary(quiet);
    return 0;
}
