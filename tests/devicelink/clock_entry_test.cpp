#include "FakeModbusDevice.h"
#include "ScriptedPrompts.h"
#include "devicelink/ClockEntry.h"
#include "devicelink/Comon.h"
#include "devicelink/LoggerClock.h"

#include <gtest/gtest.h>

namespace {

using Call = FakeModbusDevice::Call;
using Fields = ClockEntry::Fields;

TEST(ClockEntry, ProposesTheComputersTime) {
    EXPECT_EQ(ClockEntry::proposedFields(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3))),
              (Fields{"7", "3", "31", "9", "5", "3"}));
    // Up to 2000 the full year is proposed, which the check then refuses.
    const Fields y2000 = ClockEntry::proposedFields(QDateTime(QDate(2000, 12, 31), QTime(23, 0)));
    EXPECT_EQ(y2000[2], "2000");
    EXPECT_EQ(ClockEntry::check(y2000).error, "Year is wrong");
}

TEST(ClockEntry, ChecksInOrderAndKeepsTheLow16Bits) {
    struct Case {
        Fields fields;
        const char* error;
        ClockEntry::Values values;
    };
    const Case cases[] = {
        {{"0", "3", "31", "9", "5", "3"}, "Day is wrong", {}},
        {{"7", "13", "31", "9", "5", "3"}, "Month is wrong", {}},
        {{"7", "3", "31", "", "5", "3"}, "Hour is wrong", {}},
        {{"7", "3", "65", "9", "5", "3"}, "Year is wrong", {}},
        {{"7", "3", "31", "9", "60", "3"}, "Minute is wrong", {}},
        {{"7", "3", "31", "9", "5", "x"}, "Second is wrong", {}},
        {{"7", "3", "31", "24", "5", "60"}, "Hour is wrong", {}},  // only the first is told
        {{"32", "0", "0", "99", "99", "99"}, "Day is wrong", {}},
        {{"99999999999", "3", "31", "9", "5", "3"}, "Day is wrong", {}},  // not a 32-bit integer
        {{"31", "2", "64", "0", "0", "0"}, "", {31, 2, 64, 0, 0, 0}},
        {{"65537", "3", " 1 ", "23", "59", "59"}, "", {1, 3, 1, 23, 59, 59}},
        {{"1", "-65524", "1", "0", "0", "0"}, "", {1, 12, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const ClockEntry::Checked checked = ClockEntry::check(c.fields);
        EXPECT_EQ(checked.error, c.error) << c.fields[0].toStdString();
        if (checked.error.isEmpty()) {
            EXPECT_EQ(checked.values, c.values) << c.fields[0].toStdString();
        }
    }
}

TEST(ClockEntry, WritesSevenRegistersInOrderOnThroughFailures) {
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    Comon comon(device.library(), prompts, [] { return 0; });
    comon.openPort();
    device.failNext(Call::Write, 1, 0, 103);
    EXPECT_EQ(ClockEntry::write(comon, {31, 2, 64, 23, 59, 58}), 1);
    std::vector<std::pair<uint16_t, uint16_t>> writes;
    for (const auto& write : device.calls(Call::Write)) {
        ASSERT_EQ(write.count, 1);
        writes.emplace_back(write.start, write.values.at(0));
    }
    EXPECT_EQ(writes,
              (std::vector<std::pair<uint16_t, uint16_t>>{
                  {100, 31}, {101, 2}, {102, 64}, {103, 23}, {104, 59}, {105, 58}, {106, 1}}));
    EXPECT_TRUE(device.calls(Call::Read).empty());
}

TEST(LoggerClock, DecodesOnlyValidDatesAndTimes) {
    EXPECT_EQ(LoggerClock::decode({29, 2, 24, 23, 59, 59}),
              QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), Qt::UTC));
    for (const LoggerClock::Registers& bad :
         std::vector<LoggerClock::Registers>{{29, 2, 23, 0, 0, 0},
                                             {1, 13, 24, 0, 0, 0},
                                             {0, 1, 24, 0, 0, 0},
                                             {1, 1, 24, 24, 0, 0},
                                             {1, 1, 24, 0, 60, 0},
                                             {1, 1, 24, 0, 0, 60}}) {
        EXPECT_FALSE(LoggerClock::decode(bad)) << bad[0] << "." << bad[1] << "." << bad[2];
    }
}

}  // namespace
