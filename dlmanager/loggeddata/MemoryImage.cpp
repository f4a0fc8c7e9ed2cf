#include "loggeddata/MemoryImage.h"

#include "base/WholeFile.h"

#include <algorithm>

using namespace MemoryGeometry;

MemoryImage::MemoryImage() : words_(new uint16_t[ImageWords]) {
    reset();
}

void MemoryImage::reset() {
    std::fill_n(words_.get(), ImageWords, ErasedWord);
    chips_ = {};
    pagesStored_ = 0;
}

std::span<uint16_t> MemoryImage::appendPage(int chip) {
    ChipPages& pages = chips_[size_t(chip)];
    if (pages.pageCount == 0) {
        pages.firstImagePage = pagesStored_;
    }
    ++pages.pageCount;
    const size_t first = size_t(pagesStored_++) * WordsPerPage;
    return {words_.get() + first, size_t{WordsPerPage}};
}

void MemoryImage::setWholeDeviceLayout() {
    for (int chip = 0; chip < ChipCount; ++chip) {
        chips_[size_t(chip)] = {chip * PagesPerChip, PagesPerChip};
    }
    pagesStored_ = ChipCount * PagesPerChip;
}

MemoryImage::FileResult MemoryImage::loadFile(const QString& path, QString* reason) {
    const FileRead file = readFileWhole(path, FileBytes);
    if (!file.read()) {
        if (reason) {
            *reason = file.reason;
        }
        return file.status == FileRead::Status::TooLarge ? FileResult::WrongSize
                                                         : FileResult::CannotRead;
    }
    const QByteArray& bytes = file.bytes;
    if (bytes.size() != FileBytes) {
        return FileResult::WrongSize;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (size_t i = 0; i < ImageWords; ++i) {
        words_[i] = static_cast<uint16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    setWholeDeviceLayout();
    return FileResult::Done;
}
