#include "base/FileBeside.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <memory>

namespace {

constexpr int MostLinksFollowed = 40;  // as the kernel's own limit
constexpr int UniqueCharacters = 6;    // the XXXXXX of mkstemp

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

bool failWith(QString* error, int code) {
    return fail(error, QString::fromLocal8Bit(std::strerror(code)));
}

mode_t creationMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The end of the chain of links starting at `path`; it need not exist.
bool followLinks(QByteArray path, QByteArray& end, QString* error) {
    for (int hop = 0; hop <= MostLinksFollowed; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0) {
            if (errno != ENOENT) {
                return failWith(error, errno);
            }
            end = path;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            end = path;
            return true;
        }
        QByteArray link(qsizetype(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (length < 0) {
            return failWith(error, errno);
        }
        link.truncate(length);
        const qsizetype slash = path.lastIndexOf('/');
        path = link.startsWith('/') || slash < 0 ? link : path.left(slash + 1) + link;
    }
    return failWith(error, ELOOP);
}

}  // namespace

QString notRegularFileText(mode_t mode) {
    const char* kind = S_ISDIR(mode)    ? "a folder"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISFIFO(mode) ? "a FIFO"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "something else";
    return QStringLiteral("it is %1, not a regular file").arg(QLatin1String(kind));
}

void removeStaleTemporaries(const QByteArray& target) {
    const QByteArray folder = folderOf(target);
    const QByteArray prefix = '.' + nameOf(target) + '.';
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), ::closedir);
    if (!dir) {
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || name.size() != prefix.size() + UniqueCharacters) {
            continue;
        }
        const QByteArray path = folder + '/' + name;
        struct stat named {};
        if (::lstat(path.constData(), &named) != 0 || !S_ISREG(named.st_mode)) {
            continue;
        }
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat opened {};
        // Still the file that was looked at, and no writer holds it.
        if (::fstat(fd, &opened) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            ::unlink(path.constData());
        }
        ::close(fd);
    }
}

bool renameOver(const QString& from, const QString& target, QString* error) {
    QByteArray replaced;
    if (!followLinks(QFile::encodeName(target), replaced, error)) {
        return false;
    }
    struct stat existing {};
    if (::stat(replaced.constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        return fail(error, notRegularFileText(existing.st_mode));
    }
    if (::rename(QFile::encodeName(from).constData(), replaced.constData()) != 0) {
        return failWith(error, errno);
    }
    return true;
}

FileBeside::~FileBeside() {
    if (fd_ < 0) {
        return;
    }
    if (!committed_) {
        ::unlink(temporary_.constData());
    }
    ::close(fd_);
}

bool FileBeside::create(const QString& target, QString* error) {
    if (!followLinks(QFile::encodeName(target), replaced_, error)) {
        return false;
    }
    struct stat existing {};
    const bool exists = ::stat(replaced_.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return fail(error, notRegularFileText(existing.st_mode));
    }
    removeStaleTemporaries(replaced_);

    const QByteArray pattern =
        folderOf(replaced_) + "/." + nameOf(replaced_) + '.' + QByteArray(UniqueCharacters, 'X');
    for (;;) {
        temporary_ = pattern;
        fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            return failWith(error, errno);
        }
        int locked = 0;
        do {
            locked = ::flock(fd_, LOCK_EX);
        } while (locked != 0 && errno == EINTR);
        // Without locks on this file system no other save can take it for stale either.
        if (locked != 0) {
            break;
        }
        // Another save may have taken the fresh file for a stale one before the lock was held:
        // then it is gone, and a new one is made.
        struct stat made {};
        if (::fstat(fd_, &made) != 0 || made.st_nlink > 0) {
            break;
        }
        ::close(fd_);
        fd_ = -1;
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : creationMode();
    if (::fchmod(fd_, mode) != 0) {
        return failWith(error, errno);
    }
    return true;
}

bool FileBeside::commit(QString* error) {
    // The rename must not reach the disk before the content does.
    if (::fsync(fd_) != 0) {
        return failWith(error, errno);
    }
    // The target may have turned into something else since create() looked.
    struct stat existing {};
    if (::stat(replaced_.constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        return fail(error, notRegularFileText(existing.st_mode));
    }
    if (::rename(temporary_.constData(), replaced_.constData()) != 0) {
        return failWith(error, errno);
    }
    committed_ = true;
    return true;
}
