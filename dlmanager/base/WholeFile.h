#pragma once

#include <QByteArray>
#include <QString>

// Files are read and written whole, and only regular files: a device, a FIFO, a socket or a
// folder named as a file is refused with the reason before anything waits on it, reads it
// without end or replaces it.

// Writes the bytes as the file's whole new content: a hidden temporary file beside the target,
// flushed to disk, then renamed over it, so the old file stays intact until the new one is
// complete (see FileBeside). A symbolic link keeps pointing to the file it names, which is the
// one replaced. On failure returns false and, when given, sets the reason.
bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The message for a file that could not be written: its name and the reason.
QString writeFailureText(const QString& path, const QString& reason);

struct FileRead {
    // Refused: not a regular file, or the system's error.
    enum class Status { Read, Missing, Refused, TooLarge };
    Status status = Status::Missing;
    QByteArray bytes;
    QString reason;  // why it is missing or refused

    bool read() const { return status == Status::Read; }
};

// The whole content of a regular file (or a link to one) of at most `maxBytes` bytes. The size is
// checked before anything is read, and a file opened by a name that turns out to be a FIFO does
// not block.
FileRead readFileWhole(const QString& path, qint64 maxBytes);

// The message for a file that could not be read: its name and the reason.
QString readFailureText(const QString& path, const QString& reason);
