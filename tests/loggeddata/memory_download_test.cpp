#include "FakeFlash.h"
#include "FakeModbusDevice.h"
#include "RecordingWork.h"
#include "ScriptedPrompts.h"
#include "devicelink/Comon.h"
#include "loggeddata/DownloadPace.h"
#include "loggeddata/MemoryDownload.h"
#include "loggeddata/MemoryImage.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

using Call = FakeModbusDevice::Call;
using Request = FakeModbusDevice::Request;

class Download : public ::testing::Test {
protected:
    Download() { comon_.openPort(); }

    // The (chip, page) of every page requested, in order, from the requests of page 201.
    std::vector<std::pair<int, int>> pagesRequested() const {
        std::vector<std::pair<int, int>> pages;
        uint16_t chipCode = 0;
        for (const Request& request : device_.log) {
            if (request.call != Call::Write || request.result != 1) {
                continue;
            }
            if (request.start == 200) {
                chipCode = request.values[0];
            } else if (request.start == 201 &&
                       (pages.empty() ||
                        pages.back() != std::pair(chipCode == 3 ? 1 : 0, int(request.values[0])))) {
                pages.emplace_back(chipCode == 3 ? 1 : 0, request.values[0]);
            }
        }
        return pages;
    }

    bool pageAt(int imagePage, int chip, int page) const {
        const auto words = image_.words().subspan(size_t(imagePage) * 132, 132);
        for (int w = 0; w < 132; ++w) {
            if (words[size_t(w)] != flash_.word(chip, page, w)) {
                return false;
            }
        }
        return true;
    }

    FakeModbusDevice device_;
    FakeFlash flash_{device_};
    ScriptedPrompts prompts_;
    Comon comon_{device_.library(), prompts_, [] { return 0; }};
    MemoryImage image_;
    MemoryDownload download_{comon_, image_};
    RecordingWork work_;
};

struct PlanCase {
    const char* name;
    uint16_t page128;
    uint16_t status130;
    bool all;
    int chip1Pages;
    int chip2Pages;
    int divisor;
    const char* lastProgress;
};

class DownloadPlans : public Download, public ::testing::WithParamInterface<PlanCase> {};

TEST_P(DownloadPlans, ReadsTheUsedPagesChipByChip) {
    const PlanCase& c = GetParam();
    flash_.setMemoryInfo(c.page128, 17, c.status130);

    ASSERT_TRUE(download_.run(work_, c.all));

    std::vector<std::pair<int, int>> expected;
    for (int page = 0; page < c.chip1Pages; ++page) {
        expected.emplace_back(0, page);
    }
    for (int page = 0; page < c.chip2Pages; ++page) {
        expected.emplace_back(1, page);
    }
    EXPECT_EQ(pagesRequested(), expected);
    EXPECT_EQ(download_.progressDivisor, c.divisor);
    EXPECT_EQ(work_.progress.front(), "0 %");
    EXPECT_EQ(work_.progress.back(), c.lastProgress);
    const int toRead = c.chip1Pages + c.chip2Pages;
    ASSERT_EQ(work_.pages.size(), size_t(toRead + 1));
    EXPECT_EQ(work_.pages.front(), std::make_pair(0, toRead));
    EXPECT_EQ(work_.pages.back(), std::make_pair(toRead, toRead));
    // Pages lie in download order without gaps; chip 2 follows chip 1's last page read.
    EXPECT_TRUE(pageAt(0, 0, 0));
    EXPECT_TRUE(pageAt(c.chip1Pages - 1, 0, c.chip1Pages - 1));
    if (c.chip2Pages > 0) {
        EXPECT_TRUE(pageAt(c.chip1Pages, 1, 0));
        EXPECT_TRUE(pageAt(c.chip1Pages + c.chip2Pages - 1, 1, c.chip2Pages - 1));
        EXPECT_EQ(image_.chip(1).firstImagePage, c.chip1Pages);
    }
    const size_t used = size_t(c.chip1Pages + c.chip2Pages) * 132;
    for (size_t w = used; w < image_.words().size(); ++w) {
        ASSERT_EQ(image_.words()[w], 0xFFFF) << "word " << w;
    }
}

INSTANTIATE_TEST_SUITE_P(
    MemoryInfo, DownloadPlans,
    ::testing::Values(PlanCase{"OnePageNothingToDivide", 0, 0, false, 1, 0, 0, "100 %"},
                      PlanCase{"TenPagesOfChip1", 9, 0, false, 10, 0, 9, "111 %"},
                      PlanCase{"Chip1FullChip2Partly", 100, 1, false, 2048, 101, 2147, "100 %"},
                      PlanCase{"Chip2FullChip1Partly", 5, 2, false, 6, 2048, 2052, "100 %"},
                      PlanCase{"BothFull", 77, 3, false, 2048, 2048, 4094, "100 %"},
                      PlanCase{"PageAbove2047", 3000, 0, false, 2048, 0, 3000, "68 %"},
                      PlanCase{"PageAbove2047Chip1Full", 2500, 1, false, 2048, 2048, 4547, "90 %"},
                      PlanCase{"AllMemoryWhateverTheDeviceSays", 9, 0, true, 2048, 2048, 4094,
                               "100 %"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Download, OnePageIsEightTransactionsWithAPauseBeforeEachBufferRead) {
    flash_.setMemoryInfo(0, 0, 0);
    ASSERT_TRUE(download_.run(work_, false));

    std::vector<std::tuple<Call, uint16_t, std::vector<uint16_t>>> transactions;
    for (const Request& r : device_.log) {
        if (r.call == Call::Read || r.call == Call::Write) {
            transactions.emplace_back(
                r.call, r.start, r.call == Call::Write ? r.values : std::vector<uint16_t>{r.count});
        }
    }
    const std::vector<std::tuple<Call, uint16_t, std::vector<uint16_t>>> expected = {
        {Call::Read, 128, {3}},  {Call::Write, 200, {1}},   {Call::Write, 201, {0}},
        {Call::Write, 202, {0}}, {Call::Read, 10000, {66}}, {Call::Write, 200, {1}},
        {Call::Write, 201, {0}}, {Call::Write, 202, {132}}, {Call::Read, 10000, {66}}};
    EXPECT_EQ(transactions, expected);
    EXPECT_EQ(work_.steps, QStringList({"text 0 %", "events", "pause 10", "events", "pause 10",
                                        "events", "text 100 %"}));
}

TEST_F(Download, ProgressIsShownWhenItsRoundedValueChanges) {
    flash_.setMemoryInfo(9, 0, 0);
    ASSERT_TRUE(download_.run(work_, false));
    EXPECT_EQ(work_.progress, QStringList({"0 %", "11 %", "22 %", "33 %", "44 %", "56 %", "67 %",
                                           "78 %", "89 %", "100 %", "111 %"}));
    EXPECT_EQ(work_.steps.count("events"), 1 + 2 * 10 + 10);
}

TEST(DownloadPace, PagesAndTheTimeLeftAtThePaceSoFar) {
    using std::chrono::milliseconds;
    const std::vector<std::tuple<int, int, milliseconds, QString>> cases = {
        {0, 4096, milliseconds(900), "0 of 4096 pages"},
        {1, 4096, milliseconds(100), "1 of 4096 pages, about 6 min 50 s left"},
        {2048, 4096, milliseconds(30000), "2048 of 4096 pages, about 30 s left"},
        {9, 10, milliseconds(901), "9 of 10 pages, about 1 s left"},
        {10, 10, milliseconds(1000), "10 of 10 pages"},
    };
    for (const auto& [read, toRead, elapsed, text] : cases) {
        EXPECT_EQ(downloadPaceText(read, toRead, elapsed), text) << read;
    }
}

TEST(DownloadPercent, RoundsHalvesToTheEvenNeighbour) {
    const std::vector<std::tuple<int, int, int>> cases = {{1, 8, 12},       {3, 8, 38},  {5, 8, 62},
                                                          {1, 200, 0},      {3, 200, 2}, {2, 3, 67},
                                                          {4094, 4094, 100}};
    for (const auto& [pages, divisor, percent] : cases) {
        EXPECT_EQ(downloadPercent(pages, divisor), percent) << pages << "/" << divisor;
    }
}

TEST_F(Download, AbortDuringTheFifthPageEndsAfterThatPage) {
    flash_.setMemoryInfo(9, 0, 0);
    work_.onEvents = [&] {
        if (device_.registers[201] == 4) {
            work_.abort = true;
        }
    };
    EXPECT_FALSE(download_.run(work_, false));
    EXPECT_EQ(device_.calls(Call::Read).size(), 1u + 2 * 5);
    EXPECT_TRUE(pageAt(4, 0, 4));
    EXPECT_EQ(image_.words()[5 * 132], 0xFFFF);
}

TEST_F(Download, ARetriedRequestWriteGoesOn) {
    flash_.setMemoryInfo(1, 0, 0);
    device_.failNext(Call::Write, 1, 0, 201);
    ASSERT_TRUE(download_.run(work_, false));
    EXPECT_TRUE(pageAt(0, 0, 0));
    EXPECT_TRUE(pageAt(1, 0, 1));
    const auto writes = device_.calls(Call::Write);
    ASSERT_GE(writes.size(), 3u);
    EXPECT_EQ(writes[1].start, 201);
    EXPECT_EQ(writes[1].result, 0);
    EXPECT_EQ(writes[2].start, 201);
    EXPECT_EQ(writes[2].result, 1);
}

struct FailureCase {
    const char* name;
    Call call;
    int reg;
    size_t expectedTransfers;  // every attempt, up to the one that gave up
};

class DownloadFailures : public Download, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailures, ThreeFailedAttemptsEndTheDownload) {
    const FailureCase& c = GetParam();
    flash_.setMemoryInfo(3, 0, 0);
    device_.failNext(c.call, 3, 0, c.reg);
    EXPECT_FALSE(download_.run(work_, false));
    EXPECT_EQ(device_.calls(Call::Read).size() + device_.calls(Call::Write).size(),
              c.expectedTransfers);
}

INSTANTIATE_TEST_SUITE_P(Transfers, DownloadFailures,
                         ::testing::Values(FailureCase{"MemoryInfo", Call::Read, 128, 3},
                                           FailureCase{"ChipCode", Call::Write, 200, 1 + 3},
                                           FailureCase{"PageOffset", Call::Write, 202, 1 + 2 + 3},
                                           FailureCase{"PageBuffer", Call::Read, 10000, 1 + 3 + 3}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
