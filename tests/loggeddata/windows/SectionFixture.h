#pragma once

#include "FakeFlash.h"
#include "FakeModbusDevice.h"
#include "ScriptedPrompts.h"
#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/DataSectionLink.h"
#include "loggeddata/DownloadDataSection.h"
#include "loggeddata/USelectCmd.h"
#include "loggeddata/UWaiting.h"
#include "loggeddata/U_Erase_Mem.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

// The device link as the section sees it, over the scripted device; it records what is done
// to the status poll.
class FakeLink : public DataSectionLink {
public:
    explicit FakeLink(Prompts& prompts) : comon_(device.library(), prompts, [] { return 0; }) {
        comon_.openPort();
    }

    Comon& comon() override { return comon_; }
    bool connected() const override { return isConnected; }
    bool sendLoggerCommand(uint16_t command) override {
        return comon_.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister,
                                    command) == 1;
    }
    bool statusPollRunning() const override { return pollRunning; }
    void startStatusPoll() override {
        pollRunning = true;
        poll << "start";
    }
    void stopStatusPoll() override {
        pollRunning = false;
        poll << "stop";
    }
    void setErasePending(bool pending) override { erasePending = pending; }

    FakeModbusDevice device;
    bool isConnected = true;
    bool pollRunning = true;
    bool erasePending = false;
    QStringList poll;

private:
    Comon comon_;
};

// Runs `action` once the modal window that is about to open is open.
inline void whenOpen(std::function<void()> action) {
    QTimer::singleShot(0, [action = std::move(action)] { action(); });
}

// A section with four commands (100 x2 "Temperature" 1 decimal C, 200 x3 "Pressure", 300 x1
// "Flags", 400 x1 "Level" V), a waiting window that starts at once, and a project folder.
class SectionTest : public ::testing::Test {
protected:
    SectionTest() {
        commands_ = {{100, 2, QStringLiteral("Temperature"), 1, 1, QStringLiteral("C")},
                     {200, 3, QStringLiteral("Pressure"), 1, 0, QStringLiteral("bar")},
                     {300, 1, QStringLiteral("Flags"), 1, 0, QString()},
                     {400, 1, QStringLiteral("Level"), 1, 0, QStringLiteral("V")}};
        waiting_.Timer_Start.setInterval(0);
        section_.attachWindows(&waiting_, &selectCmd_, &eraseWindow_);
    }

    void addSample(int32_t command, std::vector<uint16_t> values, int second = 0) {
        section_.data().samples.append(
            LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(14, 30, second)), command,
            values);
    }

    QTemporaryDir folder_;
    ScriptedPrompts prompts_;
    FakeLink link_{prompts_};
    FakeFlash flash_{link_.device};
    CommandList commands_;
    TFWaiting waiting_{[this] { return link_.comon().CommAborted; }};
    TFSelectCmd selectCmd_;
    TF_Erase_Mem eraseWindow_;
    DownloadDataSection section_{
        DataSectionContext{link_, commands_, prompts_, [this] { return folder_.path(); }}};
};
