#pragma once

#include <QByteArray>
#include <QString>

// Writes the bytes as the file's whole new content: a temporary file beside the target, flushed
// to disk, then renamed over it, so the old file stays intact until the new one is complete.
// On failure returns false and, when given, sets the system's reason.
bool writeFileWhole(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The message for a file that could not be written: its name and the system's reason.
QString writeFailureText(const QString& path, const QString& reason);
