#include "devicelink/Comon.h"
#include "FakeModbusDevice.h"
#include "ScriptedPrompts.h"
#include "devicelink/RegisterMap.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <cerrno>

namespace {

using Call = FakeModbusDevice::Call;

struct FailureRun {
    const char* name;
    int failures;          // failed transfers in a row
    bool reopenWorks;      // the port can be opened again
    int followingOk;       // successful transfers scripted after the run
    int expectedReopens;   // deinit/init pairs
    int expectedMessages;  // "Error open port for download data"
    int expectedCount;     // ConsecutiveFailures at the end
};

class ComonFailureRuns : public ::testing::TestWithParam<FailureRun> {};

TEST_P(ComonFailureRuns, CountsAndReopensAtTheFifth) {
    const FailureRun& run = GetParam();
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    Comon comon(device.library(), prompts, [] { return 2; });
    int reopenFailedSignals = 0;
    QObject::connect(&comon, &Comon::reopenFailed, [&] { ++reopenFailedSignals; });
    ASSERT_EQ(comon.openPort(), 1);
    if (!run.reopenWorks) {
        device.initResults = {5};
    }
    device.failNext(Call::Read, run.failures);

    std::vector<uint8_t> results;
    uint16_t word = 0;
    for (int i = 0; i < run.failures + run.followingOk; ++i) {
        results.push_back(comon.ReadRegisters(RegisterMap::LoggerNode, 120, 1, &word));
    }

    EXPECT_EQ(int(device.calls(Call::Deinit).size()), run.expectedReopens);
    EXPECT_EQ(int(device.calls(Call::Init).size()), 1 + run.expectedReopens);
    EXPECT_EQ(int(prompts.shown.count("Error open port for download data")), run.expectedMessages);
    EXPECT_EQ(reopenFailedSignals, run.expectedMessages);
    EXPECT_EQ(comon.CommAborted, run.expectedMessages > 0);
    EXPECT_EQ(comon.ConsecutiveFailures, run.expectedCount);
    // Every transfer returns its own result, the one that triggered the reopen included.
    for (int i = 0; i < run.failures; ++i) {
        EXPECT_NE(results[i], 1) << "transfer " << i + 1;
    }
    if (!run.reopenWorks) {
        for (size_t i = run.failures; i < results.size(); ++i) {
            EXPECT_EQ(results[i], 2) << "transfer " << i + 1;
        }
    }
    for (const auto& init : device.calls(Call::Init)) {
        EXPECT_EQ(init.start, 2) << "the chosen port is reopened";
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, ComonFailureRuns,
                         ::testing::Values(FailureRun{"FourThenSuccess", 4, true, 1, 0, 0, 0},
                                           FailureRun{"Five", 5, true, 0, 1, 0, 5},
                                           FailureRun{"Seven", 7, true, 0, 1, 0, 7},
                                           FailureRun{"FiveThenSuccess", 5, true, 1, 1, 0, 0},
                                           FailureRun{"ReopenFails", 5, false, 3, 1, 1, 8}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Comon, WorkInsideATransferWaitsForItInsteadOfBeingRefused) {
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    Comon comon(device.library(), prompts, [] { return 0; });
    comon.openPort();
    std::vector<int> nested;
    device.duringTransfer = [&](const auto&) {
        // Refused by the library, and no failure of the device.
        nested.push_back(comon.WriteRegister(RegisterMap::LoggerNode, 121, 1));
        comon.whenIdle([&] {
            EXPECT_FALSE(comon.transferInFlight());
            device.duringTransfer = nullptr;
            nested.push_back(comon.WriteRegister(RegisterMap::LoggerNode, 121, 2));
        });
        EXPECT_EQ(comon.ConsecutiveFailures, 0);
    };
    uint16_t clock[6];
    EXPECT_EQ(comon.ReadRegisters(RegisterMap::LoggerNode, RegisterMap::ClockRegister, 6, clock),
              1);
    EXPECT_EQ(nested, std::vector<int>{3});
    QCoreApplication::processEvents();
    EXPECT_EQ(nested, (std::vector<int>{3, 1}));
    EXPECT_EQ(comon.ConsecutiveFailures, 0);
    EXPECT_EQ(comon.counters().transfers, 2);
    EXPECT_EQ(comon.counters().failed, 0);
    EXPECT_EQ(device.calls(Call::Write).back().values, std::vector<uint16_t>{2});

    // Outside a transfer the work runs at once.
    bool ran = false;
    comon.whenIdle([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(Comon, ReopenKeepsThePortTheLinkWasOpenedOn) {
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    int chosenPort = 1;
    Comon comon(device.library(), prompts, [&] { return chosenPort; });
    ASSERT_EQ(comon.openPort(), 1);
    chosenPort = 4;  // chosen in the port dialog while the link is up
    device.failNext(Call::Read, 5);
    uint16_t word = 0;
    for (int i = 0; i < 5; ++i) {
        comon.ReadRegisters(RegisterMap::LoggerNode, 120, 1, &word);
    }
    comon.closePort();
    comon.openPort();
    std::vector<int> ports;
    for (const auto& init : device.calls(Call::Init)) {
        ports.push_back(init.start);
    }
    EXPECT_EQ(ports, (std::vector<int>{1, 1, 4}));
}

TEST(Comon, CountsTellTheKindOfTheLastFailure) {
    struct Case {
        uint8_t result;
        int error;
        LinkCounters::Failure kind;
        const char* text;
    };
    using F = LinkCounters::Failure;
    const Case cases[] = {
        {0, ETIMEDOUT, F::NoAnswer, "last failure: no answer"},
        {0, EBADMSG, F::BadCrc, "last failure: bad CRC"},
        {0, EREMOTEIO, F::Exception, "last failure: exception from the device"},
        {0, EPROTO, F::BadAnswer, "last failure: answer does not fit the request"},
        {0, 0, F::Transaction, "last failure: failed transaction"},
    };
    for (const Case& c : cases) {
        FakeModbusDevice device;
        ScriptedPrompts prompts;
        Comon comon(device.library(), prompts, [] { return 0; });
        comon.openPort();
        uint16_t word = 0;
        comon.ReadRegisters(RegisterMap::LoggerNode, 120, 1, &word);
        device.failNext(Call::Read, 1, c.result, -1, c.error);
        comon.ReadRegisters(RegisterMap::LoggerNode, 120, 1, &word);
        EXPECT_EQ(comon.counters().lastFailure, c.kind) << c.text;
        EXPECT_EQ(linkCountersText(comon.counters()),
                  QString("2 transfers, 1 failed, 0 reopened; ") + c.text);
    }
}

TEST(Comon, WriteSendsOneRegisterAndReadFillsInRegisterOrder) {
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    Comon comon(device.library(), prompts, [] { return 0; });
    comon.openPort();
    device.registers = {{100, 15}, {101, 3}, {102, 11}, {103, 14}, {104, 30}, {105, 45}};
    uint16_t clock[6] = {};
    ASSERT_EQ(comon.ReadRegisters(RegisterMap::LoggerNode, RegisterMap::ClockRegister, 6, clock),
              1);
    EXPECT_EQ(std::vector<uint16_t>(clock, clock + 6),
              (std::vector<uint16_t>{15, 3, 11, 14, 30, 45}));
    ASSERT_EQ(comon.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister, 2), 1);
    const auto writes = device.calls(Call::Write);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].start, 121);
    EXPECT_EQ(writes[0].values, std::vector<uint16_t>{2});
}

}  // namespace
