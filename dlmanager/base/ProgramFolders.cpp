#include "base/ProgramFolders.h"

#include "base/FolderLookup.h"
#include "base/ProgramSettings.h"
#include "base/WholeFile.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The base firmware and the template are far smaller; anything larger is not ours.
constexpr qint64 MaxShippedFileBytes = 64 * 1024 * 1024;

const QString SystemTree = QStringLiteral("/usr");

bool insideSystemTree(const QString& canonicalFolder) {
    return canonicalFolder == SystemTree || canonicalFolder.startsWith(SystemTree + '/');
}

void copyMissingFiles(const QString& source, const QString& destination) {
    const QStringList names = QDir(source).entryList(QDir::Files | QDir::NoDotAndDotDot);
    if (names.isEmpty() || !QDir().mkpath(destination)) {
        return;
    }
    for (const QString& name : names) {
        if (existsInFolder(destination, name)) {
            continue;
        }
        const FileRead file = readFileWhole(QDir(source).filePath(name), MaxShippedFileBytes);
        if (file.read()) {
            writeFileWhole(QDir(destination).filePath(name), file.bytes);
        }
    }
}

}  // namespace

namespace ProgramFolders {

bool holdsUserFiles(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || insideSystemTree(info.canonicalFilePath())) {
        return false;
    }
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString perUserFolder(const QProcessEnvironment& environment) {
    QString dataHome = environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!QDir::isAbsolutePath(dataHome)) {
        QString home = environment.value(QStringLiteral("HOME"));
        if (home.isEmpty()) {
            home = QDir::homePath();
        }
        dataHome = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + '/' + PerUserFolderName);
}

ProgramPlaces placesFor(const QString& executableFolder, const QProcessEnvironment& environment) {
    const QString folder = QDir::cleanPath(executableFolder);
    return {folder, holdsUserFiles(folder) ? folder : perUserFolder(environment)};
}

ProgramPlaces placesOfThisProgram() {
    return placesFor(QCoreApplication::applicationDirPath(),
                     QProcessEnvironment::systemEnvironment());
}

void furnish(const ProgramPlaces& places) {
    if (places.programFolder == places.executableFolder) {
        return;
    }
    QDir().mkpath(places.programFolder);
    const QDir shipped(places.executableFolder);
    const QDir user(places.programFolder);
    copyMissingFiles(shipped.filePath(Settings::MasterFolderName),
                     user.filePath(Settings::MasterFolderName));
    const QString templateFolder =
        Settings::ProjectsFolderName + '/' + Settings::TemplateFolderName;
    copyMissingFiles(shipped.filePath(templateFolder), user.filePath(templateFolder));
}

}  // namespace ProgramFolders
