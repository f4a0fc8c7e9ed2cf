// How fast the simulated datalogger starts, what it costs while idle, and how long a page
// (two half pages: 3 request writes and a 66-register read each) takes with and without the
// line pacing.

#include "SimulatorProcess.h"

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// User plus system CPU time of a process, in seconds.
double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            user = std::stoul(field);
        } else if (i == 15) {
            system = std::stoul(field);
        }
    }
    return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

bool readPage(Master& master, uint16_t chipCode, uint16_t page) {
    for (uint16_t offset : {0, 132}) {
        if (!master.write(200, chipCode) || !master.write(201, page) ||
            !master.write(202, offset) || !master.read(10000, 66)) {
            return false;
        }
    }
    return true;
}

void pageTimes(const char* label, std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--prefill", "2"});
    SimulatorProcess simulator(arguments);
    Master master(simulator.link());
    if (!simulator.running() || !master.connected() || !readPage(master, 1, 0)) {
        std::printf("%s: simulator did not answer\n", label);
        return;
    }
    constexpr int Pages = 40;
    const auto start = Clock::now();
    for (int page = 0; page < Pages; ++page) {
        if (!readPage(master, 1, uint16_t(page))) {
            std::printf("%s: page %d failed\n", label, page);
            return;
        }
    }
    const double perPage = millisecondsSince(start) / Pages;
    const auto frameStart = Clock::now();
    master.read(10000, 66);  // a 137-byte answer
    std::printf("%-22s %7.2f ms a page (8 transactions), %6.2f ms a 66-register read\n", label,
                perPage, millisecondsSince(frameStart));
}

}  // namespace

int main() {
    {
        const auto start = Clock::now();
        SimulatorProcess simulator({"--prefill", "2"});
        const double linked = millisecondsSince(start);
        Master master(simulator.link());
        const bool answered = master.connected() && master.read(120, 1).has_value();
        std::printf("start with --prefill 2: link after %.1f ms, first answer after %.1f ms%s\n",
                    linked, millisecondsSince(start), answered ? "" : " (NO ANSWER)");
    }
    {
        SimulatorProcess simulator({"--prefill", "2"});
        Master master(simulator.link());
        master.read(120, 1);
        const pid_t pid = simulator.pid();
        const double before = cpuSeconds(pid);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double used = cpuSeconds(pid) - before;
        std::printf("idle for 3 s: %.3f s CPU (%.2f %%)\n", used, used / 3.0 * 100.0);
    }
    pageTimes("page, no pacing:", {});
    pageTimes("page, --line-rate:", {"--line-rate"});
    return 0;
}
