#pragma once

#include "loggeddata/MemoryGeometry.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <span>

// The downloaded flash pages, in the order they were downloaded, without gaps. Allocated once
// for the whole run. Each chip's pages lie together; the image remembers where each chip's
// page 0 landed and how many of its pages were read, since that is where the device's
// 64-page blocks of that chip begin.
class MemoryImage {
public:
    struct ChipPages {
        int firstImagePage = 0;
        int pageCount = 0;
    };

    MemoryImage();

    // Every word erased, no pages read.
    void reset();

    std::span<uint16_t> words() { return {words_.get(), MemoryGeometry::ImageWords}; }
    std::span<const uint16_t> words() const { return {words_.get(), MemoryGeometry::ImageWords}; }

    const ChipPages& chip(int chip) const { return chips_[size_t(chip)]; }
    // The next page of `chip` goes to the image page after everything stored so far.
    std::span<uint16_t> appendPage(int chip);
    int pagesStored() const { return pagesStored_; }

    // Both chips completely, chip 1 first: the layout of a full download and of image files.
    void setWholeDeviceLayout();

    // Image files hold 540,672 words, low byte first, in the whole-device layout. CannotRead
    // sets `reason`, when given, to why (missing, not a regular file); a larger file is
    // WrongSize before it is read.
    static constexpr qint64 FileBytes = qint64(MemoryGeometry::ImageWords) * 2;
    enum class FileResult { Done, CannotRead, WrongSize };
    FileResult loadFile(const QString& path, QString* reason = nullptr);

private:
    std::unique_ptr<uint16_t[]> words_;
    std::array<ChipPages, MemoryGeometry::ChipCount> chips_{};
    int pagesStored_ = 0;
};
