// Setting the flash up for the download's tests: a crafted image served from a file, and
// cyclical memory from the option or the project.

#include "FlashWords.h"
#include "SimulatorTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void writeImage(const std::string& path, const std::vector<uint16_t>& words) {
    std::ofstream out(path, std::ios::binary);
    for (const uint16_t word : words) {
        out.put(char(word & 0xFF)).put(char(word >> 8));
    }
}

// Block 0 starts with the date word 0x0000; block 1 holds a record with hour 24 after a good
// one; blocks 1 and 3 hold records with equal time stamps.
std::vector<uint16_t> craftedImage() {
    std::vector<uint16_t> image(FlashWords::ImageWords, 0xFFFF);
    const std::vector<uint16_t> block0 = {0x0000, 0x0000, 2000};
    const std::vector<uint16_t> block1 = {0x2CDE, 0xE7AD, 2001, 0x2CDF, 0x8000, 2001};
    const std::vector<uint16_t> block3 = {0x2CDE, 0xE7AD, 2000};
    std::copy(block0.begin(), block0.end(), image.begin());
    std::copy(block1.begin(), block1.end(), image.begin() + FlashWords::WordsPerBlock);
    std::copy(block3.begin(), block3.end(), image.begin() + 3 * FlashWords::WordsPerBlock);
    return image;
}

class FlashSetup : public SimulatorTest {
protected:
    std::vector<uint16_t> halfPage(uint16_t chipCode, uint16_t page, uint16_t offset) {
        EXPECT_TRUE(master_->write(200, chipCode));
        EXPECT_TRUE(master_->write(201, page));
        EXPECT_TRUE(master_->write(202, offset));
        return master_->read(10000, 66).value_or(std::vector<uint16_t>{});
    }

    ScratchFolder files_;
};

TEST_F(FlashSetup, ACraftedImageIsServedAsItIs) {
    const std::vector<uint16_t> image = craftedImage();
    writeImage(files_.file("crafted.bin"), image);
    start({"--flash-image", files_.file("crafted.bin"), "--dump-image", files_.file("dump.bin"),
           "--control", files_.file("control")});
    for (const uint16_t page : {0, 64, 192}) {
        const auto first = image.begin() + std::ptrdiff_t(page * FlashWords::WordsPerPage);
        EXPECT_EQ(halfPage(1, page, 0), std::vector<uint16_t>(first, first + 66)) << page;
    }
    // Writing goes on after the last word of block 3: page 192, byte 6.
    EXPECT_EQ(master_->read(128, 3), (std::vector<uint16_t>{192, 6, 0}));
    EXPECT_EQ(readImageFile(files_.file("dump.bin")), image);

    std::vector<uint16_t> other(FlashWords::ImageWords, 0xFFFF);
    other[0] = 0x1234;
    writeImage(files_.file("other.bin"), other);
    EXPECT_EQ(control(files_.file("control"), "flash " + files_.file("other.bin")), "OK");
    EXPECT_EQ(halfPage(1, 0, 0)[0], 0x1234);
    EXPECT_EQ(
        control(files_.file("control"), "flash " + files_.file("nothing.bin")).rfind("ERROR", 0),
        0u);
}

TEST_F(FlashSetup, CyclicalMemoryFromTheOptionOrTheProject) {
    // About 2.8 days of ten-second rounds fill both chips; 3.5 days have wrapped around.
    start({"--prefill", "3.5", "--prefill-step", "10", "--cyclical"});
    EXPECT_EQ(master_->read(130, 1), std::vector<uint16_t>{2});
    EXPECT_EQ(master_->read(123, 1), std::vector<uint16_t>{0});  // never "full"

    std::filesystem::create_directories(files_.file("Plant"));
    writeTextFile(files_.file("Plant/cmdmb.xml"),
                  "<cmdmb><row dataaddress=\"100\" npoint=\"2\"/></cmdmb>");
    writeTextFile(files_.file("Plant/DipCmd.xml"),
                  "<Dip-Switch><Start_Stop>0</Start_Stop><Cyclical_mem>1</Cyclical_mem>"
                  "</Dip-Switch>");
    start({"--prefill", "15", "--prefill-step", "10", "--project", files_.file("Plant")});
    EXPECT_EQ(master_->read(130, 1), std::vector<uint16_t>{2});
    writeTextFile(files_.file("Plant/DipCmd.xml"),
                  "<Dip-Switch><Start_Stop>0</Start_Stop><Cyclical_mem>0</Cyclical_mem>"
                  "</Dip-Switch>");
    start({"--prefill", "15", "--prefill-step", "10", "--project", files_.file("Plant")});
    EXPECT_EQ(master_->read(130, 1), std::vector<uint16_t>{3});
}

}  // namespace
