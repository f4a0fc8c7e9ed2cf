// The simulator's own pieces without the line: flash block rules, the record time stamp,
// the S-record reader and the command-line options.

#include "FlashMemory.h"
#include "Options.h"
#include "RecordFormat.h"
#include "SRecordReader.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint16_t> record(size_t words, uint16_t fill = 0x1234) {
    return std::vector<uint16_t>(words, fill);
}

TEST(FlashMemory, ARecordThatDoesNotFitStartsTheNextBlock) {
    FlashMemory flash;
    ASSERT_TRUE(flash.append(record(8000)));
    ASSERT_TRUE(flash.append(record(448)));  // exactly to the block's end
    EXPECT_EQ(flash.writePage(), 64);
    EXPECT_EQ(flash.writeByte(), 0);
    ASSERT_TRUE(flash.append(record(8440)));
    ASSERT_TRUE(flash.append(record(10, 0x5555)));  // 8 words left: next block
    EXPECT_EQ(flash.image()[2 * 8448 - 8], 0xFFFF);
    EXPECT_EQ(flash.image()[2 * 8448], 0x5555);
    EXPECT_EQ(flash.writePage(), 128);
    EXPECT_EQ(flash.writeByte(), 20);
}

TEST(FlashMemory, ChipOneFillsFirstThenChipTwoThenItIsFull) {
    FlashMemory flash;
    for (int block = 0; block < FlashMemory::BlocksPerChip; ++block) {
        ASSERT_TRUE(flash.append(record(8448)));
    }
    EXPECT_EQ(flash.flashStatus(), 1);
    EXPECT_EQ(flash.writeChip(), 1);
    EXPECT_EQ(flash.writePage(), 0);
    ASSERT_TRUE(flash.append(record(3, 0x7777)));
    EXPECT_EQ(flash.word(1, 0, 0), 0x7777);
    EXPECT_EQ(flash.image()[FlashMemory::WordsPerChip], 0x7777);
    // 8000 words beside the first record still fit in chip 2's first block.
    for (int block = 0; block < FlashMemory::BlocksPerChip; ++block) {
        ASSERT_TRUE(flash.append(record(8000)));
    }
    EXPECT_EQ(flash.flashStatus(), 1);
    EXPECT_FALSE(flash.append(record(8000)));
    EXPECT_EQ(flash.flashStatus(), 3);
    EXPECT_TRUE(flash.full());
    EXPECT_EQ(flash.writePage(), 2047);
    flash.erase();
    EXPECT_EQ(flash.flashStatus(), 0);
    EXPECT_EQ(std::count(flash.image().begin(), flash.image().end(), 0xFFFF),
              std::ptrdiff_t(FlashMemory::ImageWords));
}

TEST(RecordFormat, TimeStampPacksTheHourAcrossBothWords) {
    struct Case {
        CivilTime time;
        uint16_t date;
        uint16_t clock;
    };
    for (const Case& c : {Case{{2011, 3, 15, 14, 30, 45}, 0x2CDE, 0xE7AD},
                          Case{{2000, 1, 1, 0, 0, 0}, 0x0042, 0x0000},
                          Case{{2063, 12, 31, 23, 59, 59}, 0xFF3F, 0x7EFB}}) {
        const auto stamp = RecordFormat::encodeTimeStamp(c.time);
        EXPECT_EQ(stamp[0], c.date) << c.time.year;
        EXPECT_EQ(stamp[1], c.clock) << c.time.year;
    }
    EXPECT_EQ(RecordFormat::markerRecord({2011, 3, 15, 14, 30, 45}, 2001),
              (std::vector<uint16_t>{0x2CDE, 0xE7AD, 2001}));
}

TEST(SRecordReader, TakesDataRecordsAndRejectsDamage) {
    const auto memory = SRecordReader::readText(
        "S00600004844521B\r\n"
        "S1070100AABBCCDDE9\r\n"    // 4 bytes at 0x0100
        "S2083880000001020339\r\n"  // 4 bytes at 0x388000
        "S804000000FB\r\n");
    ASSERT_TRUE(std::holds_alternative<SRecordReader::Memory>(memory));
    const auto& bytes = std::get<SRecordReader::Memory>(memory);
    EXPECT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes.at(0x0100), 0xAA);
    EXPECT_EQ(bytes.at(0x388003), 0x03);

    for (const char* damaged : {"S1070100AABBCCDDE7\r\n", "S10701\r\n", "X1070100AABBCCDDE7\r\n",
                                "S1070100AABBCCDG9\r\n"}) {
        EXPECT_TRUE(
            std::holds_alternative<SRecordReader::Failure>(SRecordReader::readText(damaged)))
            << damaged;
    }
    const auto noBank = SRecordReader::readText("S1070100AABBCCDDE9\r\n");
    EXPECT_TRUE(std::holds_alternative<SRecordReader::Failure>(
        SRecordReader::configBank(std::get<SRecordReader::Memory>(noBank))));
}

TEST(SRecordReader, DecodesTheConfigBankLayout) {
    std::vector<uint8_t> bank(16384, 0xFF);
    const uint8_t table[] = {0x00, 0x64, 0x02, 0x9C, 0x41, 0x0A};
    std::copy(std::begin(table), std::end(table), bank.begin());
    bank[16184] = 3;
    bank[16185] = 0;
    bank[16187] = 0;
    bank[16188] = 2;
    const auto configuration = SRecordReader::decodeConfigBank(bank, 750);
    EXPECT_EQ(configuration.commands, (std::vector<TableEntry>{{100, 2}, {40001, 10}}));
    EXPECT_EQ(configuration.timeout, 750);
    EXPECT_EQ(configuration.baudCode, 3);
    EXPECT_EQ(configuration.parityCode, 0);

    bank[16187] = 0xFF;  // an erased count cannot run the table into the parameters
    EXPECT_EQ(SRecordReader::decodeConfigBank(bank, 0).commands.size(), 16184u / 3);
}

TEST(FlashMemory, CyclicalMemoryGoesOnFromItsStartThroughEveryStatus) {
    FlashMemory flash;
    flash.setCyclical(true);
    std::vector<uint16_t> statuses = {flash.flashStatus()};
    const auto fillBlocks = [&](int blocks, uint16_t fill) {
        for (int block = 0; block < blocks; ++block) {
            ASSERT_TRUE(flash.append(record(8448, fill)));
        }
        statuses.push_back(flash.flashStatus());
    };
    fillBlocks(32, 1);  // chip 1
    fillBlocks(32, 2);  // chip 2: both full, and nothing refused
    EXPECT_FALSE(flash.full());
    ASSERT_TRUE(flash.append(record(5, 3)));  // chip 1 again, its first block erased first
    statuses.push_back(flash.flashStatus());
    EXPECT_EQ(flash.word(0, 0, 4), 3);
    EXPECT_EQ(flash.word(0, 0, 5), 0xFFFF);
    EXPECT_EQ(flash.word(0, 64, 0), 1);  // later blocks keep the first round until reached
    EXPECT_EQ(flash.writeChip(), 0);
    EXPECT_EQ(flash.writePage(), 0);
    EXPECT_EQ(flash.writeByte(), 10);
    fillBlocks(31, 4);                        // the rest of chip 1
    ASSERT_TRUE(flash.append(record(5, 5)));  // chip 2 begins anew
    statuses.push_back(flash.flashStatus());
    EXPECT_EQ(statuses, std::vector<uint16_t>({0, 1, 3, 2, 3, 1}));
}

struct LoadCase {
    const char* name;
    size_t lastWritten;  // index of the last word not erased
    int chip, page, byte;
    uint16_t status;
};

TEST(FlashMemory, ALoadedImageGoesOnAfterItsLastWord) {
    const std::vector<LoadCase> cases = {
        {"chip 1", 3 * 8448 + 131, 0, 193, 0, 0},
        {"chip 2", FlashMemory::WordsPerChip + 9, 1, 0, 20, 1},
        {"all", FlashMemory::ImageWords - 1, 1, 2047, 264, 3},
    };
    for (const LoadCase& c : cases) {
        std::vector<uint16_t> image(FlashMemory::ImageWords, 0xFFFF);
        image[0] = 0;
        image[c.lastWritten] = 0;
        FlashMemory flash;
        flash.load(image);
        EXPECT_EQ(flash.writeChip(), c.chip) << c.name;
        EXPECT_EQ(flash.writePage(), c.page) << c.name;
        EXPECT_EQ(flash.writeByte(), c.byte) << c.name;
        EXPECT_EQ(flash.flashStatus(), c.status) << c.name;
        EXPECT_EQ(flash.image(), image) << c.name;
    }
}

TEST(Options, ParsesValuesFlagsAndFaults) {
    const auto parsed =
        parseOptions({"--link", "/tmp/x", "--period=2.5", "--markers", "--exception", "100-105:3",
                      "--exception", "7-7", "--silent-after", "0", "--line-rate"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed));
    const auto& o = std::get<Options>(parsed);
    EXPECT_EQ(o.link, "/tmp/x");
    EXPECT_DOUBLE_EQ(o.periodSeconds, 2.5);
    EXPECT_TRUE(o.markers);
    EXPECT_TRUE(o.faults.lineRate);
    ASSERT_EQ(o.faults.exceptions.size(), 2u);
    EXPECT_EQ(o.faults.exceptions[0].code, 3);
    EXPECT_EQ(o.faults.exceptions[1].code, 4);
    ASSERT_TRUE(o.faults.silentAfter);
    EXPECT_EQ(*o.faults.silentAfter, 0u);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--period", "0"},
                                                {"--period", "x"},
                                                {"--drop-every", "0"},
                                                {"--link"},
                                                {"--exception", "5"},
                                                {"--exception", "1-2:0"},
                                                {"--project", "a", "--firmware", "b"}}) {
        EXPECT_TRUE(std::holds_alternative<OptionError>(parseOptions(bad))) << bad[0];
    }
}

}  // namespace
