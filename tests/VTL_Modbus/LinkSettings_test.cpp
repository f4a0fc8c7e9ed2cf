#include "LinkSettings.h"

#include <gtest/gtest.h>

TEST(LinkSettingsFromCodes, AcceptsTheTableAndNothingElse) {
    for (int32_t rate : {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}) {
        const auto settings = LinkSettingsFromCodes(rate, 0, 8, 0);
        ASSERT_TRUE(settings) << rate;
        EXPECT_EQ(BitRateOf(settings->baudRate), static_cast<uint32_t>(rate));
    }
    for (int32_t rate : {0, 110, 14400, 56000, 128000, 256000, -9600}) {
        EXPECT_FALSE(LinkSettingsFromCodes(rate, 0, 8, 0)) << rate;
    }
    const auto odd = LinkSettingsFromCodes(9600, 1, 4, 2);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->parity, paOdd);
    EXPECT_EQ(odd->dataBits, da4);
    EXPECT_EQ(odd->stopBits, sb20);
    EXPECT_EQ(LinkSettingsFromCodes(9600, 2, 5, 1)->stopBits, sb15);
    EXPECT_FALSE(LinkSettingsFromCodes(9600, 3, 8, 0));
    EXPECT_FALSE(LinkSettingsFromCodes(9600, 0, 9, 0));
    EXPECT_FALSE(LinkSettingsFromCodes(9600, 0, 3, 0));
    EXPECT_FALSE(LinkSettingsFromCodes(9600, 0, 8, 3));
}
