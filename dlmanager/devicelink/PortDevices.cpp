#include "devicelink/PortDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString processText(const QString& pid) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    const QString name = comm.open(QIODevice::ReadOnly)
                             ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                             : QStringLiteral("?");
    return QStringLiteral("%1 (process %2)").arg(name, pid);
}

// The process whose lock keeps the device, from the kernel's list of locks: "1: FLOCK
// ADVISORY WRITE <pid> <major>:<minor>:<inode> 0 EOF", the numbers of the device in hex.
QString lockHolderOf(const QString& path) {
    struct stat info {};
    QFile locks(QStringLiteral("/proc/locks"));
    if (stat(QFile::encodeName(path).constData(), &info) != 0 || !locks.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString file = QStringLiteral("%1:%2:%3")
                             .arg(major(info.st_dev), 2, 16, QLatin1Char('0'))
                             .arg(minor(info.st_dev), 2, 16, QLatin1Char('0'))
                             .arg(info.st_ino);
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QStringList fields = QString::fromLatin1(line).simplified().split(u' ');
        if (fields.size() >= 6 && fields[1] != QLatin1String("->") && fields[5] == file) {
            return fields[4];
        }
    }
    return {};
}

// The program holding the device: the one with its lock, else one of the processes whose
// descriptors we may read that has it open.
QString holderOf(const QString& path) {
    if (const QString pid = lockHolderOf(path); !pid.isEmpty()) {
        return processText(pid);
    }
    const QString device = QFileInfo(path).canonicalFilePath();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!pid.front().isDigit() || pid.toLongLong() == getpid()) {
            continue;
        }
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() == device) {
                return processText(pid);
            }
        }
    }
    return {};
}

QString groupName(gid_t id) {
    const group* entry = getgrgid(id);
    return entry != nullptr ? QString::fromLocal8Bit(entry->gr_name) : QString::number(id);
}

QString userName(uid_t id) {
    const passwd* entry = getpwuid(id);
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString::number(id);
}

// The open the library makes: exclusive use through a lock that a second program, privileged
// or not, cannot take.
int trialOpen(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
    ::close(fd);
    return error == EWOULDBLOCK ? EBUSY : error;
}

QString permissionsText(unsigned mode) {
    return QStringLiteral("%1").arg(mode & 0777, 4, 8, QLatin1Char('0'));
}

// The device's own name, as a udev rule matches it: a by-id link names its tty.
QString kernelName(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return QFileInfo(canonical.isEmpty() ? path : canonical).fileName();
}

QString accessDetail(const PortDevices::Probe& probe) {
    const bool groupMay = (probe.mode & 060) == 060;
    if (groupMay && probe.group != QLatin1String("root")) {
        return QStringLiteral(
                   "Your user may not read and write %1 (it belongs to the group %2).\n"
                   "Fix: add your user to that group (for example: sudo usermod -aG %2 "
                   "$USER), then log out and in again.")
            .arg(probe.path, probe.group);
    }
    // Joining the group root is no fix to advise, nor a group that may not use the device.
    const QString who = groupMay ? QStringLiteral("only %1 and the group root may").arg(probe.owner)
                        : (probe.mode & 0600) == 0600
                            ? QStringLiteral("only its owner %1 may").arg(probe.owner)
                            : QStringLiteral("nobody but root may");
    return QStringLiteral(
               "Your user may not read and write %1: %2 (owner %3, group %4, permissions %5).\n"
               "Fix: give the device a group that may read and write it, with a udev rule such "
               "as\n  KERNEL==\"%6\", GROUP=\"dialout\", MODE=\"0660\"\n"
               "in /etc/udev/rules.d/50-serial.rules (then: sudo udevadm trigger), and add your "
               "user to that group (sudo usermod -aG dialout $USER, then log out and in again).")
        .arg(probe.path, who, probe.owner, probe.group, permissionsText(probe.mode),
             kernelName(probe.path));
}

}  // namespace

namespace PortDevices {

QString environmentVariable(int comPortNumber) {
    return QStringLiteral("VTL_MODBUS_COM%1").arg(comPortNumber + 1);
}

QString devicePath(int comPortNumber) {
    const QString named = qEnvironmentVariable(environmentVariable(comPortNumber).toLatin1());
    return named.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(comPortNumber) : named;
}

Probe probe(int comPortNumber) {
    Probe probe;
    probe.path = devicePath(comPortNumber);
    probe.variable = environmentVariable(comPortNumber);
    probe.named = !qEnvironmentVariable(probe.variable.toLatin1()).isEmpty();
    probe.openError = trialOpen(probe.path);
    struct stat info {};
    if (probe.openError != ENOENT && stat(QFile::encodeName(probe.path).constData(), &info) == 0) {
        probe.group = groupName(info.st_gid);
        probe.owner = userName(info.st_uid);
        probe.mode = info.st_mode & 07777;
    }
    if (probe.openError == EBUSY) {
        probe.holder = holderOf(probe.path);
    }
    return probe;
}

QString tooltip(const Probe& probe) {
    QString state;
    switch (probe.openError) {
        case 0:
            state = QStringLiteral("present, can be opened");
            break;
        case ENOENT:
        case ENOTDIR:
            state = QStringLiteral("does not exist");
            break;
        case EACCES:
        case EPERM:
            state = QStringLiteral("present, but your user may not open it (group %1)")
                        .arg(probe.group);
            break;
        case EBUSY:
            state = probe.holder.isEmpty()
                        ? QStringLiteral("present, held by another program")
                        : QStringLiteral("present, held by %1").arg(probe.holder);
            break;
        default:
            state = QStringLiteral("present, cannot be opened: %1").arg(errorText(probe.openError));
            break;
    }
    return QStringLiteral("%1: %2").arg(probe.path, state);
}

QString heldByThisProgramTooltip(int comPortNumber) {
    return QStringLiteral("%1: open, this program's link").arg(devicePath(comPortNumber));
}

QString failureDetail(const Probe& probe) {
    switch (probe.openError) {
        case EACCES:
        case EPERM:
            return accessDetail(probe);
        case EBUSY:
            return QStringLiteral(
                       "%1 is held by %2.\n"
                       "Fix: close that program (a terminal emulator, ModemManager or a second "
                       "dlmanager), then try again.")
                .arg(probe.path,
                     probe.holder.isEmpty() ? QStringLiteral("another program") : probe.holder);
        case ENOENT:
        case ENOTDIR:
            if (probe.named) {
                return QStringLiteral(
                           "%1, named by %2, does not exist.\n"
                           "Fix: plug in the serial adapter, or correct %2.")
                    .arg(probe.path, probe.variable);
            }
            return QStringLiteral(
                       "%1 does not exist.\n"
                       "Fix: plug in the serial adapter, or name its device in %2 (for example "
                       "%2=/dev/ttyUSB0).")
                .arg(probe.path, probe.variable);
        default:
            return {};
    }
}

}  // namespace PortDevices
