#pragma once

#include <QProcessEnvironment>
#include <QString>

// Where the program runs from and where it keeps what is the user's. In a build tree or an
// unpacked copy the two are one folder. Installed, the executable's folder belongs to the system
// and the user's settings and projects go to a folder of their own.
struct ProgramPlaces {
    ProgramPlaces() = default;
    ProgramPlaces(const QString& executable, const QString& program)
        : executableFolder(executable), programFolder(program) {}
    // One folder for both, as in a build tree: implicit, so a folder stands for its places.
    ProgramPlaces(const QString& folder) : ProgramPlaces(folder, folder) {}

    QString executableFolder;  // Burnix.exe, the pictures, the shipped MASTER and template
    QString programFolder;     // Quandor.ini, MASTER, PROJECTS
};

namespace ProgramFolders {

inline const QString PerUserFolderName = QStringLiteral("dlmanager");

// True when `folder` may hold the user's files: a folder we may write, outside /usr, whose
// content belongs to the package manager even where root could write it.
bool holdsUserFiles(const QString& folder);

// $XDG_DATA_HOME/dlmanager; $HOME/.local/share/dlmanager when XDG_DATA_HOME is unset or not an
// absolute path.
QString perUserFolder(const QProcessEnvironment& environment);

// The executable's folder is the program folder where it may hold the user's files, else the
// per-user folder is. Nothing is created.
ProgramPlaces placesFor(const QString& executableFolder, const QProcessEnvironment& environment);

// The same for the running executable and the process's environment.
ProgramPlaces placesOfThisProgram();

// Where the program folder is not the executable's: makes it, and copies into it whatever of the
// shipped MASTER and template folder it lacks. Files already there are the user's and stay.
void furnish(const ProgramPlaces& places);

}  // namespace ProgramFolders
