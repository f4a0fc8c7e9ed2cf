#include "loggeddata/MemoryImage.h"
#include "loggeddata/RecordDecoding.h"
#include "loggeddata/SampleRendering.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"

#include <gtest/gtest.h>
#include <QLocale>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <functional>

namespace {

constexpr size_t Block = 8448;

struct Stamp {
    int year, month, day, hour, minute, second;
};

// Written from the record format by hand, independent of the decoder.
std::vector<uint16_t> record(Stamp t, uint16_t command, std::vector<uint16_t> values = {}) {
    const uint16_t dateWord =
        uint16_t((t.year - 2000) << 10 | t.month << 6 | t.day << 1 | (t.hour >> 4 & 1));
    const uint16_t timeWord = uint16_t((t.hour & 15) << 12 | t.minute << 6 | t.second);
    std::vector<uint16_t> words = {dateWord, timeWord, command};
    words.insert(words.end(), values.begin(), values.end());
    return words;
}

// Writes records one after the other into an image from a word position; words past the
// image's end are not there.
struct Writer {
    std::span<uint16_t> image;
    size_t at;
    Writer& operator<<(const std::vector<uint16_t>& words) {
        const size_t room = image.size() - std::min(at, image.size());
        std::copy_n(words.begin(), std::min(words.size(), room),
                    image.begin() + std::ptrdiff_t(std::min(at, image.size())));
        at += words.size();
        return *this;
    }
};

// Four commands with 2, 0, 3 and 1 values.
CommandList commands() {
    CommandList list(4);
    list[0].PointCount = 2;
    list[1].PointCount = 0;
    list[2].PointCount = 3;
    list[3].PointCount = 1;
    return list;
}

// "2011-03-15 14:30:45 c2 [1,2,3]" per sample.
std::vector<std::string> describe(const SampleTable& table) {
    std::vector<std::string> lines;
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        std::string line = LoggerTimeStamp::toDateTime(table[i].date)
                               .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                               .toStdString() +
                           " c" + std::to_string(table[i].command);
        for (const uint16_t v : table.datas(i)) {
            line += " " + std::to_string(v);
        }
        lines.push_back(line);
    }
    return lines;
}

struct DecodeCase {
    const char* name;
    std::function<void(MemoryImage&)> fill;  // the whole-device layout unless it sets its own
    std::vector<std::string> expected;
};

class Decoding : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decoding, Samples) {
    static MemoryImage image;  // allocated once, as in the program
    image.reset();
    image.setWholeDeviceLayout();
    GetParam().fill(image);
    SampleTable table;
    table.append(1, 0, {});  // whatever was there before is replaced
    decodeImage(image, commands(), table);
    EXPECT_EQ(describe(table), GetParam().expected);
}

const Stamp t1{2011, 3, 15, 14, 30, 45};
const Stamp t2{2011, 3, 15, 14, 30, 50};
const Stamp t3{2011, 3, 15, 14, 31, 0};

INSTANTIATE_TEST_SUITE_P(
    Images, Decoding,
    ::testing::Values(
        DecodeCase{"Erased", [](MemoryImage&) {}, {}},
        DecodeCase{"FieldsOfTheTimeStamp",
                   [](MemoryImage& m) {
                       Writer{m.words(), 0} << std::vector<uint16_t>{0x2CDE, 0xE7AD, 1}
                                            << record({2063, 12, 31, 23, 59, 59}, 3, {65535})
                                            << record({2000, 1, 1, 0, 0, 0}, 0, {0, 1});
                   },
                   {"2000-01-01 00:00:00 c0 0 1", "2011-03-15 14:30:45 c1",
                    "2063-12-31 23:59:59 c3 65535"}},
        DecodeCase{
            "MonthZeroEndsOnlyItsBlock",
            [](MemoryImage& m) {
                Writer{m.words(), 0} << std::vector<uint16_t>{0x0000, 0x0000, 1} << record(t1, 1);
                Writer{m.words(), Block} << record(t2, 3, {7});
            },
            {"2011-03-15 14:30:50 c3 7"}},
        DecodeCase{"HourTwentyFourEndsTheBlock",
                   [](MemoryImage& m) {
                       Writer{m.words(), 0} << record(t1, 1) << record({2011, 3, 15, 24, 0, 0}, 1)
                                            << record(t2, 1);
                   },
                   {"2011-03-15 14:30:45 c1"}},
        DecodeCase{"NoTwentyNinthOfFebruaryIn2011",
                   [](MemoryImage& m) {
                       Writer{m.words(), 0} << record({2012, 2, 29, 1, 0, 0}, 1)
                                            << record({2011, 2, 29, 1, 0, 0}, 1);
                   },
                   {"2012-02-29 01:00:00 c1"}},
        DecodeCase{"UnknownCommandIsDroppedAndEndsTheBlock",
                   [](MemoryImage& m) {
                       Writer{m.words(), 0} << record(t1, 3, {9}) << record(t2, 4, {8})
                                            << record(t3, 3, {7});
                       Writer{m.words(), Block} << record(t3, 0, {1, 2});
                   },
                   {"2011-03-15 14:30:45 c3 9", "2011-03-15 14:31:00 c0 1 2"}},
        DecodeCase{"MarkersNeedNoCommand",
                   [](MemoryImage& m) {
                       Writer{m.words(), 0} << record(t1, 2001) << record(t2, 2, {4, 5, 6})
                                            << record(t3, 2000);
                   },
                   {"2011-03-15 14:30:45 c2001", "2011-03-15 14:30:50 c2 4 5 6",
                    "2011-03-15 14:31:00 c2000"}},
        DecodeCase{"ARecordEndingOnTheBlocksLastWord",
                   [](MemoryImage& m) {
                       // 2816 records of 3 words fill a block exactly.
                       Writer block0{m.words(), 0};
                       for (int i = 0; i < 2816; ++i) {
                           block0 << record(i == 2815 ? t2 : t1, 1);
                       }
                       Writer{m.words(), Block} << record(t3, 1);
                   },
                   [] {
                       std::vector<std::string> lines(2815, "2011-03-15 14:30:45 c1");
                       lines.push_back("2011-03-15 14:30:50 c1");
                       lines.push_back("2011-03-15 14:31:00 c1");
                       return lines;
                   }()},
        DecodeCase{"ValuesRunningIntoTheNextBlockAreRead",
                   [](MemoryImage& m) {
                       Writer block0{m.words(), 0};
                       for (int i = 0; i < 2815; ++i) {
                           block0 << record(t1, 1);
                       }
                       // Its last two values are the next block's first words, which then
                       // start no record (month 0).
                       block0 << record(t2, 2, {1, 2, 3});
                   },
                   [] {
                       std::vector<std::string> lines(2815, "2011-03-15 14:30:45 c1");
                       lines.push_back("2011-03-15 14:30:50 c2 1 2 3");
                       return lines;
                   }()},
        DecodeCase{"EqualStampsKeepTheirBlockOrder",
                   [](MemoryImage& m) {
                       Writer{m.words(), 3 * Block} << record(t1, 3, {3});
                       Writer{m.words(), 1 * Block} << record(t1, 3, {1}) << record(t2, 3, {11});
                       Writer{m.words(), 0} << record(t3, 3, {0});
                   },
                   {"2011-03-15 14:30:45 c3 1", "2011-03-15 14:30:45 c3 3",
                    "2011-03-15 14:30:50 c3 11", "2011-03-15 14:31:00 c3 0"}},
        DecodeCase{"LastRecordRunningPastTheImageIsDropped",
                   [](MemoryImage& m) {
                       Writer{m.words(), 63 * Block} << record(t1, 1);
                       Writer{m.words(), 64 * Block - 4} << record(t2, 2, {1, 2, 3});
                   },
                   {"2011-03-15 14:30:45 c1"}},
        DecodeCase{"Chip2PartlyAfterChip1Partly",
                   [](MemoryImage& m) {
                       // Flash status 2 with the write position on page 5: chip 2's blocks
                       // begin right after chip 1's sixth page.
                       m.reset();
                       for (int page = 0; page < 6; ++page) {
                           m.appendPage(0);
                       }
                       for (int page = 0; page < 2048; ++page) {
                           m.appendPage(1);
                       }
                       Writer{m.words(), 0} << record(t3, 0, {1, 1});
                       const size_t chip2 = 6 * 132;
                       Writer{m.words(), chip2} << record(t1, 0, {2, 2});
                       Writer{m.words(), chip2 + Block} << record(t1, 3, {3});
                       Writer{m.words(), chip2 + 31 * Block} << record(t2, 3, {4});
                   },
                   {"2011-03-15 14:30:45 c0 2 2", "2011-03-15 14:30:45 c3 3",
                    "2011-03-15 14:30:50 c3 4", "2011-03-15 14:31:00 c0 1 1"}},
        DecodeCase{"Chip1PartlyReadEndsItsBlock",
                   [](MemoryImage& m) {
                       m.reset();
                       m.appendPage(0);
                       Writer{m.words(), 0} << record(t1, 1);
                       Writer{m.words(), 130} << record(t2, 2, {1, 2, 3});  // past page 0
                   },
                   {"2011-03-15 14:30:45 c1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodingLimit, StopsAtTheTablesSizeAndSaysSo) {
    MemoryImage image;
    image.setWholeDeviceLayout();
    Writer all{image.words(), 0};
    for (int block = 0; block < 64; ++block) {
        all.at = size_t(block) * Block;
        for (int i = 0; i < 2816; ++i) {
            all << record({2011, 3, 15, 0, 0, 0}, 2000);
        }
    }
    SampleTable table;
    const DecodeResult result = decodeImage(image, {}, table);
    EXPECT_TRUE(result.truncated);
    EXPECT_EQ(result.samples, 150001);
    EXPECT_EQ(table.LastSampleIndex(), 150000);
}

TEST(DecodingClock, TheNightClocksGoForwardHasItsHalfPastTwo) {
    const char* saved = std::getenv("TZ");
    ::setenv("TZ", "Europe/Rome", 1);
    ::tzset();
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    MemoryImage image;
    image.setWholeDeviceLayout();
    Writer{image.words(), 0} << record({2024, 3, 31, 3, 0, 0}, 1)
                             << record({2024, 3, 31, 2, 30, 0}, 1)
                             << record({2024, 3, 31, 1, 59, 59}, 1);
    SampleTable table;
    decodeImage(image, commands(), table);
    SampleTimeTexts texts;
    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(texts.dateTime(table[0].date), "31.03.2024 01:59:59");
    EXPECT_EQ(texts.dateTime(table[1].date), "31.03.2024 02:30:00");
    EXPECT_EQ(texts.dateTime(table[2].date), "31.03.2024 03:00:00");
    EXPECT_EQ(texts.parseDateTime(QStringLiteral("31.03.2024 02:30:00")), table[1].date);
    QLocale::setDefault(QLocale::c());
    saved ? ::setenv("TZ", saved, 1) : ::unsetenv("TZ");
    ::tzset();
}

TEST(Rendering, ValuesByDisplayBase) {
    const auto command = [](uint8_t decimals) {
        Comandi c;
        c.Decimals = decimals;
        return c;
    };
    struct Case {
        uint16_t raw;
        uint8_t decimals;
        DisplayBase base;
        QChar separator;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1234, 0, DisplayBase::Decimal, u'.', "1234"},
        {1234, 2, DisplayBase::Decimal, u'.', "12.34"},
        {1234, 2, DisplayBase::Decimal, u',', "12,34"},
        {5, 3, DisplayBase::Decimal, u'.', "0.005"},
        {65535, 1, DisplayBase::Decimal, u'.', "6553.5"},
        {0, 2, DisplayBase::Decimal, u'.', "0.00"},
        {1234, 2, DisplayBase::Hexadecimal, u'.', "04D2"},
        {0, 0, DisplayBase::Hexadecimal, u'.', "0000"},
        {1234, 0, DisplayBase::Binary, u'.', "0000 0100 1101 0010"},
        {65535, 0, DisplayBase::Binary, u'.', "1111 1111 1111 1111"},
        {5, 0, DisplayBase::Binary, u'.', "0000 0000 0000 0101"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(renderValue(c.raw, command(c.decimals), c.base, c.separator), c.text)
            << c.raw << " " << int(c.decimals);
    }
    EXPECT_DOUBLE_EQ(scaledValue(1234, command(2)), 12.34);
    EXPECT_DOUBLE_EQ(scaledValue(65535, command(0)), 65535.0);
}

TEST(Compatibility, CommandsMustBePositionsOrMarkers) {
    const std::vector<std::pair<int32_t, bool>> cases = {
        {0, true}, {3, true}, {2000, true}, {2001, true}, {4, false}, {1999, false}, {-1, false}};
    for (const auto& [command, compatible] : cases) {
        SampleTable table;
        table.append(0, 0, {});
        table.append(0, command, {});
        EXPECT_EQ(isCompatible(table, commands()), compatible) << command;
    }
    EXPECT_TRUE(isCompatible(SampleTable(), {}));
}

}  // namespace
