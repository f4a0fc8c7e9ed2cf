#pragma once

#include "base/ProgramFolders.h"

#include <QString>

// The program's folders and the two remembered settings. Held by the main window for the whole
// run; other parts read it and the project operations change the current project.
struct ProgramSettings {
    QString ExecutableFolder;  // Burnix.exe and the pictures
    QString ProgramFolder;     // Quandor.ini, MASTER and PROJECTS
    QString MasterFolder;
    QString ProjectsFolder;
    QString ProjectName;    // relative to ProjectsFolder; empty when there is no project
    QString ProjectFolder;  // ProjectsFolder while no project folder is current
    int ComPortNumber = 0;  // 0 is "Com1" ... 7 is "Com8"

    QString settingsFile() const;
};

namespace Settings {

inline const QString FileName = QStringLiteral("Quandor.ini");
inline const QString MasterFolderName = QStringLiteral("MASTER");
inline const QString ProjectsFolderName = QStringLiteral("PROJECTS");
inline const QString TemplateFolderName = QStringLiteral("Projects_init");

// Sets the folders from the program's places and creates MASTER and PROJECTS when missing (one
// level; a failure is left for the operations that need the folder to report).
ProgramSettings prepareFolders(const ProgramPlaces& places);

// Reads the last project and the port; a port outside 0..7, or not a number, becomes 0.
void readSettings(ProgramSettings& settings);

// Makes the remembered project current when its folder exists strictly below ProjectsFolder;
// false otherwise, and then ProjectFolder is ProjectsFolder while ProjectName keeps the
// remembered name.
bool reopenLastProject(ProgramSettings& settings);

// Write the last-project entry and the port entry; false when the file cannot be written, with
// the reason in `reason` when given.
bool writeLastProject(const ProgramSettings& settings, QString* reason = nullptr);
bool writeComPort(const ProgramSettings& settings, QString* reason = nullptr);
// "Unable to write to <settings file>: <reason>".
QString settingsWriteFailureText(const ProgramSettings& settings, const QString& reason);

// The port rule applied at start and whenever the port dialog opens.
int validComPort(int number);

// The main window's title: the caption alone until a project operation names a project, then
// the caption, " :" and the project name.
QString windowTitle(const QString& caption, const QString* projectName);

}  // namespace Settings
