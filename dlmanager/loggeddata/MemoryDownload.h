#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <span>

class Comon;
class MemoryImage;
class WaitingWork;

// Copies the used flash pages of the datalogger into the MemoryImage, half page by half page,
// with three attempts per transfer. Runs inside the waiting window (or the command line's
// stand-in), which it keeps alive and whose Abort it notices at the end of each page.
class MemoryDownload {
public:
    static constexpr int Attempts = 3;
    static constexpr int PauseBeforeBufferReadMs = 10;

    MemoryDownload(Comon& comon, MemoryImage& image) : comon_(comon), image_(image) {}

    // Called with every page as soon as both its halves are in the image.
    std::function<void(int chip, int page, std::span<const uint16_t> words)> pageRead;

    // The whole download; true when every page of every chip was read.
    bool run(WaitingWork& work, bool downloadAllMemory);

    // What the last run decided from the device's memory info, for the caller and tests.
    int MemoryChipCount = 2;
    int LastPageIndex[2] = {2047, 2047};
    int progressDivisor = 0;
    int pagesRequested = 0;
    int pagesToRead = 0;

private:
    bool readMemoryInfo(uint16_t info[3]);
    void plan(const uint16_t info[3], bool downloadAllMemory);
    bool readPage(WaitingWork& work, int chip, int page);
    bool readHalfPage(WaitingWork& work, int chip, int page, int byteOffset,
                      std::span<uint16_t> into);
    bool writeWithAttempts(uint16_t reg, uint16_t value);
    void showProgress(WaitingWork& work);

    Comon& comon_;
    MemoryImage& image_;
    int lastPercentShown_ = 0;
};

// pages × 100 / divisor, rounded to the nearest integer, an exact half to the even neighbour.
int downloadPercent(int pages, int divisor);
