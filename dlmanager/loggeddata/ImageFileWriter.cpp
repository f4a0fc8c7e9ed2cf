#include "loggeddata/ImageFileWriter.h"

#include "base/WholeFile.h"
#include "loggeddata/MemoryGeometry.h"
#include "loggeddata/MemoryImage.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>

using namespace MemoryGeometry;

namespace {

constexpr qint64 PageBytes = WordsPerPage * 2;

int pagesHeld(const QByteArray& image) {
    int pages = 0;
    for (qint64 at = 0; at < image.size(); at += PageBytes) {
        const char* page = image.constData() + at;
        for (qint64 i = 0; i < PageBytes; ++i) {
            if (page[i] != char(0xFF)) {
                ++pages;
                break;
            }
        }
    }
    return pages;
}

bool writeAt(int fd, const char* bytes, qint64 size, qint64 at) {
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, bytes, size_t(size), at);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= written;
        at += written;
    }
    return true;
}

}  // namespace

bool ImageFileWriter::open(const QString& path, QString* reason) {
    const FileRead existing = readFileWhole(path, MemoryImage::FileBytes);
    const QString notAnImage = QStringLiteral("it holds no image of the whole memory (%1 bytes)")
                                   .arg(MemoryImage::FileBytes);
    switch (existing.status) {
        case FileRead::Status::Missing:
            break;
        case FileRead::Status::Read:
            if (!existing.bytes.isEmpty() && existing.bytes.size() != MemoryImage::FileBytes) {
                *reason = notAnImage;
                return false;
            }
            existingPages_ = pagesHeld(existing.bytes);
            break;
        case FileRead::Status::TooLarge:
            *reason = notAnImage;
            return false;
        case FileRead::Status::Refused:
            *reason = existing.reason;
            return false;
    }
    if (!file_.create(path, reason)) {
        return false;
    }
    const QByteArray erased(MemoryImage::FileBytes, char(0xFF));
    if (!writeAt(file_.descriptor(), erased.constData(), erased.size(), 0)) {
        *reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (existingPages_ == 0 && !takePlace()) {
        *reason = error_;
        return false;
    }
    return true;
}

bool ImageFileWriter::writePage(int chip, int page, std::span<const uint16_t> words) {
    char bytes[PageBytes];
    for (int i = 0; i < WordsPerPage; ++i) {
        bytes[2 * i] = char(words[size_t(i)] & 0xFF);
        bytes[2 * i + 1] = char(words[size_t(i)] >> 8);
    }
    const qint64 at = (qint64(chip) * PagesPerChip + page) * PageBytes;
    if (!writeAt(file_.descriptor(), bytes, PageBytes, at)) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ++pagesWritten_;
    return replaced_ || pagesWritten_ < existingPages_ || takePlace();
}

bool ImageFileWriter::takePlace() {
    replaced_ = file_.commit(&error_);
    return replaced_;
}
