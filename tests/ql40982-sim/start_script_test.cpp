// scripts/start-simulator as `make run` uses it: it returns with the PID on its output while
// the simulator keeps serving on the link.

#include "SimulatorProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <filesystem>

namespace {

TEST(StartScript, PrintsThePidOfASimulatorServingTheLink) {
    ScratchFolder build;
    std::filesystem::create_directories(build.file("bin"));
    std::filesystem::create_symlink(QL40982_SIM_EXECUTABLE, build.file("bin/ql40982-sim"));
    const std::string link = build.file("ttyQL40982");
    const std::string command =
        std::string(QL40982_SOURCE_DIR "/scripts/start-simulator ") + build.path + " " + link;
    // The script's output must end when it returns, not when the simulator does.
    FILE* output = popen(command.c_str(), "r");
    ASSERT_NE(output, nullptr);
    char text[64] = {};
    const bool gotLine = std::fgets(text, sizeof text, output) != nullptr;
    EXPECT_EQ(pclose(output), 0);
    ASSERT_TRUE(gotLine);
    const pid_t pid = static_cast<pid_t>(std::atol(text));
    ASSERT_GT(pid, 0);

    {
        Master master(link);
        ASSERT_TRUE(master.connected());
        const auto clock = master.read(100, 6);
        ASSERT_TRUE(clock);
        EXPECT_GE((*clock)[1], 1);
        EXPECT_LE((*clock)[1], 12);
        // Two days of history are there to download.
        const auto position = master.read(128, 1);
        ASSERT_TRUE(position);
        EXPECT_GT(position->front(), 0);
        EXPECT_EQ(control(link + ".control", "status"), "OK state 2");
    }
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_TRUE(eventually([&] { return kill(pid, 0) != 0; }));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

}  // namespace
