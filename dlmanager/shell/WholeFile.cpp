#include "shell/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace {

bool fail(QString* error, int code) {
    if (error) {
        *error = QString::fromLocal8Bit(std::strerror(code));
    }
    return false;
}

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return fail(error, errno);
    }
    auto abandon = [&](int code) {
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(error, code);
    };

    struct stat existing {};
    const mode_t mode =
        ::stat(target.constData(), &existing) == 0 ? (existing.st_mode & 07777) : creationMode();
    if (::fchmod(fd, mode) != 0) {
        return abandon(errno);
    }
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return abandon(errno);
        }
        data += written;
        left -= written;
    }
    // The rename must not reach the disk before the content does.
    if (::fsync(fd) != 0) {
        return abandon(errno);
    }
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(error, code);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(error, code);
    }
    return true;
}

QString writeFailureText(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write file \"%1\": %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
