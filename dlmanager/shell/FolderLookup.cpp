#include "shell/FolderLookup.h"

#include <QDir>
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
