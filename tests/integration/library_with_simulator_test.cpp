#include "FlashWords.h"
#include "SimulatorProcess.h"
#include "VTL_Modbus.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <memory>

namespace {

constexpr uint8_t Logger = 1;
constexpr uint8_t ReadHolding = 3;

class LibraryWithSimulator : public ::testing::Test {
protected:
    void start(std::vector<std::string> arguments) {
        simulator_ = std::make_unique<SimulatorProcess>(arguments);
        ASSERT_TRUE(simulator_->running());
        ::setenv("VTL_MODBUS_COM1", simulator_->link().c_str(), 1);
        ASSERT_EQ(Modbusinitialize(0, 57600, 0, 8, 0, 1000), 1);
    }
    void TearDown() override {
        Modbusdeinitialize();
        ::unsetenv("VTL_MODBUS_COM1");
    }

    static bool write(uint16_t address, uint16_t value) {
        return ModbusWrite(Logger, ReadHolding, address, 1, &value) == 1;
    }
    static std::optional<std::vector<uint16_t>> read(uint16_t address, uint16_t count) {
        std::vector<uint16_t> words(count, 0xBEEF);
        if (ModbusRead(Logger, ReadHolding, address, count, words.data()) != 1) {
            return std::nullopt;
        }
        return words;
    }
    // One half page as the download fetches it.
    static std::optional<std::vector<uint16_t>> halfPage(uint16_t chipCode, uint16_t page,
                                                         uint16_t offset) {
        if (!write(200, chipCode) || !write(201, page) || !write(202, offset)) {
            return std::nullopt;
        }
        return read(10000, 66);
    }

    std::unique_ptr<SimulatorProcess> simulator_;
};

TEST_F(LibraryWithSimulator, ClockRunStateAndCommands) {
    start({"--prefill", "1"});
    const auto clock = read(100, 6);
    ASSERT_TRUE(clock);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ((*clock)[2], local.tm_year + 1900 - 2000);
    EXPECT_GE((*clock)[0], 1);
    EXPECT_LE((*clock)[0], 31);
    EXPECT_LE((*clock)[3], 23);

    ASSERT_TRUE(write(121, 1));  // start logging
    EXPECT_EQ(read(120, 1), std::vector<uint16_t>{1});
    ASSERT_TRUE(write(121, 2));  // stop
    EXPECT_EQ(read(120, 1), std::vector<uint16_t>{2});
}

TEST_F(LibraryWithSimulator, PagesReadBackAsTheDeviceHoldsThem) {
    ScratchFolder files;
    start({"--prefill", "2", "--dump-image", files.file("image.bin")});
    const std::vector<uint16_t> image = readImageFile(files.file("image.bin"));
    ASSERT_GT(image.size(), 4 * FlashWords::WordsPerPage);
    for (uint16_t page = 0; page < 4; ++page) {
        for (uint16_t offset : {0, 132}) {
            const auto words = halfPage(1, page, offset);
            ASSERT_TRUE(words) << "page " << page << " offset " << offset;
            const auto first =
                image.begin() + std::ptrdiff_t(page * FlashWords::WordsPerPage + offset / 2);
            EXPECT_EQ(*words, std::vector<uint16_t>(first, first + 66))
                << "page " << page << " offset " << offset;
        }
    }
}

TEST_F(LibraryWithSimulator, AFailedTransactionNeverShiftsTheAnswersOfTheNextOnes) {
    // Every third answer is lost or damaged; each later answer must still be its own.
    for (const char* fault : {"--drop-every", "--corrupt-crc-every"}) {
        start({"--prefill", "1", fault, "3"});
        int failures = 0;
        for (int i = 0; i < 9; ++i) {
            const uint16_t address = i % 2 == 0 ? 120 : 110;
            const auto value = read(address, 1);
            if (!value) {
                ++failures;
                continue;
            }
            if (address == 120) {
                EXPECT_EQ(*value, std::vector<uint16_t>{2}) << fault << " request " << i;
            } else {
                EXPECT_EQ(*value, std::vector<uint16_t>{1000}) << fault << " request " << i;
            }
        }
        EXPECT_EQ(failures, 3) << fault;
        EXPECT_EQ(Modbusdeinitialize(), 1);
        simulator_.reset();
    }
}

TEST_F(LibraryWithSimulator, AFailedTransactionSaysWhyInErrno) {
    struct Case {
        std::vector<std::string> options;
        int error;
    };
    const Case cases[] = {
        {{"--silent-after", "0"}, ETIMEDOUT},
        {{"--corrupt-crc-every", "1"}, EBADMSG},
        {{"--exception", "120-120"}, EREMOTEIO},
    };
    for (const Case& c : cases) {
        start(c.options);
        uint16_t word = 0;
        errno = 0;
        EXPECT_EQ(ModbusRead(Logger, ReadHolding, 120, 1, &word), 0) << c.options[0];
        EXPECT_EQ(errno, c.error) << c.options[0];
        EXPECT_EQ(Modbusdeinitialize(), 1);
        simulator_.reset();
    }
}

}  // namespace
