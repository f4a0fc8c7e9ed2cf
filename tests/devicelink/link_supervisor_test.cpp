#include "FakeModbusDevice.h"
#include "ScriptedPrompts.h"
#include "base/IniFile.h"
#include "base/LocaleText.h"
#include "base/ProgramSettings.h"
#include "base/WholeFile.h"
#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "devicelink/RegisterMap.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

// The link supervision against a scripted device; ticks are run directly.
namespace {

using Call = FakeModbusDevice::Call;

const QString OpenFailed = QStringLiteral("Error open port for download data");
const QString ConnectFirst = QStringLiteral("Connect DataLogger device before");

// Everything the supervision tells the windows.
struct Shown {
    std::vector<LinkState> states;
    std::vector<LampColour> lamps;
    QStringList deviceClock;
    QStringList runTexts;
    std::vector<LampColour> runLamps;
    QStringList clockReads;
    int idle = 0;
    int eraseFinished = 0;
    std::optional<bool> runStop;
};

class LinkTest : public ::testing::Test {
protected:
    LinkTest() {
        settings = Settings::prepareFolders(dir.path());
        settings.ProjectFolder = settings.ProjectsFolder + "/Plant";
        QDir().mkpath(settings.ProjectFolder);
        device.registers = {{100, 7}, {101, 3}, {102, 31}, {103, 9}, {104, 5}, {105, 3}, {120, 2}};
        QObject::connect(&link, &LinkSupervisor::linkStateChanged,
                         [this](LinkState s) { shown.states.push_back(s); });
        QObject::connect(&link, &LinkSupervisor::linkLampChanged,
                         [this](LampColour c) { shown.lamps.push_back(c); });
        QObject::connect(&link, &LinkSupervisor::deviceClockShown,
                         [this](const QString& t) { shown.deviceClock << t; });
        QObject::connect(&link, &LinkSupervisor::runStateShown,
                         [this](LampColour lamp, const QString&, const QString& text) {
                             shown.runLamps.push_back(lamp);
                             shown.runTexts << text;
                         });
        QObject::connect(&link, &LinkSupervisor::clockReadShown,
                         [this](const QString& t) { shown.clockReads << t; });
        QObject::connect(&link, &LinkSupervisor::linkIdle, [this] { ++shown.idle; });
        QObject::connect(&link, &LinkSupervisor::eraseFinished, [this] { ++shown.eraseFinished; });
        QObject::connect(&link, &LinkSupervisor::runStopEnabledChanged,
                         [this](bool enabled) { shown.runStop = enabled; });
    }

    void openOn(int port) {
        link.setCommunicationPort([port](int) { return port; });
    }
    QString options() const {
        QFile file(settings.ProjectFolder + "/DipCmd.xml");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
    ProgramSettings settings;
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    Comon comon{device.library(), prompts, [this] { return settings.ComPortNumber; }};
    LinkSupervisor link{comon, settings, prompts};
    Shown shown;
};

const QString March7 = LocaleText::dateTime(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)));

TEST_F(LinkTest, OpeningAnAnsweringDeviceConnectsAtTheFirstTick) {
    openOn(2);
    EXPECT_EQ(device.calls(Call::Init).size(), 1u);
    EXPECT_EQ(device.calls(Call::Init)[0].start, 2);
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "ComPort", "Number"), "2");
    EXPECT_EQ(shown.states, (std::vector{LinkState::Connecting, LinkState::Connected}));
    EXPECT_EQ(shown.lamps, (std::vector{LampColour::Yellow, LampColour::Green}));
    EXPECT_EQ(shown.deviceClock, QStringList{March7});
    EXPECT_EQ(shown.runTexts, QStringList{"STOP"});
    EXPECT_EQ(shown.runLamps, std::vector{LampColour::Red});
    EXPECT_EQ(shown.runStop, true);
    EXPECT_TRUE(link.Timer_Com.isActive());
    EXPECT_EQ(link.Timer_Com.interval(), 6000);
    EXPECT_TRUE(
        link.linkLampHint().startsWith("Link connected\nSince the link was opened: 2 "
                                       "transfers, 0 failed"))
        << link.linkLampHint().toStdString();

    // RUN, then the next tick shows it.
    link.run();
    EXPECT_EQ(device.calls(Call::Write).back().values, std::vector<uint16_t>{1});
    device.registers[120] = 1;
    link.StatusPoll();
    EXPECT_EQ(shown.runTexts.back(), "RUN");
    EXPECT_EQ(shown.runLamps.back(), LampColour::Green);
    link.stop();
    EXPECT_EQ(device.calls(Call::Write).back().values, std::vector<uint16_t>{2});
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(LinkTest, ADeviceThatNeverAnswersIsLostAtTheFifthTickAndIdleAtTheSixth) {
    device.failNext(Call::Read, -1, 0, -1, ETIMEDOUT);
    openOn(0);  // the first tick runs at once
    struct Tick {
        LinkState state;
        int failures;
        int reopens;
    };
    const Tick expected[] = {{LinkState::Connecting, 2, 0},
                             {LinkState::Connecting, 4, 0},
                             {LinkState::Connecting, 6, 1},
                             {LinkState::Connecting, 8, 1},
                             {LinkState::Lost, 10, 1}};
    for (int tick = 0; tick < 5; ++tick) {
        if (tick > 0) {
            link.StatusPoll();
        }
        EXPECT_EQ(link.linkState(), expected[tick].state) << "tick " << tick + 1;
        EXPECT_EQ(comon.ConsecutiveFailures, expected[tick].failures) << "tick " << tick + 1;
        EXPECT_EQ(int(device.calls(Call::Deinit).size()), expected[tick].reopens);
        EXPECT_EQ(link.linkLamp(), LampColour::Yellow);
        EXPECT_TRUE(link.Timer_Com.isActive());
        EXPECT_EQ(shown.idle, 0);
    }
    link.StatusPoll();
    EXPECT_EQ(shown.idle, 1);
    EXPECT_EQ(shown.runStop, false);
    EXPECT_EQ(shown.runLamps.back(), LampColour::White);
    EXPECT_FALSE(link.Timer_Com.isActive());
    EXPECT_EQ(device.calls(Call::Read).size(), 10u);  // the sixth tick reads nothing
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(link.linkLampHint().endsWith("last failure: no answer"));

    // Yellow: re-armed without touching the port and without a tick of its own.
    device.failures.clear();
    link.openLink();
    EXPECT_EQ(link.linkState(), LinkState::Connecting);
    EXPECT_EQ(comon.ConsecutiveFailures, 0);
    EXPECT_EQ(shown.runStop, true);
    EXPECT_TRUE(link.Timer_Com.isActive());
    EXPECT_EQ(device.calls(Call::Init).size(), 2u);  // the first open and the reopen
    EXPECT_EQ(device.calls(Call::Read).size(), 10u);
    link.StatusPoll();
    EXPECT_EQ(link.linkState(), LinkState::Connected);
}

TEST_F(LinkTest, APortThatCannotBeOpenedIsReportedAndTheLinkStaysClosed) {
    device.initResults = {5};
    qputenv("VTL_MODBUS_COM8", dir.filePath("unplugged").toLocal8Bit());
    openOn(7);
    qunsetenv("VTL_MODBUS_COM8");
    EXPECT_EQ(prompts.shown, QStringList{OpenFailed});
    ASSERT_EQ(prompts.details.size(), 1);
    EXPECT_TRUE(prompts.details[0].startsWith(dir.filePath("unplugged") +
                                              ", named by "
                                              "VTL_MODBUS_COM8, does not exist."));
    EXPECT_TRUE(comon.CommAborted);
    EXPECT_EQ(link.linkState(), LinkState::Closed);
    EXPECT_EQ(link.linkLamp(), LampColour::Red);
    EXPECT_FALSE(link.Timer_Com.isActive());
    EXPECT_TRUE(shown.states.empty());
    // The red path is taken again next time.
    openOn(7);
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_FALSE(comon.CommAborted);
}

TEST_F(LinkTest, OpeningWhileGreenRefusesButRemembersTheNewPort) {
    openOn(0);
    ASSERT_EQ(link.linkLamp(), LampColour::Green);
    openOn(5);
    EXPECT_EQ(prompts.shown, QStringList{"Sconnect the port before"});
    EXPECT_EQ(device.calls(Call::Init).size(), 1u);
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_EQ(settings.ComPortNumber, 5);
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "ComPort", "Number"), "5");
    // A cancelled dialog changes nothing; an out-of-range port is offered as Com1.
    settings.ComPortNumber = 9;
    int offered = -1;
    link.setCommunicationPort([&](int current) {
        offered = current;
        return std::nullopt;
    });
    EXPECT_EQ(offered, 0);
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "ComPort", "Number"), "5");
}

// A failed reopen leaves the library without a port: the link is closed at once, by RUN
// outside a tick or by the tick's own read, and the tick does not repaint it alive.
TEST_F(LinkTest, AFailedReopenClosesTheLinkAndTheRedPathOpensAgain) {
    const std::function<void()> fifthFailures[] = {
        [this] {
            device.failNext(Call::Write, 5);
            for (int i = 0; i < 5; ++i) {
                link.run();
            }
        },
        [this] {
            device.failNext(Call::Read, 4);
            link.StatusPoll();
            link.StatusPoll();  // the fourth failure is the status read of this tick
            device.failNext(Call::Read, 1);
            link.StatusPoll();
        },
    };
    for (const auto& failFiveTimes : fifthFailures) {
        openOn(0);
        ASSERT_EQ(link.linkState(), LinkState::Connected);
        prompts.shown.clear();
        shown = {};
        device.initResults = {5};  // the port has vanished
        failFiveTimes();
        EXPECT_EQ(prompts.shown, QStringList{OpenFailed});
        EXPECT_EQ(link.linkLamp(), LampColour::Red);
        EXPECT_FALSE(link.Timer_Com.isActive());
        EXPECT_EQ(link.linkState(), LinkState::Closed);
        EXPECT_EQ(shown.runStop, false);
        EXPECT_EQ(shown.idle, 1);
        EXPECT_TRUE(comon.CommAborted);

        openOn(0);
        EXPECT_EQ(link.linkState(), LinkState::Connected);
        EXPECT_EQ(link.linkLamp(), LampColour::Green);
        EXPECT_FALSE(comon.CommAborted);
        link.closeLink();
    }
}

TEST_F(LinkTest, UnknownRunStateAndInvalidClockKeepWhatIsShown) {
    openOn(0);
    device.registers[120] = 7;
    device.registers[101] = 13;
    link.StatusPoll();
    EXPECT_EQ(shown.deviceClock, QStringList{March7});
    EXPECT_EQ(shown.runTexts, QStringList{"STOP"});
    EXPECT_EQ(comon.ConsecutiveFailures, 0);
    EXPECT_EQ(link.linkState(), LinkState::Connected);

    // A run state of 7 from the start: the link connects all the same.
    link.closeLink();
    device.registers[101] = 3;
    shown = {};
    openOn(0);
    EXPECT_EQ(shown.deviceClock, QStringList{March7});
    EXPECT_TRUE(shown.runTexts.isEmpty());
    EXPECT_EQ(link.linkState(), LinkState::Connected);
}

TEST_F(LinkTest, APendingEraseEndsAtTheTickThatSeesRunOrStop) {
    openOn(0);
    link.ErasePending = true;
    device.registers[120] = 3;
    link.StatusPoll();
    EXPECT_EQ(shown.runTexts.back(), "Erase Memory");
    EXPECT_EQ(shown.runLamps.back(), LampColour::Yellow);
    EXPECT_TRUE(link.ErasePending);
    EXPECT_EQ(shown.eraseFinished, 0);
    device.failNext(Call::Read, 1, 0, 120);  // a failed status read proves nothing
    device.registers[120] = 2;
    link.StatusPoll();
    EXPECT_EQ(shown.eraseFinished, 0);
    link.StatusPoll();
    EXPECT_FALSE(link.ErasePending);
    EXPECT_EQ(shown.eraseFinished, 1);
}

TEST_F(LinkTest, ClockActionsNeedAConnectedLink) {
    bool dialogShown = false;
    link.readDateTime();
    link.setDateTime([&] { dialogShown = true; });
    device.failNext(Call::Read, -1);
    openOn(0);  // yellow
    link.readDateTime();
    EXPECT_EQ(prompts.shown, (QStringList{ConnectFirst, ConnectFirst, ConnectFirst}));
    EXPECT_FALSE(dialogShown);

    device.failures.clear();
    link.StatusPoll();
    link.readDateTime();
    device.registers[100] = 0;
    link.readDateTime();
    device.failNext(Call::Read, 1);
    link.readDateTime();
    EXPECT_EQ(shown.clockReads, (QStringList{March7, "", ""}));
    link.setDateTime([&] { dialogShown = true; });
    EXPECT_TRUE(dialogShown);
}

TEST_F(LinkTest, ClosingTwiceClosesOnce) {
    openOn(0);
    link.closeLink();
    link.closeLink();
    EXPECT_EQ(device.calls(Call::Deinit).size(), 1u);
    EXPECT_EQ(shown.states.back(), LinkState::Closed);
    EXPECT_EQ(std::count(shown.states.begin(), shown.states.end(), LinkState::Closed), 1);
    EXPECT_EQ(link.linkLamp(), LampColour::Red);
    EXPECT_EQ(shown.idle, 1);
    EXPECT_EQ(shown.runStop, false);
    EXPECT_FALSE(link.Timer_Com.isActive());
    // A later tick of a stray timer only repeats the idle presentation.
    link.StatusPoll();
    EXPECT_EQ(device.calls(Call::Read).size(), 2u);
}

TEST_F(LinkTest, ClosingInsideATransferOfATickEndsPolling) {
    openOn(0);
    bool closed = false;
    device.duringTransfer = [&](const auto&) {
        if (!closed) {
            closed = true;
            link.closeLink();
        }
    };
    link.StatusPoll();
    EXPECT_EQ(link.linkState(), LinkState::Closed);
    EXPECT_EQ(link.linkLamp(), LampColour::Red);
    EXPECT_FALSE(link.Timer_Com.isActive());
}

TEST_F(LinkTest, StartStopOptionsMirrorDipCmdXml) {
    const QString file = settings.ProjectFolder + "/DipCmd.xml";
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        bool before[2];
        bool after[2];
    };
    const Case cases[] = {
        {"missing", nullptr, {true, true}, {false, false}},
        {"unparsable", "<Dip-Switch><Start_Stop>1", {true, false}, {true, false}},
        {"start_stop not a number",
         "<Dip-Switch><Start_Stop>x</Start_Stop>"
         "<Cyclical_mem>1</Cyclical_mem></Dip-Switch>",
         {false, false},
         {false, false}},
        {"only start_stop",
         "<Dip-Switch><Start_Stop>1</Start_Stop></Dip-Switch>",
         {false, true},
         {true, true}},
        {"both",
         "<Dip-Switch><Start_Stop>0</Start_Stop><Cyclical_mem>1</Cyclical_mem>"
         "</Dip-Switch>",
         {true, false},
         {false, true}},
        {"other integer",
         "<Dip-Switch><Start_Stop>2</Start_Stop><Cyclical_mem>7"
         "</Cyclical_mem></Dip-Switch>",
         {true, true},
         {false, false}},
    };
    for (const Case& c : cases) {
        link.setStartStopOptions({c.before[0], c.before[1]});
        if (c.content) {
            ASSERT_TRUE(writeFileWhole(file, QByteArray(c.content)));
        } else {
            QFile::remove(file);
        }
        std::optional<ProjectFiles::StartStopOptions> loaded;
        auto connection = QObject::connect(
            &link, &LinkSupervisor::startStopOptionsChanged,
            [&](const ProjectFiles::StartStopOptions& options) { loaded = options; });
        link.loadStartStopOptions();
        QObject::disconnect(connection);
        ASSERT_TRUE(loaded) << c.name;
        EXPECT_EQ(loaded->startStopWithDipSwitch, c.after[0]) << c.name;
        EXPECT_EQ(loaded->cyclicalMemory, c.after[1]) << c.name;
    }
    // A missing file was made with both options off.
    QFile::remove(file);
    link.loadStartStopOptions();
    EXPECT_EQ(ProjectFiles::loadStartStopOptions(settings.ProjectFolder)->cyclicalMemory, false);
    EXPECT_TRUE(options().contains("<Start_Stop>0</Start_Stop>")) << options().toStdString();
    EXPECT_TRUE(options().contains("<Cyclical_mem>0</Cyclical_mem>"));
    link.setStartStopOptions({true, false});
    EXPECT_TRUE(options().contains("<Start_Stop>1</Start_Stop>"));
    EXPECT_TRUE(options().contains("<Cyclical_mem>0</Cyclical_mem>"));
}

}  // namespace
