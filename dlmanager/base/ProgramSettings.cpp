#include "base/ProgramSettings.h"

#include "base/IniFile.h"
#include "base/Numbers.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString LastProjectSection = QStringLiteral("lastproj");
const QString LastProjectKey = QStringLiteral("projectname");
const QString PortSection = QStringLiteral("ComPort");
const QString PortKey = QStringLiteral("Number");

QString createdSubfolder(const QString& parent, const QString& name) {
    const QString folder = parent + QLatin1Char('/') + name;
    if (!QFileInfo(folder).isDir()) {
        QDir().mkdir(folder);
    }
    return folder;
}

}  // namespace

QString ProgramSettings::settingsFile() const {
    return ProgramFolder + QLatin1Char('/') + Settings::FileName;
}

namespace Settings {

ProgramSettings prepareFolders(const ProgramPlaces& places) {
    ProgramSettings settings;
    settings.ExecutableFolder = QDir::cleanPath(places.executableFolder);
    settings.ProgramFolder = QDir::cleanPath(places.programFolder);
    settings.MasterFolder = createdSubfolder(settings.ProgramFolder, MasterFolderName);
    settings.ProjectsFolder = createdSubfolder(settings.ProgramFolder, ProjectsFolderName);
    settings.ProjectFolder = settings.ProjectsFolder;
    return settings;
}

void readSettings(ProgramSettings& settings) {
    const QString file = settings.settingsFile();
    settings.ProjectName = IniFile::read(file, LastProjectSection, LastProjectKey);
    const auto port = parseDecimal(IniFile::read(file, PortSection, PortKey));
    settings.ComPortNumber = port && *port >= 0 && *port <= 7 ? int(*port) : 0;
}

bool reopenLastProject(ProgramSettings& settings) {
    // The settings file is plain text anyone may edit: a name that leads out of the projects
    // folder ("../x", an absolute path) names no project.
    const QString projects = QDir::cleanPath(settings.ProjectsFolder) + QLatin1Char('/');
    const QString folder = QDir::cleanPath(projects + settings.ProjectName);
    if (QDir::isAbsolutePath(settings.ProjectName) || !folder.startsWith(projects) ||
        !QFileInfo(folder).isDir()) {
        settings.ProjectFolder = settings.ProjectsFolder;
        return false;
    }
    settings.ProjectFolder = folder;
    return true;
}

bool writeLastProject(const ProgramSettings& settings, QString* reason) {
    return IniFile::write(settings.settingsFile(), LastProjectSection, LastProjectKey,
                          settings.ProjectName, reason);
}

bool writeComPort(const ProgramSettings& settings, QString* reason) {
    return IniFile::write(settings.settingsFile(), PortSection, PortKey,
                          decimalText(settings.ComPortNumber), reason);
}

QString settingsWriteFailureText(const ProgramSettings& settings, const QString& reason) {
    return QStringLiteral("Unable to write to %1: %2")
        .arg(QDir::toNativeSeparators(settings.settingsFile()), reason);
}

int validComPort(int number) {
    return number >= 0 && number <= 7 ? number : 0;
}

QString windowTitle(const QString& caption, const QString* projectName) {
    return projectName ? caption + QStringLiteral(" :") + *projectName : caption;
}

}  // namespace Settings
