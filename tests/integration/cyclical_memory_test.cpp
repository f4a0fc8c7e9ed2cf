// The download and decoding of the program against the simulator's own device logic, in
// process (no line, so the whole memory takes a moment): every flash status, cyclical memory
// wrapping around included, gives the records the device holds in the pages it reports.
#include "Datalogger.h"
#include "FlashWords.h"
#include "RecordingWork.h"
#include "SampleLines.h"
#include "ScriptedPrompts.h"
#include "devicelink/Comon.h"
#include "loggeddata/LoggedData.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <algorithm>
#include <memory>

namespace {

constexpr size_t PagesPerChip = 2048;

// The device logic as the library's four functions.
Datalogger* device = nullptr;

ModbusLibrary inProcessLibrary() {
    return {[](uint8_t, int32_t, uint8_t, uint8_t, uint8_t, uint16_t) -> uint8_t { return 1; },
            []() -> uint8_t { return 1; },
            [](uint8_t, uint8_t, uint16_t start, uint16_t count, uint16_t* buffer) -> uint8_t {
                return device->read(start, count, buffer, 0.0) == 0 ? 1 : 0;
            },
            [](uint8_t, uint8_t, uint16_t start, uint16_t count, uint16_t* buffer) -> uint8_t {
                return device->write(start, std::span(buffer, count), 0.0) == 0 ? 1 : 0;
            }};
}

struct Record {
    int64_t stamp;
    std::string text;
};

// The record rules written out again, chip by chip: blocks of 8448 words from each chip's
// first page, up to the last page the download reads.
void decodeChip(const FlashMemory& flash, int chip, int lastPage,
                const std::vector<int>& pointCounts, std::vector<Record>& records) {
    std::vector<uint16_t> words;
    for (int page = 0; page <= lastPage; ++page) {
        for (int w = 0; w < int(FlashWords::WordsPerPage); ++w) {
            words.push_back(flash.word(chip, page, w));
        }
    }
    for (size_t s = 0; s < words.size(); s += FlashWords::WordsPerBlock) {
        const size_t end = std::min(s + FlashWords::WordsPerBlock, words.size());
        size_t p = s;
        while (p + 3 <= end && words[p] != 0xFFFF) {
            const uint32_t v = uint32_t(words[p]) << 16 | words[p + 1];
            const QDate date(2000 + int(v >> 26), int(v >> 22 & 15), int(v >> 17 & 31));
            const int hour = int(v >> 12 & 31), minute = int(v >> 6 & 63), second = int(v & 63);
            if (!date.isValid() || hour > 23 || minute > 59 || second > 59) {
                break;
            }
            const uint16_t command = words[p + 2];
            p += 3;
            const QDateTime stamp(date, QTime(hour, minute, second), Qt::UTC);
            std::string text = stamp.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString() +
                               " " + std::to_string(command);
            if (command < pointCounts.size()) {
                for (int i = 0; i < pointCounts[command]; ++i) {
                    text += " " + std::to_string(words[p++]);
                }
            } else if (command != 2000 && command != 2001) {
                break;
            }
            records.push_back({stamp.toSecsSinceEpoch(), text});
        }
    }
}

struct Case {
    const char* name;
    bool cyclical;
    double days;
    uint16_t status;
};

class CyclicalMemory : public ::testing::TestWithParam<Case> {};

TEST_P(CyclicalMemory, DownloadHoldsWhatTheReportedPagesHold) {
    LoggerSettings settings;
    settings.configuration.cyclicalMemory = GetParam().cyclical;
    settings.markers = true;
    auto logger = std::make_unique<Datalogger>(settings);
    device = logger.get();
    // Ten seconds a round: chip 1 is full after about 1.4 days, both after 2.8.
    logger->prefill(GetParam().days, 10.0, 1.3e9);
    const FlashMemory& flash = logger->flash();
    ASSERT_EQ(flash.flashStatus(), GetParam().status);

    CommandList commands;
    std::vector<int> pointCounts;
    for (const TableEntry& entry : settings.configuration.commands) {
        commands.push_back({entry.dataAddress, entry.pointCount, {}, 1, 0, {}});
        pointCounts.push_back(entry.pointCount);
    }
    ScriptedPrompts prompts;
    Comon comon(inProcessLibrary(), prompts, [] { return 0; });
    comon.openPort();
    auto data = std::make_unique<LoggedData>();
    RecordingWork work;
    ASSERT_TRUE(data->download(comon, commands, work, false));

    const uint16_t status = flash.flashStatus();
    const int lastPage[2] = {status & 1 ? int(PagesPerChip) - 1 : flash.writePage(),
                             status & 2 ? int(PagesPerChip) - 1 : flash.writePage()};
    std::vector<Record> expected;
    decodeChip(flash, 0, lastPage[0], pointCounts, expected);
    if (status != 0) {
        decodeChip(flash, 1, lastPage[1], pointCounts, expected);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Record& a, const Record& b) { return a.stamp < b.stamp; });
    std::vector<std::string> expectedTexts;
    for (const Record& record : expected) {
        expectedTexts.push_back(record.text);
    }
    EXPECT_GT(expectedTexts.size(), 1000u);
    EXPECT_EQ(describe(data->samples), expectedTexts);
    device = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Statuses, CyclicalMemory,
                         ::testing::Values(Case{"Chip1Partly", false, 0.5, 0},
                                           Case{"Chip1FullChip2Partly", false, 2.0, 1},
                                           Case{"BothFullAndStopped", false, 3.5, 3},
                                           Case{"WrappedChip1PartlyChip2Full", true, 3.5, 2},
                                           Case{"SecondRoundChip2Partly", true, 5.0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
