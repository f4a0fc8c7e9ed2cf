// A command table served from a file of raw register words, and a one-off fault.

#include "SimulatorTest.h"

#include <gtest/gtest.h>

namespace {

class CommandTableWordsTest : public SimulatorTest {
protected:
    ScratchFolder files;
};

TEST_F(CommandTableWordsTest, ServesTheWordsAsTheyAreAndZeroBeyond) {
    writeTextFile(files.file("table.txt"),
                  "# address, points, third word\n300 4 7\n301, 0x0102, 0\n0 0 0\n9 9 9\n");
    start({"--command-table", files.file("table.txt")});
    EXPECT_EQ(master_->read(50000, 12),
              (std::vector<uint16_t>{300, 4, 7, 301, 0x0102, 0, 0, 0, 0, 9, 9, 9}));
    EXPECT_EQ(master_->read(50012, 3), (std::vector<uint16_t>{0, 0, 0}));
    // The device logs by the entries before the end entry.
    EXPECT_NE(readTextFile(simulator_->file("output.txt")).find(", 2 commands"), std::string::npos);
}

TEST_F(CommandTableWordsTest, ATableWithoutEndEntryFillsEveryRegister) {
    std::string words;
    for (int k = 0; k < 2730; ++k) {
        words += std::to_string(k + 1) + " 1 0\n";
    }
    words += "2731 1\n";  // registers 58190 and 58191 end the table's room
    writeTextFile(files.file("full.txt"), words);
    start({"--command-table", files.file("full.txt")});
    EXPECT_EQ(master_->read(58190, 2), (std::vector<uint16_t>{2731, 1}));
    EXPECT_EQ(master_->read(58191, 1), (std::vector<uint16_t>{1}));
}

TEST(CommandTableWordsOptions, RefusesWhatIsNotA16BitWord) {
    ScratchFolder files;
    for (const char* text : {"1 2 65536\n", "1 -2\n", "0x\n", "12a\n"}) {
        writeTextFile(files.file("bad.txt"), text);
        SimulatorProcess simulator({"--command-table", files.file("bad.txt")});
        EXPECT_FALSE(simulator.running()) << text;
    }
}

TEST_F(CommandTableWordsTest, AOneOffExceptionFailsOnlyTheFirstRequest) {
    start({"--exception-once", "50003-50003", "--exception", "120-120:6"});
    EXPECT_TRUE(master_->read(50000, 2));
    EXPECT_FALSE(master_->read(50003, 2));
    EXPECT_EQ(master_->lastError(), EMBXSFAIL);
    EXPECT_EQ(master_->read(50003, 2), (std::vector<uint16_t>{200, 4}));
    EXPECT_TRUE(master_->read(50003, 2));
    // Lasting ranges stay as they were.
    EXPECT_FALSE(master_->read(120, 1));
    EXPECT_FALSE(master_->read(120, 1));
}

}  // namespace
