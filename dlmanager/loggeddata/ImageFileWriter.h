#pragma once

#include "base/FileBeside.h"

#include <QString>
#include <cstdint>
#include <span>

// Keeps a download on disk as it arrives: an image file of 540,672 words, low byte first,
// each page at its place in the device (chip 1's pages, then chip 2's), the pages not read
// erased. So it reads back like a full image, and a download that breaks off keeps what it had.
// An image already on disk is never made smaller: the new one grows beside it and takes its place
// once it holds at least as many pages (pages not wholly erased, in the old one).
class ImageFileWriter {
public:
    // Refuses, with the reason, a file that is not a regular file or holds something other than
    // an image (an empty file is an image of no pages).
    bool open(const QString& path, QString* reason);
    bool writePage(int chip, int page, std::span<const uint16_t> words);

    // Whether the new image stands under the file's name.
    bool replaced() const { return replaced_; }
    int pagesOnDisk() const { return existingPages_; }
    int pagesWritten() const { return pagesWritten_; }
    QString errorString() const { return error_; }

private:
    bool takePlace();

    FileBeside file_;
    int existingPages_ = 0;
    int pagesWritten_ = 0;
    bool replaced_ = false;
    QString error_;
};
