#pragma once

#include "base/ProgramSettings.h"
#include "projects/Comandi.h"

#include <QString>
#include <optional>

class Prompts;

namespace WorkspaceTexts {
inline const QString NameNotValid = QStringLiteral("Name project not valid");
inline const QString NameExists =
    QStringLiteral("Name project not valid because directory already exists");
inline const QString SelectProjectCaption = QStringLiteral("Select directory of project");
inline const QString BinFolder = QStringLiteral("bin");
}  // namespace WorkspaceTexts

// Copies the plain files directly inside `source` into `destination`, replacing files of the
// same name (in any spelling). Skipped: hidden files (a name starting with "."), anything that
// is not a regular file (a link, device, pipe, socket, folder) and files their owner may not
// write. A missing source copies nothing; a failed copy is skipped silently.
void CopyFolderFiles(const QString& source, const QString& destination);

// The OK step of the new-project dialog: makes the folder `name` (taken as typed) below `base`
// and its "bin" folder. Nothing, after the message it needs, when the dialog must stay open: an
// empty name or one that leaves `base` (absolute, or with a ".." part) is not valid, an existing
// name is refused, and a folder that cannot be made keeps the dialog open silently.
std::optional<QString> createProjectFolder(const QString& base, const QString& name,
                                           Prompts& prompts);

// `folder`'s path relative to `projectsFolder`, which it must be or lie below; empty for
// `projectsFolder` itself, nothing for a folder outside.
std::optional<QString> projectNameOf(const QString& projectsFolder, const QString& folder);

// "Open project": the folder chooser below ProjectsFolder; a chosen folder becomes the current
// project, its command list is loaded and the settings file names it. False when cancelled.
bool openProject(ProgramSettings& settings, CommandList& commands, Prompts& prompts);

// After the new-project dialog confirmed: an empty list, the settings file names the project and
// the template's files are copied in.
void startNewProject(const ProgramSettings& settings, CommandList& commands, Prompts& prompts);

// Writes the last-project entry; a file that cannot be written is reported.
void rememberProject(const ProgramSettings& settings, Prompts& prompts);
