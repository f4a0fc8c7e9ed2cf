#include "SRecordImage.h"
#include "firmware/BankRecords.h"
#include "firmware/BankSlots.h"

#include <gtest/gtest.h>

namespace {

QByteArray patternImage() {
    QByteArray image(16384, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    return image;
}

TEST(BankRecords, ChecksumMatchesAKnownRecord) {
    // S1 13 0000 285F245F2212226A000424290008237C, checksum 2A.
    const QByteArray data = QByteArray::fromHex("285F245F2212226A000424290008237C");
    EXPECT_EQ(sRecordChecksum(0x13, 0x0000, 2, reinterpret_cast<const uint8_t*>(data.data()),
                              data.size()),
              0x2A);
}

TEST(BankRecords, FiveHundredTwelveUpperCaseRecordsOfThirtyTwoBytes) {
    const QByteArray image = patternImage();
    const QByteArray text = bankRecordText(image, bankSlot(1).windowStart);
    const SRecordFile file = readSRecords(text);

    ASSERT_EQ(file.lines.size(), 512);
    EXPECT_TRUE(file.everyLineEndsWithCrLf);
    EXPECT_TRUE(file.checksumsValid);
    EXPECT_EQ(text, text.toUpper());
    for (const QByteArray& line : file.lines) {
        ASSERT_TRUE(line.startsWith("S224")) << line.toStdString();
        ASSERT_EQ(line.size(), 76);
    }
    EXPECT_EQ(file.lines.first().left(10), "S224388000");
    EXPECT_EQ(file.lines.last().left(10), "S22438BFE0");

    ASSERT_EQ(file.image.size(), 16384u);
    for (int i = 0; i < image.size(); ++i) {
        ASSERT_EQ(file.image.at(0x388000 + i), static_cast<uint8_t>(image[i])) << i;
    }
}

TEST(BankRecords, SlotThreeRecordsSpanItsWindow) {
    const SRecordFile file =
        readSRecords(bankRecordText(QByteArray(16384, '\xFF'), bankSlot(3).windowStart));
    EXPECT_EQ(file.lines.first().left(10), "S2243A8000");
    EXPECT_EQ(file.lines.last().left(10), "S2243ABFE0");
    // 0x24 + 0x3A + 0xBF + 0xE0 + 32 * 0xFF = 0x21DD -> low byte 0xDD -> checksum 0x22.
    EXPECT_TRUE(file.lines.last().endsWith("FF22"));
}

TEST(BankSlots, WindowsNamesAndSwitches) {
    struct Expected {
        int slot;
        uint32_t start;
        uint32_t end;
        const char* image;
        const char* stage;
    };
    const Expected table[] = {
        {1, 0x388000, 0x38BFFF, "bank1.bin",
         "\xC2\xB0"
         "B1\xC2\xB0.sx"},
        {2, 0x398000, 0x39BFFF, "bank2.bin",
         "\xC2\xB0"
         "B2\xC2\xB0.sx"},
        {3, 0x3A8000, 0x3ABFFF, "bank3.bin",
         "\xC2\xB0"
         "B3\xC2\xB0.sx"},
        {4, 0x3B8000, 0x3BBFFF, "bank4.bin",
         "\xC2\xB0"
         "B4\xC2\xB0.sx"},
        {5, 0x3C8000, 0x3CBFFF, "bank5.bin",
         "\xC2\xB0"
         "B5\xC2\xB0.sx"},
    };
    for (const Expected& e : table) {
        const BankSlot& slot = bankSlot(e.slot);
        EXPECT_EQ(slot.windowStart, e.start);
        EXPECT_EQ(slot.windowEnd, e.end);
        EXPECT_TRUE(slot.contains(e.start) && slot.contains(e.end));
        EXPECT_FALSE(slot.contains(e.start - 1) || slot.contains(e.end + 1));
        EXPECT_EQ(slot.imageFileName, QString::fromUtf8(e.image));
        EXPECT_EQ(slot.stageOutputName.toUtf8(), QByteArray(e.stage));
    }
    EXPECT_EQ(bankSwitchesFor(3), (BankSwitches{true, true, false, false, false}));
    EXPECT_EQ(bankSwitchesFor(2), (BankSwitches{true, true, false, false, false}));
    EXPECT_EQ(bankSwitchesFor(1), (BankSwitches{true, true, true, true, true}));
    EXPECT_EQ(finalOutputName(), QStringLiteral("New_Flash_Application.sx"));
}

}  // namespace
