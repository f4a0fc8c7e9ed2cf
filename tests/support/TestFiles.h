#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole content of a file; empty when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every byte of the literal, embedded NULs included.
template <qsizetype N>
QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}
