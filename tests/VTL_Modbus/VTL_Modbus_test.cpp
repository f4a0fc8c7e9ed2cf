#include "VTL_Modbus.h"
#include "support/Eventually.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/ModbusSlave.h"
#include "support/PseudoTerminal.h"

namespace {

using Bytes = std::vector<uint8_t>;

void EnsureEventLoop() {
    static int argc = 1;
    static char name[] = "VTL_Modbus_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
}

class Library : public testing::Test {
protected:
    void SetUp() override { setenv("VTL_MODBUS_COM1", line.SlavePath().c_str(), 1); }
    void TearDown() override { Modbusdeinitialize(); }

    static uint8_t Initialise(uint8_t port = 0, uint16_t timeoutMs = 5000) {
        return Modbusinitialize(port, 57600, 0, 8, 1, timeoutMs);
    }

    PseudoTerminal line;
};

}  // namespace

TEST(LibraryExports, ExactlyTheFourFunctions) {
    FILE* listing = popen("nm -D --defined-only " VTL_MODBUS_LIBRARY_FILE, "r");
    ASSERT_NE(listing, nullptr);
    std::set<std::string> names;
    char line[512];
    while (fgets(line, sizeof line, listing) != nullptr) {
        std::string text(line);
        text.erase(text.find_last_not_of("\r\n") + 1);
        names.insert(text.substr(text.find_last_of(' ') + 1));
    }
    EXPECT_EQ(pclose(listing), 0);
    EXPECT_EQ(names, (std::set<std::string>{"Modbusinitialize", "Modbusdeinitialize", "ModbusRead",
                                            "ModbusWrite"}));
}

TEST_F(Library, CallsBeforeInitialisationAreRefused) {
    uint16_t word = 0;
    EXPECT_EQ(ModbusRead(1, 3, 0, 1, &word), 2);
    EXPECT_EQ(ModbusWrite(1, 3, 0, 1, &word), 2);
    EXPECT_EQ(Modbusdeinitialize(), 0);
}

TEST_F(Library, ParametersOutsideTheTableGive7AndCreateNothing) {
    struct Case {
        uint8_t port;
        int32_t baud;
        uint8_t parity, dataBits, stopBits;
    };
    const Case cases[] = {
        {0, 14400, 0, 8, 1}, {0, 110, 0, 8, 1},   {0, 256000, 0, 8, 1}, {0, 0, 0, 8, 1},
        {0, 57600, 3, 8, 1}, {0, 57600, 0, 9, 1}, {0, 57600, 0, 3, 1},  {0, 57600, 0, 8, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Modbusinitialize(c.port, c.baud, c.parity, c.dataBits, c.stopBits, 1000), 7)
            << c.baud << " " << int(c.parity) << " " << int(c.dataBits) << " " << int(c.stopBits);
    }
    uint16_t word = 0;
    EXPECT_EQ(ModbusRead(1, 3, 0, 1, &word), 2);
    EXPECT_EQ(Initialise(), 1);  // the device was never taken
}

TEST_F(Library, MissingPortGives5UntilItAppears) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vtl-modbus-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path link = folder / "com5";
    std::filesystem::remove(link);
    setenv("VTL_MODBUS_COM5", link.c_str(), 1);

    EXPECT_EQ(Initialise(4), 5);
    uint16_t word = 0;
    EXPECT_EQ(ModbusRead(1, 3, 0, 1, &word), 2);
    EXPECT_EQ(Initialise(4), 5);

    std::filesystem::create_symlink(line.SlavePath(), link);
    EXPECT_EQ(Initialise(4), 1);
    EXPECT_EQ(Modbusdeinitialize(), 1);
    std::filesystem::remove_all(folder);
}

TEST_F(Library, PortNumberNamesComNPlusOne) {
    PseudoTerminal third;
    setenv("VTL_MODBUS_COM1", "/nonexistent/com1", 1);
    setenv("VTL_MODBUS_COM3", third.SlavePath().c_str(), 1);
    EXPECT_EQ(Initialise(0), 5);
    EXPECT_EQ(Initialise(2), 1);
}

TEST_F(Library, TransactionsAgainstAnIndependentSlave) {
    ModbusSlave slave(line);
    for (int i = 0; i < 66; ++i) {
        slave.SetRegister(10000 + i, static_cast<uint16_t>(0x4000 + i * 7));
    }
    ASSERT_EQ(Initialise(), 1);
    EXPECT_EQ(Initialise(), 2);  // the first set-up keeps working

    std::vector<uint16_t> words(66, 0);
    ASSERT_EQ(ModbusRead(1, 3, 10000, 66, words.data()), 1);
    for (int i = 0; i < 66; ++i) {
        EXPECT_EQ(words[i], 0x4000 + i * 7) << i;
    }

    uint16_t value = 0x1357;
    EXPECT_EQ(ModbusWrite(1, 3, 121, 1, &value), 1);
    EXPECT_EQ(slave.Register(121), 0x1357);
    uint16_t values[2] = {0xAAAA, 0x5555};
    EXPECT_EQ(ModbusWrite(1, 3, 300, 2, values), 1);
    EXPECT_EQ(slave.Register(300), 0xAAAA);
    EXPECT_EQ(slave.Register(301), 0x5555);

    EXPECT_EQ(ModbusRead(1, 3, ModbusSlave::RegisterCount + 1, 1, words.data()), 0);

    const int served = slave.RequestsServed();
    std::vector<uint16_t> big(200, 0);
    EXPECT_EQ(ModbusRead(1, 3, 0, 129, big.data()), 0);
    EXPECT_EQ(ModbusWrite(1, 16, 0, 126, big.data()), 0);
    EXPECT_EQ(ModbusRead(1, 3, 0, 1, nullptr), 0);
    EXPECT_EQ(ModbusRead(1, 3, 10000, 1, words.data()), 1);  // still serving
    EXPECT_EQ(slave.RequestsServed(), served + 1);

    EXPECT_EQ(Modbusdeinitialize(), 1);
    EXPECT_EQ(ModbusRead(1, 3, 10000, 1, words.data()), 2);
    EXPECT_EQ(Modbusdeinitialize(), 0);
    EXPECT_EQ(Initialise(), 1);  // and again, same port
    EXPECT_EQ(ModbusRead(1, 3, 10000, 1, words.data()), 1);
}

TEST_F(Library, HostMayExitWithoutDeinitialising) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            if (Initialise() != 1) {
                std::_Exit(3);
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(Library, ZeroTimeOutMeansOneSecond) {
    ASSERT_EQ(Initialise(0, 0), 1);
    uint16_t word = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ModbusRead(1, 3, 0, 1, &word), 0);  // nobody answers
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}

TEST_F(Library, NestedCallFromAHostTimerIsBusy) {
    EnsureEventLoop();
    ASSERT_EQ(Initialise(), 1);
    std::atomic<bool> handlerRan{false};
    uint8_t nested = 0xEE;
    QTimer::singleShot(0, [&] {
        uint16_t value = 1;
        nested = ModbusWrite(1, 3, 5, 1, &value);
        handlerRan = true;
    });
    std::thread peer([&] {
        EXPECT_EQ(line.Receive(8), WithCrc({0x01, 0x03, 0x00, 0x10, 0x00, 0x01}));
        EXPECT_TRUE(Eventually([&] { return handlerRan.load(); }));
        line.Send(WithCrc({0x01, 0x03, 2, 0x12, 0x34}));
    });
    uint16_t word = 0;
    EXPECT_EQ(ModbusRead(1, 3, 0x10, 1, &word), 1);
    peer.join();
    EXPECT_TRUE(handlerRan);
    EXPECT_EQ(nested, 3);
    EXPECT_EQ(word, 0x1234);
    EXPECT_TRUE(line.ReceiveUntilQuiet(50).empty());  // the nested write sent nothing
}

// The register-access layer reopens the link from a handler that can run inside a waiting call.
TEST_F(Library, DeinitialiseInsideAWaitingCallClosesAtOnceAndVoidsTheCall) {
    EnsureEventLoop();
    // D deinitialises, I initialises again on the same device, which only works once the port
    // was really closed.
    for (const std::string steps : {"DI", "DIDIDI", "D", "DID"}) {
        SCOPED_TRACE(steps);
        const bool endsOpen = steps.back() == 'I';
        ASSERT_EQ(Initialise(), 1);
        std::atomic<bool> requestSent{false};
        bool handlerRan = false;
        QTimer::singleShot(0, [&] {
            ASSERT_TRUE(Eventually([&] { return requestSent.load(); }));
            for (const char step : steps) {
                EXPECT_EQ(step == 'D' ? Modbusdeinitialize() : Initialise(), 1) << step;
            }
            uint16_t word = 0;
            EXPECT_EQ(ModbusRead(1, 3, 0, 1, &word), endsOpen ? 3 : 2);
            handlerRan = true;
        });
        std::thread peer([&] {
            EXPECT_EQ(line.Receive(8).size(), 8u);  // and no answer: only the close ends the call
            requestSent = true;
        });
        uint16_t word = 0;
        EXPECT_EQ(ModbusRead(1, 3, 7, 1, &word), 0);
        peer.join();
        EXPECT_TRUE(handlerRan);

        uint16_t after = 0;
        if (!endsOpen) {
            EXPECT_EQ(ModbusRead(1, 3, 7, 1, &after), 2);
            EXPECT_EQ(Modbusdeinitialize(), 0);
            ASSERT_EQ(Initialise(), 1);
        }
        ModbusSlave slave(line);
        slave.SetRegister(7, 42);
        EXPECT_EQ(ModbusRead(1, 3, 7, 1, &after), 1);
        EXPECT_EQ(after, 42);
        EXPECT_EQ(Modbusdeinitialize(), 1);
    }
}
