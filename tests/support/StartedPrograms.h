#pragma once

// What the tests need to see of programs that dlmanager starts without waiting for them: a
// stand-in that records its arguments, and the test process's own children.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QThread>
#include <optional>

#include <unistd.h>

// Places the argument recorder as `name` in `folder`.
inline bool installArgvRecorder(const QString& folder, const QString& name) {
    return QFile::copy(QStringLiteral(ARGV_RECORDER_EXECUTABLE), folder + '/' + name);
}

// The arguments the recorder placed as `name` in `folder` was started with; waits for it a
// while, since nobody waits for it to end.
inline std::optional<QList<QByteArray>> recordedArguments(const QString& folder,
                                                          const QString& name) {
    QFile record(folder + '/' + name + QStringLiteral(".argv"));
    QElapsedTimer waited;
    waited.start();
    while (!record.exists()) {
        if (waited.elapsed() > 20000) {
            return std::nullopt;
        }
        QThread::msleep(5);
    }
    if (!record.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QList<QByteArray> arguments = record.readAll().split('\0');
    arguments.removeLast();  // after the last NUL
    return arguments;
}

inline bool argvRecorded(const QString& folder, const QString& name) {
    return QFile::exists(folder + '/' + name + QStringLiteral(".argv"));
}

// Processes whose parent is this test, zombies included.
inline QList<int> childProcesses() {
    QList<int> children;
    const QString self = QString::number(::getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile status(QStringLiteral("/proc/") + entry + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly)) {
            continue;
        }
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("PPid:") && line.mid(5).trimmed() == self.toLatin1()) {
                children << entry.toInt();
            }
        }
    }
    return children;
}
