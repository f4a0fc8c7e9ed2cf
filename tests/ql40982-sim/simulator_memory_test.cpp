// Flash contents as a master downloads them: page requests against the dumped image, the
// records decoded by the record rules against the simulator's own log, live logging, and the
// configuration taken from firmware.

#include "FlashWords.h"
#include "SimulatorTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace {

// The record rules, written out independently of the simulator: blocks of 8448 words,
// records end at erased flash, a bad time stamp or an unknown command.
std::vector<std::string> decodeRecords(const std::vector<uint16_t>& image,
                                       const std::vector<int>& pointCounts) {
    std::vector<std::string> records;
    for (size_t block = 0; block < image.size() / FlashWords::WordsPerBlock; ++block) {
        const size_t s = block * FlashWords::WordsPerBlock;
        size_t p = 0;
        while (p < FlashWords::WordsPerBlock && image[s + p] != 0xFFFF) {
            const uint32_t v = uint32_t(image[s + p]) << 16 | image[s + p + 1];
            const unsigned year = 2000 + (v >> 26), month = (v >> 22) & 15, day = (v >> 17) & 31;
            const unsigned hour = (v >> 12) & 31, minute = (v >> 6) & 63, second = v & 63;
            if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 ||
                second > 59) {
                break;
            }
            p += 2;
            const uint16_t command = image[s + p++];
            char line[64];
            std::snprintf(line, sizeof line, "%04u-%02u-%02u %02u:%02u:%02u %u", year, month, day,
                          hour, minute, second, command);
            std::string text = line;
            if (command < pointCounts.size()) {
                for (int i = 0; i < pointCounts[command]; ++i) {
                    text += " " + std::to_string(image[s + p++]);
                }
            } else if (command != 2000 && command != 2001) {
                break;
            }
            records.push_back(text);
        }
    }
    return records;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

const std::vector<int> DemoPointCounts{2, 4, 1, 3};

// Firmware with a configuration bank at 0x388000 (records of 32 bytes) between other code.
std::string firmwareText(const std::vector<std::pair<uint16_t, uint8_t>>& commands, uint8_t baud,
                         uint8_t parity) {
    std::vector<uint8_t> bank(16384, 0);
    for (size_t k = 0; k < commands.size(); ++k) {
        bank[3 * k] = uint8_t(commands[k].first >> 8);
        bank[3 * k + 1] = uint8_t(commands[k].first);
        bank[3 * k + 2] = commands[k].second;
    }
    bank[16184] = baud;
    bank[16185] = parity;
    bank[16186] = 1;
    bank[16187] = uint8_t(commands.size() >> 8);
    bank[16188] = uint8_t(commands.size());
    const auto record = [](uint32_t address, const uint8_t* data, size_t size) {
        std::vector<uint8_t> bytes{uint8_t(size + 4), uint8_t(address >> 16), uint8_t(address >> 8),
                                   uint8_t(address)};
        bytes.insert(bytes.end(), data, data + size);
        unsigned sum = 0;
        for (uint8_t b : bytes) {
            sum += b;
        }
        bytes.push_back(uint8_t(~sum));
        std::string line = "S2";
        char hex[3];
        for (uint8_t b : bytes) {
            std::snprintf(hex, sizeof hex, "%02X", b);
            line += hex;
        }
        return line + "\r\n";
    };
    std::string text = "S00600004844521B\r\n";
    const uint8_t code[4] = {0x4E, 0x71, 0x4E, 0x75};
    text += record(0x380000, code, sizeof code);
    for (size_t offset = 0; offset < bank.size(); offset += 32) {
        text += record(0x388000 + uint32_t(offset), bank.data() + offset, 32);
    }
    text += record(0x390000, code, sizeof code);
    return text + "S804000000FB\r\n";
}

class FlashTest : public SimulatorTest {
protected:
    std::optional<std::vector<uint16_t>> halfPage(uint16_t chipCode, uint16_t page,
                                                  uint16_t offset) {
        if (!master_->write(200, chipCode) || !master_->write(201, page) ||
            !master_->write(202, offset)) {
            return std::nullopt;
        }
        return master_->read(10000, 66);
    }
};

TEST_F(FlashTest, PageRequestsServeTheDumpedImageOfAFullMemory) {
    ScratchFolder files;
    start({"--prefill", "30", "--prefill-step", "60", "--dump-image", files.file("image.bin")});
    const auto image = readImageFile(files.file("image.bin"));
    ASSERT_EQ(image.size(), FlashWords::ImageWords);
    const auto info = master_->read(128, 3);
    ASSERT_TRUE(info);
    EXPECT_EQ((*info)[2], 3);  // both chips full
    EXPECT_EQ(master_->read(123, 1), std::vector<uint16_t>{1});

    struct Case {
        uint16_t chipCode;
        uint16_t page;
        uint16_t offset;
    };
    for (const Case& c : {Case{1, 0, 0}, Case{1, 0, 132}, Case{3, 5, 132}, Case{3, 5, 0},
                          Case{1, 2047, 132}, Case{3, 2047, 0}, Case{3, 0, 0}}) {
        const auto words = halfPage(c.chipCode, c.page, c.offset);
        ASSERT_TRUE(words) << c.chipCode << "/" << c.page;
        const size_t first =
            ((c.chipCode == 3 ? 2048 : 0) + size_t(c.page)) * FlashWords::WordsPerPage +
            c.offset / 2;
        EXPECT_EQ(*words, std::vector<uint16_t>(image.begin() + std::ptrdiff_t(first),
                                                image.begin() + std::ptrdiff_t(first + 66)))
            << "chip code " << c.chipCode << " page " << c.page << " offset " << c.offset;
    }
    // A part of the buffer is a part of the same half page.
    ASSERT_TRUE(halfPage(3, 5, 132));
    const size_t second = (2048 + 5) * FlashWords::WordsPerPage + 66;
    EXPECT_EQ(master_->read(10010, 5),
              std::vector<uint16_t>(image.begin() + std::ptrdiff_t(second + 10),
                                    image.begin() + std::ptrdiff_t(second + 15)));
}

TEST_F(FlashTest, WritePositionPointsAtTheFirstErasedWord) {
    ScratchFolder files;
    start({"--prefill", "2", "--dump-image", files.file("image.bin")});
    const auto image = readImageFile(files.file("image.bin"));
    ASSERT_EQ(image.size(), FlashWords::ImageWords);
    const auto info = master_->read(127, 4);
    ASSERT_TRUE(info);
    EXPECT_EQ((*info)[0], 1);  // chip 1
    EXPECT_EQ((*info)[3], 0);  // no chip full
    const size_t next = (*info)[1] * FlashWords::WordsPerPage + (*info)[2] / 2;
    ASSERT_GT(next, 0u);
    EXPECT_EQ(image[next], 0xFFFF);
    EXPECT_NE(image[next - 1], 0xFFFF);
    EXPECT_EQ(std::count(image.begin() + std::ptrdiff_t(next), image.end(), 0xFFFF),
              std::ptrdiff_t(FlashWords::ImageWords - next));
}

TEST(FlashRecords, DecodeToExactlyWhatWasLoggedAcrossBlocksAndChips) {
    struct Case {
        std::vector<std::string> arguments;
        size_t minimumRecords;
    };
    for (const Case& c :
         {Case{{"--prefill", "3", "--prefill-step", "120", "--markers", "--seed", "7"}, 8000},
          Case{{"--prefill", "30", "--prefill-step", "60"}, 80000}}) {
        ScratchFolder files;
        auto arguments = c.arguments;
        arguments.insert(arguments.end(), {"--dump-image", files.file("image.bin"), "--record-log",
                                           files.file("records.txt")});
        SimulatorProcess simulator(arguments);
        ASSERT_TRUE(simulator.running());
        const auto logged = lines(readTextFile(files.file("records.txt")));
        const auto decoded = decodeRecords(readImageFile(files.file("image.bin")), DemoPointCounts);
        EXPECT_GE(logged.size(), c.minimumRecords);
        EXPECT_EQ(decoded, logged);
    }
}

TEST_F(FlashTest, LiveLoggingWritesMarkersAndRoundsUntilStopped) {
    ScratchFolder files;
    start({"--run", "--period", "0.05", "--markers", "--record-log", files.file("records.txt"),
           "--control", files.file("control")});
    ASSERT_TRUE(eventually([&] {
        const auto count = master_->read(131, 1);
        return count && count->front() >= 4 * 5 + 1;
    }));
    ASSERT_TRUE(master_->write(121, 2));
    ASSERT_EQ(control(files.file("control"), "dump " + files.file("image.bin")), "OK");
    const auto logged = lines(readTextFile(files.file("records.txt")));
    ASSERT_GE(logged.size(), 22u);
    EXPECT_TRUE(logged.front().ends_with(" 2001"));
    EXPECT_TRUE(logged.back().ends_with(" 2000"));
    EXPECT_EQ(decodeRecords(readImageFile(files.file("image.bin")), DemoPointCounts), logged);
    EXPECT_EQ(control(files.file("control"), "status"), "OK state 2");
}

TEST_F(FlashTest, InterruptWritesTheImageOfWhatWasLoggedSinceTheStart) {
    ScratchFolder files;
    start({"--run", "--period", "0.05", "--record-log", files.file("records.txt"), "--dump-image",
           files.file("image.bin")});
    ASSERT_TRUE(eventually([&] {
        const auto count = master_->read(131, 1);
        return count && count->front() >= 4 * 3;
    }));
    master_.reset();
    EXPECT_EQ(simulator_->stop(SIGINT), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(simulator_->link())));
    const auto logged = lines(readTextFile(files.file("records.txt")));
    EXPECT_GE(logged.size(), 12u);
    EXPECT_EQ(decodeRecords(readImageFile(files.file("image.bin")), DemoPointCounts), logged);
}

TEST_F(FlashTest, FirmwareBankGivesTheTableAndCodesAndCanBeReprogrammed) {
    ScratchFolder files;
    writeTextFile(files.file("first.sx"), firmwareText({{500, 3}, {600, 1}}, 5, 2));
    writeTextFile(files.file("second.sx"), firmwareText({{40001, 10}}, 7, 1));
    start({"--firmware", files.file("first.sx"), "--control", files.file("control"), "--run"});
    EXPECT_EQ(master_->read(50000, 9), (std::vector<uint16_t>{500, 3, 0, 600, 1, 0, 0, 0, 0}));
    EXPECT_EQ(master_->read(110, 3), (std::vector<uint16_t>{1000, 5, 2}));
    EXPECT_EQ(master_->read(120, 1), std::vector<uint16_t>{1});

    EXPECT_EQ(control(files.file("control"), "program " + files.file("second.sx")),
              "OK 1 commands");
    EXPECT_EQ(master_->read(50000, 6), (std::vector<uint16_t>{40001, 10, 0, 0, 0, 0}));
    EXPECT_EQ(master_->read(110, 3), (std::vector<uint16_t>{1000, 7, 1}));
    EXPECT_EQ(master_->read(120, 1), std::vector<uint16_t>{2});  // restarted stopped

    writeTextFile(files.file("damaged.sx"), "S2240000\r\n");
    EXPECT_TRUE(
        control(files.file("control"), "program " + files.file("damaged.sx")).starts_with("ERROR"));
    EXPECT_EQ(master_->read(50000, 2), (std::vector<uint16_t>{40001, 10}));  // unchanged
}

}  // namespace
