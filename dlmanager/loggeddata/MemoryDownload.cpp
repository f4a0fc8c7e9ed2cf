#include "loggeddata/MemoryDownload.h"

#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/MemoryImage.h"
#include "loggeddata/WaitingWork.h"

#include <algorithm>

using namespace MemoryGeometry;
using namespace RegisterMap;

namespace {

constexpr uint16_t FlashStatusChip1Full = 1;
constexpr uint16_t FlashStatusChip2Full = 2;

QString percentText(int percent) {
    return QString::number(percent) + QStringLiteral(" %");
}

}  // namespace

int downloadPercent(int pages, int divisor) {
    const long long scaled = 100LL * pages;
    long long quotient = scaled / divisor;
    const long long twiceRest = 2 * (scaled % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 != 0)) {
        ++quotient;
    }
    return static_cast<int>(quotient);
}

bool MemoryDownload::readMemoryInfo(uint16_t info[3]) {
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (comon_.ReadRegisters(LoggerNode, MemoryInfoRegister, 3, info) == 1) {
            return true;
        }
    }
    return false;
}

void MemoryDownload::plan(const uint16_t info[3], bool downloadAllMemory) {
    const uint16_t writePage = info[0];
    const uint16_t flashStatus = info[2];
    const bool bothFull =
        (flashStatus & FlashStatusChip1Full) && (flashStatus & FlashStatusChip2Full);
    MemoryChipCount = flashStatus == 0 ? 1 : 2;
    progressDivisor = MemoryChipCount == 1 ? writePage : writePage + LastPage;
    if (bothFull || downloadAllMemory) {
        progressDivisor = 2 * LastPage;
    }
    if (downloadAllMemory) {
        MemoryChipCount = 2;
    }
    const uint16_t fullBit[ChipCount] = {FlashStatusChip1Full, FlashStatusChip2Full};
    pagesToRead = 0;
    for (int chip = 0; chip < ChipCount; ++chip) {
        const bool full = (flashStatus & fullBit[chip]) || downloadAllMemory;
        LastPageIndex[chip] = std::min<int>(full ? LastPage : writePage, LastPage);
        if (chip < MemoryChipCount) {
            pagesToRead += LastPageIndex[chip] + 1;
        }
    }
}

bool MemoryDownload::run(WaitingWork& work, bool downloadAllMemory) {
    image_.reset();
    pagesRequested = 0;
    lastPercentShown_ = 0;
    work.showProgress(percentText(0));
    work.processEvents();

    uint16_t info[3] = {0, 0, 0};
    if (!readMemoryInfo(info)) {
        return false;
    }
    plan(info, downloadAllMemory);
    work.showPages(0, pagesToRead);
    for (int chip = 0; chip < MemoryChipCount; ++chip) {
        for (int page = 0; page <= LastPageIndex[chip]; ++page) {
            ++pagesRequested;
            if (!readPage(work, chip, page)) {
                return false;
            }
            showProgress(work);
            work.showPages(pagesRequested, pagesToRead);
            if (work.abortRequested()) {
                return false;
            }
        }
    }
    return true;
}

bool MemoryDownload::readPage(WaitingWork& work, int chip, int page) {
    const std::span<uint16_t> words = image_.appendPage(chip);
    if (!readHalfPage(work, chip, page, 0, words.first(WordsPerHalfPage)) ||
        !readHalfPage(work, chip, page, HalfPageByteOffset, words.last(WordsPerHalfPage))) {
        return false;
    }
    if (pageRead) {
        pageRead(chip, page, words);
    }
    return true;
}

bool MemoryDownload::readHalfPage(WaitingWork& work, int chip, int page, int byteOffset,
                                  std::span<uint16_t> into) {
    if (!writeWithAttempts(PageRequestRegister, ChipSelectCode[chip]) ||
        !writeWithAttempts(PageRequestRegister + 1, static_cast<uint16_t>(page)) ||
        !writeWithAttempts(PageRequestRegister + 2, static_cast<uint16_t>(byteOffset))) {
        return false;
    }
    work.pause(PauseBeforeBufferReadMs);
    work.processEvents();
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (comon_.ReadRegisters(LoggerNode, PageBufferRegister, WordsPerHalfPage, into.data()) ==
            1) {
            return true;
        }
    }
    return false;
}

bool MemoryDownload::writeWithAttempts(uint16_t reg, uint16_t value) {
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (comon_.WriteRegister(LoggerNode, reg, value) == 1) {
            return true;
        }
    }
    return false;
}

void MemoryDownload::showProgress(WaitingWork& work) {
    if (progressDivisor == 0) {
        work.showProgress(percentText(100));
        return;
    }
    const int percent = downloadPercent(pagesRequested, progressDivisor);
    if (percent != lastPercentShown_) {
        lastPercentShown_ = percent;
        work.showProgress(percentText(percent));
        work.processEvents();
    }
}
