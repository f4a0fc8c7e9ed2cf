#include "base/WholeFile.h"

#include "base/FileBeside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

QString systemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

FileRead tooLarge(qint64 size, qint64 maxBytes) {
    return {FileRead::Status::TooLarge,
            {},
            QStringLiteral("it holds %1 bytes, more than the %2 such a file may have")
                .arg(size)
                .arg(maxBytes)};
}

FileRead refused(const QString& reason) {
    return {FileRead::Status::Refused, {}, reason};
}

// Reads to the end, whatever the size said: a file may grow while it is read.
FileRead readOpened(int fd, qint64 maxBytes) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return refused(systemReason(errno));
    }
    // The name may have been given to something else since it was looked at.
    if (!S_ISREG(info.st_mode)) {
        return refused(notRegularFileText(info.st_mode));
    }
    if (info.st_size > maxBytes) {
        return tooLarge(info.st_size, maxBytes);
    }
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                return tooLarge(filled, maxBytes);
            }
            bytes.resize(std::min<qsizetype>(qsizetype(maxBytes) + 1, 2 * filled + 4096));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return refused(systemReason(errno));
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    bytes.truncate(filled);
    return {FileRead::Status::Read, bytes, {}};
}

}  // namespace

bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error) {
    FileBeside file;
    if (!file.create(path, error)) {
        return false;
    }
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file.descriptor(), data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (error) {
                *error = systemReason(errno);
            }
            return false;
        }
        data += written;
        left -= written;
    }
    return file.commit(error);
}

QString writeFailureText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write file \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

FileRead readFileWhole(const QString& path, qint64 maxBytes) {
    const QByteArray name = QFile::encodeName(path);
    // Looked at before it is opened: opening a device can already do something to it.
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        const int code = errno;
        return {code == ENOENT ? FileRead::Status::Missing : FileRead::Status::Refused,
                {},
                systemReason(code)};
    }
    if (!S_ISREG(info.st_mode)) {
        return refused(notRegularFileText(info.st_mode));
    }
    if (info.st_size > maxBytes) {
        return tooLarge(info.st_size, maxBytes);
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        return {code == ENOENT ? FileRead::Status::Missing : FileRead::Status::Refused,
                {},
                systemReason(code)};
    }
    FileRead result = readOpened(fd, maxBytes);
    ::close(fd);
    return result;
}

QString readFailureText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot read file \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
