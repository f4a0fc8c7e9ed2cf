// The link supervision through the real Modbus library against the simulated datalogger on a
// pseudo-terminal, as in the field; ticks are run directly.

#include "../support/ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "base/LocaleText.h"
#include "base/ProgramSettings.h"
#include "devicelink/ClockEntry.h"
#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "devicelink/LoggerClock.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <sstream>

namespace {

class LinkWithSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        simulator = std::make_unique<SimulatorProcess>(std::vector<std::string>{
            "--control", files.file("control"), "--request-log", files.file("requests")});
        ASSERT_TRUE(simulator->running());
        ::setenv("VTL_MODBUS_COM1", simulator->link().c_str(), 1);
        settings = Settings::prepareFolders(dir.path());
        QObject::connect(&link, &LinkSupervisor::deviceClockShown,
                         [this](const QString& text) { deviceClock = text; });
        QObject::connect(
            &link, &LinkSupervisor::runStateShown,
            [this](LampColour, const QString&, const QString& text) { runState = text; });
    }
    void TearDown() override {
        link.closeLink();
        ::unsetenv("VTL_MODBUS_COM1");
    }
    std::string say(const std::string& command) { return control(files.file("control"), command); }
    // The writes the device received, "register=value".
    std::vector<std::string> writes() const {
        std::istringstream in(readTextFile(files.file("requests")));
        std::vector<std::string> found;
        for (std::string line; std::getline(in, line);) {
            const auto reg = line.find(" reg=");
            if (line.find(" fn=6 ") != std::string::npos) {
                const auto values = line.find(" values=");
                found.push_back(line.substr(reg + 5, line.find(' ', reg + 1) - reg - 5) + "=" +
                                line.substr(values + 8, line.find(' ', values + 1) - values - 8));
            }
        }
        return found;
    }

    ScratchFolder files;
    std::unique_ptr<SimulatorProcess> simulator;
    QTemporaryDir dir;
    ProgramSettings settings;
    ScriptedPrompts prompts;
    Comon comon{boundModbusLibrary(), prompts, [this] { return settings.ComPortNumber; }};
    LinkSupervisor link{comon, settings, prompts};
    QString deviceClock;
    QString runState;
};

TEST_F(LinkWithSimulator, ConnectsShowsTheClockAndRunsAndStops) {
    link.setCommunicationPort([](int) { return 0; });
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_EQ(link.linkLamp(), LampColour::Green);
    const auto shown = LocaleText::parseDateTime(deviceClock);
    ASSERT_TRUE(shown) << deviceClock.toStdString();
    EXPECT_LT(std::abs(shown->secsTo(QDateTime::currentDateTime())), 120);
    EXPECT_EQ(runState, "STOP");

    link.run();
    link.StatusPoll();
    EXPECT_EQ(runState, "RUN");
    EXPECT_EQ(say("status"), "OK state 1");
    link.stop();
    link.StatusPoll();
    EXPECT_EQ(runState, "STOP");
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(comon.counters().failed, 0);
}

TEST_F(LinkWithSimulator, TheClockIsSetAndReadBack) {
    link.setCommunicationPort([](int) { return 0; });
    say("fault ignore-write 103");  // one write lost on the line; the others go on
    EXPECT_EQ(ClockEntry::write(comon, {31, 12, 30, 9, 59, 50}), 1);
    EXPECT_EQ(ClockEntry::write(comon, {31, 12, 30, 23, 59, 50}), 0);
    EXPECT_EQ(writes(), (std::vector<std::string>{"100=31", "101=12", "102=30", "103=9", "104=59",
                                                  "105=50", "106=1", "100=31", "101=12", "102=30",
                                                  "103=23", "104=59", "105=50", "106=1"}));
    const auto read = LoggerClock::read(comon).dateTime;
    ASSERT_TRUE(read);
    EXPECT_EQ(read->date(), QDate(2030, 12, 31));
    EXPECT_GE(read->time(), QTime(23, 59, 50));
    EXPECT_EQ(comon.counters().lastFailure, LinkCounters::Failure::NoAnswer);
}

TEST_F(LinkWithSimulator, ASilentDeviceIsLostAndRearmedWhenItAnswersAgain) {
    link.setCommunicationPort([](int) { return 0; });
    ASSERT_EQ(link.linkState(), LinkState::Connected);
    // Odd values the device reports keep what is shown.
    say("set 120 7");
    say("set 101 13");
    const QString clockBefore = deviceClock;
    link.StatusPoll();
    EXPECT_EQ(runState, "STOP");
    EXPECT_EQ(deviceClock, clockBefore);
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    say("unset all");

    say("fault silent on");
    for (int tick = 1; tick <= 5; ++tick) {
        link.StatusPoll();
    }
    EXPECT_EQ(link.linkState(), LinkState::Lost);
    EXPECT_EQ(link.linkLamp(), LampColour::Yellow);
    EXPECT_EQ(comon.counters().reopens, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());  // the reopen worked
    link.StatusPoll();
    EXPECT_FALSE(link.runStopEnabled());
    EXPECT_FALSE(link.Timer_Com.isActive());

    say("fault silent off");
    link.setCommunicationPort([](int) { return 0; });  // yellow: re-armed
    EXPECT_EQ(link.linkState(), LinkState::Connecting);
    link.StatusPoll();
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_EQ(link.linkLamp(), LampColour::Green);
}

}  // namespace
