#include "base/FolderLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString existingEntry(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name))) {
        return dir.filePath(name);
    }
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return dir.filePath(entry);
        }
    }
    return {};
}

}  // namespace

QString pathInFolder(const QString& folder, const QString& name) {
    const QString found = existingEntry(folder, name);
    return found.isEmpty() ? QDir(folder).filePath(name) : found;
}

bool existsInFolder(const QString& folder, const QString& name) {
    return !existingEntry(folder, name).isEmpty();
}

bool fileExistsInFolder(const QString& folder, const QString& name) {
    const QString found = existingEntry(folder, name);
    return !found.isEmpty() && QFileInfo(found).isFile();
}

void removeCaseTwins(const QString& path) {
    const QFileInfo written(path);
    const QDir dir = written.dir();
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry != written.fileName() &&
            entry.compare(written.fileName(), Qt::CaseInsensitive) == 0) {
            QFile::remove(dir.filePath(entry));
        }
    }
}
