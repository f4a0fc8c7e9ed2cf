#pragma once

#include <QFile>
#include <QString>
#include <cstdint>
#include <span>

// Keeps a download on disk as it arrives: an image file of 540,672 words, low byte first,
// each page at its place in the device (chip 1's pages, then chip 2's), the pages not read
// erased. So it reads back like a full image, and a download that breaks off keeps what it had.
class ImageFileWriter {
public:
    // Creates the file erased; false when it cannot be written.
    bool open(const QString& path);
    bool writePage(int chip, int page, std::span<const uint16_t> words);
    QString errorString() const { return file_.errorString(); }

private:
    QFile file_;
};
