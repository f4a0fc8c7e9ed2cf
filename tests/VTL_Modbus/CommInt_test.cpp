#include "CommInt.h"
#include "support/Eventually.h"

#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>

#include "support/PseudoTerminal.h"

namespace {

termios LineSettings(const PseudoTerminal& line) {
    termios settings{};
    tcgetattr(line.HolderFd(), &settings);
    return settings;
}

speed_t OutputSpeed(const PseudoTerminal& line) {
    const termios settings = LineSettings(line);
    return cfgetospeed(&settings);
}

template <typename Operation>
ECommError CaughtCommError(Operation operation) {
    try {
        operation();
    } catch (const ECommError& error) {
        return error;
    }
    ADD_FAILURE() << "no ECommError raised";
    return ECommError("", 0);
}

class OpenPort : public testing::Test {
protected:
    void SetUp() override {
        port.SetDeviceName(line.SlavePath());
        port.Open();
    }

    PseudoTerminal line;
    TComm port;
};

}  // namespace

TEST(CommDefaults, AreThoseOfTheComponent) {
    TComm port;
    EXPECT_EQ(port.DeviceName(), "Com2");
    EXPECT_EQ(port.ReadTimeout, 1000);
    EXPECT_EQ(port.WriteTimeout, 1000);
    EXPECT_EQ(port.ReadBufSize(), 4096);
    EXPECT_EQ(port.WriteBufSize(), 2048);
    EXPECT_EQ(port.MonitorEvents(), AllCommEvents);
    EXPECT_EQ(port.BaudRate(), br9600);
    EXPECT_EQ(port.Parity(), paNone);
    EXPECT_EQ(port.Stopbits(), sb10);
    EXPECT_EQ(port.Databits(), da8);
    EXPECT_EQ(port.Options(), 0);
    EXPECT_EQ(port.FlowControl(), fcDefault);
    EXPECT_EQ(port.EventChars().XonChar(), 17);
    EXPECT_EQ(port.EventChars().XoffChar(), 19);
    EXPECT_FALSE(port.Enabled());
}

TEST(CommClosed, QueriesReportNothingAndLineFunctionsRaise) {
    TComm port;
    EXPECT_EQ(port.InQueCount(), -1);
    EXPECT_EQ(port.OutQueCount(), -1);
    EXPECT_FALSE(port.GetModemState(1));
    EXPECT_FALSE(port.GetComState(1));
    port.PurgeIn();
    port.PurgeOut();
    port.Close();
    const ECommError error = CaughtCommError([&] { port.SetDTRState(true); });
    EXPECT_STREQ(error.what(), "Port not open, unable to complete operation (Error: -1) ");
    EXPECT_EQ(error.ErrorCode, -1);
}

TEST(CommOpen, MissingDeviceRaisesWithTheSystemCode) {
    TComm port;
    port.SetDeviceName("/dev/no-such-serial-device");
    const ECommError error = CaughtCommError([&] { port.Open(); });
    EXPECT_EQ(error.ErrorCode, ENOENT);
    EXPECT_EQ(std::string(error.what()),
              "Error accessing specified device (Error: " + std::to_string(ENOENT) + ") ");
    EXPECT_FALSE(port.Enabled());
}

TEST(CommOpen, PlainFileIsNotACharacterDevice) {
    char path[] = "/tmp/vtl-modbus-plainXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    TComm port;
    port.SetDeviceName(path);
    const ECommError error = CaughtCommError([&] { port.Open(); });
    EXPECT_STREQ(error.what(), "Invalid device handle, access denied (Error: -1) ");
    EXPECT_EQ(error.ErrorCode, -1);
    EXPECT_FALSE(port.Enabled());
    unlink(path);
}

TEST_F(OpenPort, SecondOpenRaisesPortAlreadyAssigned) {
    const ECommError error = CaughtCommError([&] { port.Open(); });
    EXPECT_STREQ(error.what(), "Port already assigned (open) (Error: -1) ");
    EXPECT_EQ(error.ErrorCode, -1);
    EXPECT_TRUE(port.Enabled());
}

TEST_F(OpenPort, AnotherPortCannotShareTheDevice) {
    TComm other;
    other.SetDeviceName(line.SlavePath());
    const ECommError error = CaughtCommError([&] { other.Open(); });
    EXPECT_NE(std::string(error.what()).find("Error accessing specified device"),
              std::string::npos);
    port.Close();
    EXPECT_NO_THROW(other.Open());  // free again once closed
}

TEST_F(OpenPort, FirstGroupSettersRaiseOnlyWhenTheValueChanges) {
    EXPECT_NO_THROW(port.SetDeviceName(line.SlavePath()));
    EXPECT_NO_THROW(port.SetReadBufSize(4096));
    EXPECT_NO_THROW(port.SetMonitorEvents(AllCommEvents));
    EXPECT_THROW(port.SetDeviceName("Com7"), ECommError);
    EXPECT_THROW(port.SetReadBufSize(8192), ECommError);
    EXPECT_THROW(port.SetWriteBufSize(1), ECommError);
    EXPECT_THROW(port.SetMonitorEvents(0), ECommError);
    EXPECT_EQ(port.DeviceName(), line.SlavePath());
    EXPECT_EQ(port.ReadBufSize(), 4096);
}

TEST(CommSettings, LineSettingsOnAClosedPortAreAppliedByOpen) {
    PseudoTerminal line;
    TComm port;
    port.SetBaudRate(br57600);
    port.SetParity(paEven);
    port.SetDatabits(da7);
    port.SetStopbits(sb20);
    EXPECT_EQ(port.DeviceControlBlock().BaudRate, 0u);  // nothing touched yet
    EXPECT_EQ(OutputSpeed(line), static_cast<speed_t>(B38400));
    port.SetDeviceName(line.SlavePath());
    port.Open();
    // A pseudo-terminal ignores the character format, so that is read from the block.
    const termios settings = LineSettings(line);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B57600));
    EXPECT_FALSE(settings.c_lflag & (ICANON | ECHO));
    EXPECT_FALSE(settings.c_oflag & OPOST);
    EXPECT_EQ(port.DeviceControlBlock().BaudRate, 57600u);
    EXPECT_EQ(port.DeviceControlBlock().ByteSize, 7);
    EXPECT_EQ(port.DeviceControlBlock().Parity, 2);
    EXPECT_EQ(port.DeviceControlBlock().StopBits, 2);
}

TEST_F(OpenPort, SecondGroupSettersTakeEffectAtOnce) {
    port.SetBaudRate(br115200);
    EXPECT_EQ(OutputSpeed(line), static_cast<speed_t>(B115200));
    port.SetParity(paOdd);
    EXPECT_EQ(port.DeviceControlBlock().Parity, 1);
    port.SetParity(paOdd);  // unchanged: nothing to do
    port.EventChars().SetXonChar(0x11 + 1);
    EXPECT_EQ(LineSettings(line).c_cc[VSTART], 0x12);
    EXPECT_EQ(port.DeviceControlBlock().XonChar, 0x12);
}

TEST_F(OpenPort, RatesOutsideThePosixTableAreAccepted) {
    for (TBaudrate rate : {br14400, br56000, br128000, br256000}) {
        EXPECT_NO_THROW(port.SetBaudRate(rate));
        EXPECT_EQ(port.DeviceControlBlock().BaudRate, BitRateOf(rate));
    }
}

TEST(CommSettings, DefaultHandshakingDoesNotTakeOverTheTerminalsSoftwareFlowControl) {
    PseudoTerminal line;
    ASSERT_TRUE(LineSettings(line).c_iflag & IXON);  // how a terminal starts
    TComm port;
    port.SetDeviceName(line.SlavePath());
    port.Open();
    EXPECT_FALSE(LineSettings(line).c_iflag & (IXON | IXOFF));
    EXPECT_EQ(port.DeviceControlBlock().Flags, 0x0001u);
    line.Send({0x11, 0x13, 0x11});
    uint8_t buffer[3] = {};
    ASSERT_TRUE(Eventually([&] { return port.InQueCount() == 3; }));
    EXPECT_EQ(port.Read(buffer, 3), 3);
    EXPECT_EQ(buffer[1], 0x13);
}

TEST_F(OpenPort, DefaultBufferGivesThresholdsOf1024) {
    EXPECT_EQ(port.DeviceControlBlock().XonLim, 1024);
    EXPECT_EQ(port.DeviceControlBlock().XoffLim, 1024);
}

TEST_F(OpenPort, FlowControlDecidesTheHandshakingFlags) {
    struct Case {
        TFlowControl flow;
        uint32_t flags;
        bool crtscts;
        bool software;
    };
    const Case cases[] = {
        {fcNone, 0x0001, false, false},
        {fcCTS, 0x0001 | 0x0004 | 0x2000, true, false},
        {fcNone, 0x0001, false, false},
        {fcSoftware, 0x0001 | 0x0100 | 0x0200, false, true},
        {fcDefault, 0x0001 | 0x0100 | 0x0200, false, true},  // what the port had stays
        {fcNone, 0x0001, false, false},
        {fcDTR, 0x0001 | 0x0008 | 0x0020, false, false},  // recorded only
    };
    for (const Case& c : cases) {
        port.SetFlowControl(c.flow);
        SCOPED_TRACE(c.flow);
        EXPECT_EQ(port.DeviceControlBlock().Flags, c.flags);
        const termios settings = LineSettings(line);
        EXPECT_EQ((settings.c_cflag & CRTSCTS) != 0, c.crtscts);
        EXPECT_EQ((settings.c_iflag & IXON) != 0, c.software);
        EXPECT_EQ((settings.c_iflag & IXOFF) != 0, c.software);
    }
}

TEST_F(OpenPort, OptionsSetTheirBitsWhateverTheHandshaking) {
    port.SetFlowControl(fcNone);
    port.SetOptions(OptionBit(coParityCheck) | OptionBit(coNullStrip));
    EXPECT_EQ(port.DeviceControlBlock().Flags, 0x0001u | 0x0002 | 0x0800);
    EXPECT_TRUE(LineSettings(line).c_iflag & INPCK);
    port.SetOptions(OptionBit(coDsrSensitivity) | OptionBit(coIgnoreXOff) | OptionBit(coErrorChar));
    EXPECT_EQ(port.DeviceControlBlock().Flags, 0x0001u | 0x0040 | 0x0080 | 0x0400);
    EXPECT_FALSE(LineSettings(line).c_iflag & INPCK);
}

TEST_F(OpenPort, ReadReturnsAtOnceWithWhatHasArrived) {
    uint8_t buffer[16];
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 0);
    line.Send({1, 2, 3, 4, 5});
    ASSERT_TRUE(Eventually([&] { return port.InQueCount() == 5; }));
    EXPECT_EQ(port.Read(buffer, 3), 3);
    EXPECT_EQ(port.InQueCount(), 2);
    EXPECT_EQ(port.Read(buffer + 3, sizeof buffer), 2);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 5), std::vector<uint8_t>({1, 2, 3, 4, 5}));
}

TEST_F(OpenPort, WriteSendsTheBytesUnchanged) {
    const uint8_t frame[] = {0x01, 0x0A, 0x0D, 0x11, 0x13, 0x00, 0xFF};
    EXPECT_EQ(port.Write(frame, sizeof frame), static_cast<int32_t>(sizeof frame));
    EXPECT_EQ(line.Receive(sizeof frame), std::vector<uint8_t>(frame, frame + sizeof frame));
}

TEST_F(OpenPort, PurgeInDiscardsWaitingInput) {
    line.Send({9, 9, 9});
    ASSERT_TRUE(Eventually([&] { return port.InQueCount() == 3; }));
    port.PurgeIn();
    EXPECT_EQ(port.InQueCount(), 0);
}

TEST_F(OpenPort, StalledWriteTimesOutAndReleasesTheLock) {
    port.WriteTimeout = 50;
    std::vector<uint8_t> big(1 << 20, 0x55);  // more than the line can buffer; nobody reads
    EXPECT_EQ(port.Write(big.data(), static_cast<int32_t>(big.size())), -1);
    auto other = std::async(std::launch::async, [&] {
        uint8_t buffer[4];
        return port.Read(buffer, sizeof buffer);
    });
    ASSERT_EQ(other.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(other.get(), 0);
    port.PurgeOut();
}

TEST_F(OpenPort, LineFunctionsThePseudoTerminalLacksRaiseWithTheSystemCode) {
    EXPECT_FALSE(port.GetModemState(1));
    EXPECT_FALSE(port.GetModemState(0));
    EXPECT_FALSE(port.GetModemState(5));
    const ECommError error = CaughtCommError([&] { port.SetRTSState(true); });
    EXPECT_EQ(error.ErrorCode, ENOTTY);
    EXPECT_EQ(std::string(error.what()),
              "EscapeCommFunction failure (Error: " + std::to_string(ENOTTY) + ") ");
    EXPECT_NO_THROW(port.SetBREAKState(true));
    EXPECT_NO_THROW(port.SetBREAKState(false));
    EXPECT_NO_THROW(port.SetXONState(false));
    EXPECT_NO_THROW(port.SetXONState(true));
}

TEST_F(OpenPort, CloseAndReopen) {
    port.Close();
    EXPECT_FALSE(port.Enabled());
    EXPECT_EQ(port.InQueCount(), -1);
    port.Close();
    port.Open();
    EXPECT_TRUE(port.Enabled());
    EXPECT_EQ(port.InQueCount(), 0);
}

TEST(CommWatcher, ReportsReceivedBytesAndNothingAfterClose) {
    PseudoTerminal line;
    TComm port;
    port.SetDeviceName(line.SlavePath());
    std::atomic<int> calls{0};
    std::atomic<int> lastCount{0};
    port.OnRxChar = [&](TCustomComm* sender, int32_t count) {
        EXPECT_EQ(sender, &port);
        lastCount = count;
        ++calls;
    };
    port.Open();
    line.Send({1, 2, 3});
    EXPECT_TRUE(Eventually([&] { return lastCount == 3; }));

    port.Close();
    const int callsAtClose = calls;
    line.Send({4, 5});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(calls, callsAtClose);
}

TEST(CommWatcher, HandlerMayCloseThePort) {
    PseudoTerminal line;
    TComm port;
    port.SetDeviceName(line.SlavePath());
    std::atomic<bool> closed{false};
    port.OnRxChar = [&](TCustomComm* sender, int32_t) {
        sender->Close();
        closed = true;
    };
    port.Open();
    line.Send({7});
    ASSERT_TRUE(Eventually([&] { return closed.load(); }));
    EXPECT_FALSE(port.Enabled());
}

TEST(CommWatcher, WithoutMonitoredInputNoHandlerRuns) {
    PseudoTerminal line;
    TComm port;
    port.SetDeviceName(line.SlavePath());
    port.SetMonitorEvents(EventBit(evBreak));
    std::atomic<int> calls{0};
    port.OnRxChar = [&](TCustomComm*, int32_t) { ++calls; };
    port.Open();
    line.Send({1});
    ASSERT_TRUE(Eventually([&] { return port.InQueCount() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(calls, 0);
}

TEST(CommOpen, FailureAfterTheDeviceWasOpenedLeavesItForCloseToRelease) {
    PseudoTerminal line;
    TComm port;
    port.SetDeviceName(line.SlavePath());
    port.SetDatabits(da4);  // no terminal takes four data bits
    const ECommError error = CaughtCommError([&] { port.Open(); });
    EXPECT_EQ(error.ErrorCode, EINVAL);
    EXPECT_EQ(std::string(error.what()),
              "Error updating DataControlBlock (Error: " + std::to_string(EINVAL) + ") ");
    EXPECT_TRUE(port.Enabled());
    port.Close();
    EXPECT_FALSE(port.Enabled());
    port.SetDatabits(da8);
    EXPECT_NO_THROW(port.Open());
}

TEST(CommErrors, TransfersAndBufferSizesReportTheirOwnMessages) {
    PseudoTerminal line;
    TComm port;
    uint8_t byte = 0;
    struct Case {
        const char* message;
        int code;
        std::function<void()> operation;
    };
    const Case cases[] = {
        {"Write error", EBADF, [&] { port.Write(&byte, 1); }},
        {"Read error", EBADF, [&] { port.Read(&byte, 1); }},
        {"Error initializing Read/Write Buffers", EINVAL,
         [&] {
             port.SetDeviceName(line.SlavePath());
             port.SetWriteBufSize(0);
             port.Open();
         }},
    };
    for (const Case& c : cases) {
        const ECommError error = CaughtCommError(c.operation);
        EXPECT_EQ(error.ErrorCode, c.code) << c.message;
        EXPECT_EQ(std::string(error.what()),
                  std::string(c.message) + " (Error: " + std::to_string(c.code) + ") ");
    }
}

TEST(CommEventChars, AssignCopiesWithoutAnOwnerUpdate) {
    TCommEventChars source(nullptr);
    source.SetEventChar(1, 'a');
    source.SetEventChar(5, 'e');
    source.SetEventChar(9, 'x');  // no such character: ignored
    TComm port;
    port.EventChars().Assign(source);
    EXPECT_EQ(port.EventChars().XonChar(), 'a');
    EXPECT_EQ(port.EventChars().XoffChar(), 19);
    EXPECT_EQ(port.EventChars().EvtChar(), 'e');
}
