#pragma once

#include "FuzzCheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The loaders read files by path, so every input goes through a file in a folder of this
// fuzzing process (removed when the process ends normally). In memory where the system has such
// a folder: the savers wait for the disk on every file.
inline QString fuzzFolder() {
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/dlm-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/dlm-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::abort();
    }
    return folder.path();
}

inline QString writeFuzzFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(fuzzFolder()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::abort();
    }
    return path;
}

inline QByteArray fuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
