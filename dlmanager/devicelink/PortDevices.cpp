#include "devicelink/PortDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The program holding the device, found among the processes whose descriptors we may read.
QString holderOf(const QString& path) {
    const QString device = QFileInfo(path).canonicalFilePath();
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (!pid.front().isDigit() || pid.toLongLong() == getpid()) {
            continue;
        }
        const QDir fds(proc.filePath(pid + QStringLiteral("/fd")));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() == device) {
                QFile comm(proc.filePath(pid + QStringLiteral("/comm")));
                const QString name = comm.open(QIODevice::ReadOnly)
                                         ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                         : QStringLiteral("?");
                return QStringLiteral("%1 (process %2)").arg(name, pid);
            }
        }
    }
    return {};
}

QString groupOf(const QString& path) {
    struct stat info {};
    if (stat(QFile::encodeName(path).constData(), &info) != 0) {
        return {};
    }
    const group* owner = getgrgid(info.st_gid);
    return owner != nullptr ? QString::fromLocal8Bit(owner->gr_name) : QString::number(info.st_gid);
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
    const int fd = ::open(QFile::encodeName(probe.path).constData(),
                          O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
    } else {
        probe.openError = errno;
    }
    if (probe.openError != ENOENT) {
        probe.group = groupOf(probe.path);
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
            return QStringLiteral(
                       "Your user may not read and write %1 (it belongs to the group %2).\n"
                       "Fix: add your user to that group (for example: sudo usermod -aG %2 "
                       "$USER), then log out and in again.")
                .arg(probe.path, probe.group);
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
