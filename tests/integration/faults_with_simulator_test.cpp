// Faults end to end: the program's register access through the real Modbus library against the
// simulated datalogger, with a noisy line and a device that goes away in the middle of the work.
// Nothing may hang, nothing downloaded may be lost, and what the program held before stays.
#include "QtPrinters.h"
#include "RecordingWork.h"
#include "ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "base/ProgramSettings.h"
#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/GetData.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/WaitingWork.h"
#include "projects/CommandTable.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectReadBack.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int TimeoutMs = 1000;  // what the program opens the link with
// A call that returns within the time-out and its own overhead has not hung; the margin is
// generous since sanitizer builds and a busy machine slow every call.
constexpr int HangLimitMs = TimeoutMs + 2000;

// Every library call of the program goes through here: timed, and with a hook that runs on a
// thread of its own during a chosen transfer (to pull the plug while the answer is on its way).
struct CallWatch {
    ModbusLibrary real = boundModbusLibrary();
    int transfers = 0;
    int longestMs = 0;
    int killDuring = -1;
    std::function<void()> kill;

    template <typename Call>
    uint8_t timed(Call call, bool transfer) {
        std::thread killer;
        if (transfer && ++transfers == killDuring) {
            killer = std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                kill();
            });
        }
        const Clock::time_point start = Clock::now();
        const uint8_t result = call();
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        longestMs = std::max(longestMs, int(took.count()));
        if (killer.joinable()) {
            killer.join();
        }
        return result;
    }
};

CallWatch* watch = nullptr;

ModbusLibrary watchedLibrary() {
    ModbusLibrary library;
    library.Modbusinitialize = [](uint8_t port, int32_t rate, uint8_t parity, uint8_t bits,
                                  uint8_t stop, uint16_t timeout) {
        return watch->timed(
            [&] { return watch->real.Modbusinitialize(port, rate, parity, bits, stop, timeout); },
            false);
    };
    library.Modbusdeinitialize = [] {
        return watch->timed([] { return watch->real.Modbusdeinitialize(); }, false);
    };
    library.ModbusRead = [](uint8_t node, uint8_t function, uint16_t start, uint16_t count,
                            uint16_t* buffer) {
        return watch->timed(
            [&] { return watch->real.ModbusRead(node, function, start, count, buffer); }, true);
    };
    library.ModbusWrite = [](uint8_t node, uint8_t function, uint16_t start, uint16_t count,
                             uint16_t* buffer) {
        return watch->timed(
            [&] { return watch->real.ModbusWrite(node, function, start, count, buffer); }, true);
    };
    return library;
}

// The request log's outcomes: how many requests the device saw and how many answers it lost or
// damaged on purpose.
struct RequestCounts {
    int requests = 0;
    int faults = 0;
};

RequestCounts countRequests(const std::string& log) {
    std::istringstream in(log);
    RequestCounts counts;
    for (std::string line; std::getline(in, line);) {
        ++counts.requests;
        counts.faults += line.find("outcome=lost") != std::string::npos ? 1 : 0;
    }
    return counts;
}

class FaultsWithSimulator : public ::testing::Test {
protected:
    void SetUp() override { watch = &calls; }
    void TearDown() override {
        comon.closePort();
        ::unsetenv("VTL_MODBUS_COM1");
        std::printf("[ figures  ] %d transfers, longest library call %d ms (time-out %d ms)\n",
                    calls.transfers, calls.longestMs, TimeoutMs);
        watch = nullptr;
    }

    void start(std::vector<std::string> arguments, const std::string& link = {}) {
        arguments.insert(arguments.end(), {"--project", DLM_DEMO_PROJECT, "--request-log",
                                           files.file("requests"), "--dump-image", dump});
        simulator = std::make_unique<SimulatorProcess>(arguments, link);
        ASSERT_TRUE(simulator->running());
        ::setenv("VTL_MODBUS_COM1", simulator->link().c_str(), 1);
        // The killed line's pseudo-terminal number may go at once to another program's line;
        // a link left behind would lead a reopen there, so the device's path goes with it.
        calls.kill = [this] {
            const std::string path = simulator->link();
            simulator->stop(SIGKILL);
            ::unlink(path.c_str());
        };
    }
    void killDuringTransfer(int transfer) { calls.killDuring = calls.transfers + transfer; }

    bool getData() {
        GetDataSteps steps;
        steps.sendLoggerCommand = [this](uint16_t command) {
            return comon.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister,
                                       command) == 1;
        };
        steps.runInWaitingWindow = [this](const std::function<bool(WaitingWork&)>& run) {
            return !comon.CommAborted && run(work);
        };
        return ::getData(comon, *data, commands, false, steps, prompts);
    }

    // One sample the program held before, to see that a failed download leaves it.
    void holdOneSample() {
        const uint16_t values[] = {1, 2};
        data->samples.append(LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(14, 30)), 0,
                             values);
    }
    void expectTheHeldSample() {
        ASSERT_EQ(data->samples.LastSampleIndex(), 0);
        EXPECT_EQ(data->samples.datas(0)[1], 2);
    }

    ScratchFolder files;
    std::string dump = files.file("dump.bin");
    std::unique_ptr<SimulatorProcess> simulator;
    CallWatch calls;
    ScriptedPrompts prompts;
    Comon comon{watchedLibrary(), prompts, [] { return 0; }};
    CommandList commands = ProjectFiles::loadCommandList(QStringLiteral(DLM_DEMO_PROJECT));
    std::unique_ptr<LoggedData> data = std::make_unique<LoggedData>();
    RecordingWork work;
};

// Bytes of the downloaded pages that differ from the device's flash: chip by chip, each
// downloaded page against the same page of the simulator's dump (chip 1 then chip 2).
long long bytesLost(const MemoryImage& image, const std::vector<uint16_t>& dump) {
    using namespace MemoryGeometry;
    long long lost = 0;
    for (int chip = 0; chip < ChipCount; ++chip) {
        const MemoryImage::ChipPages& pages = image.chip(chip);
        for (int page = 0; page < pages.pageCount; ++page) {
            const size_t from = size_t(pages.firstImagePage + page) * WordsPerPage;
            const size_t at = (size_t(chip) * PagesPerChip + size_t(page)) * WordsPerPage;
            for (size_t i = 0; i < size_t(WordsPerPage); ++i) {
                const uint16_t got = image.words()[from + i];
                const uint16_t want = at + i < dump.size() ? dump[at + i] : 0;
                lost += ((got ^ want) & 0xFF ? 1 : 0) + ((got ^ want) >> 8 ? 1 : 0);
            }
        }
    }
    return lost;
}

TEST_F(FaultsWithSimulator, ANoisyLineLosesNoByteOfTheDownload) {
    // 5 % of the answers lost and 5 % damaged, never the same request twice in a row.
    start({"--prefill", "0.5", "--drop-every", "20", "--corrupt-crc-every", "19"});
    ASSERT_EQ(comon.openPort(), 1);

    ASSERT_TRUE(getData()) << prompts.shown.join(u'|').toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty());
    simulator->stop();  // writes the flash once more, as it is now
    const std::vector<uint16_t> flash = readImageFile(dump);
    ASSERT_GT(data->image.pagesStored(), 10);
    const long long lost = bytesLost(data->image, flash);
    EXPECT_EQ(lost, 0);
    const RequestCounts counts = countRequests(readTextFile(files.file("requests")));
    EXPECT_GT(counts.faults, counts.requests / 15);
    EXPECT_EQ(comon.counters().failed, counts.faults);
    EXPECT_LT(calls.longestMs, HangLimitMs);
    std::printf("[ figures  ] %d requests, %d answers lost or damaged, %d pages, %lld bytes lost\n",
                counts.requests, counts.faults, data->image.pagesStored(), lost);
}

TEST_F(FaultsWithSimulator, ADeviceGoneMidDownloadIsReportedAndTheSamplesStay) {
    // Late answers, so that the kill lands while one is awaited.
    start({"--prefill", "0.1", "--delay", "60"});
    ASSERT_EQ(comon.openPort(), 1);
    holdOneSample();
    killDuringTransfer(12);

    EXPECT_FALSE(getData());
    EXPECT_FALSE(simulator->running());
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.back(), LoggedDataTexts::DownloadFailed);
    expectTheHeldSample();
    EXPECT_LT(calls.longestMs, HangLimitMs);
}

class ReadBackView : public ReadBack::View {
public:
    ReadBackView(Comon& comon, CommandList& commands) : comon_(comon), commands_(commands) {}
    bool readCommandTableWaiting() override {
        RecordingWork work;
        return ReadBack::readCommandTable(comon_, work, commands_);
    }
    void showCommandEditor() override {}

private:
    Comon& comon_;
    CommandList& commands_;
};

TEST_F(FaultsWithSimulator, ADeviceGoneMidReadBackIsReported) {
    start({"--delay", "60"});
    ASSERT_EQ(comon.openPort(), 1);
    QTemporaryDir dir;
    ProgramSettings settings = Settings::prepareFolders(dir.path());
    ReadBack::makeTempProjectCurrent(settings);
    CommandList readCommands;
    CommandTable table;
    ReadBackView view(comon, readCommands);
    killDuringTransfer(3);

    const ReadBack::Outcome outcome =
        ReadBack::readInto(settings.ProjectFolder, readCommands, table, comon, prompts, view);
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_FALSE(prompts.shown.isEmpty());
    EXPECT_LT(calls.longestMs, HangLimitMs);
}

class LinkFaults : public FaultsWithSimulator {
protected:
    void SetUp() override {
        FaultsWithSimulator::SetUp();
        QObject::connect(&link, &LinkSupervisor::deviceClockShown,
                         [this](const QString& text) { deviceClock = text; });
    }
    void TearDown() override {
        link.closeLink();
        FaultsWithSimulator::TearDown();
    }
    void connect() {
        link.setCommunicationPort([](int) { return 0; });
        ASSERT_EQ(link.linkState(), LinkState::Connected);
    }

    QTemporaryDir dir;
    ProgramSettings settings = Settings::prepareFolders(dir.path());
    LinkSupervisor link{comon, settings, prompts};
    QString deviceClock;
};

TEST_F(LinkFaults, ADeviceGoneMidStatusPollIsReported) {
    start({"--delay", "60"});
    connect();
    const QString clockBefore = deviceClock;
    killDuringTransfer(1);  // the clock read
    link.StatusPoll();
    for (int tick = 0; tick < 10 && link.linkState() == LinkState::Connected; ++tick) {
        link.StatusPoll();
    }
    EXPECT_NE(link.linkState(), LinkState::Connected);
    EXPECT_NE(link.linkLamp(), LampColour::Green);
    EXPECT_FALSE(prompts.shown.isEmpty());  // the port could not be opened again
    EXPECT_EQ(deviceClock, clockBefore);    // the last clock read stays shown
    EXPECT_LT(calls.longestMs, HangLimitMs);
}

TEST_F(LinkFaults, ANewLineAtTheSamePathConnectsAgainWhenRearmed) {
    start({});
    connect();
    const std::string path = simulator->link();
    calls.kill();  // the line closes under the open link
    for (int tick = 0; tick < 10 && link.linkState() == LinkState::Connected; ++tick) {
        link.StatusPoll();
    }
    EXPECT_NE(link.linkState(), LinkState::Connected);

    auto previous = std::move(simulator);  // its folder holds the path
    start({}, path);
    prompts.shown.clear();
    link.setCommunicationPort([](int) { return 0; });
    if (link.linkState() == LinkState::Connecting) {
        link.StatusPoll();  // re-armed without touching the port: the next tick connects
    }
    EXPECT_EQ(link.linkState(), LinkState::Connected) << prompts.shown.join(u'|').toStdString();
    EXPECT_EQ(link.linkLamp(), LampColour::Green);
    EXPECT_LT(calls.longestMs, HangLimitMs);
}

}  // namespace
