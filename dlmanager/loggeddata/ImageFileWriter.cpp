#include "loggeddata/ImageFileWriter.h"

#include "loggeddata/MemoryGeometry.h"

using namespace MemoryGeometry;

bool ImageFileWriter::open(const QString& path) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray erased(qsizetype(ImageWords * 2), char(0xFF));
    return file_.write(erased) == erased.size() && file_.flush();
}

bool ImageFileWriter::writePage(int chip, int page, std::span<const uint16_t> words) {
    char bytes[WordsPerPage * 2];
    for (int i = 0; i < WordsPerPage; ++i) {
        bytes[2 * i] = char(words[size_t(i)] & 0xFF);
        bytes[2 * i + 1] = char(words[size_t(i)] >> 8);
    }
    const qint64 at = (qint64(chip) * PagesPerChip + page) * WordsPerPage * 2;
    return file_.seek(at) && file_.write(bytes, sizeof bytes) == qint64(sizeof bytes) &&
           file_.flush();
}
