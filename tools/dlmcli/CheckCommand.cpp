#include "CliPrompts.h"
#include "ProjectArgument.h"
#include "Subcommands.h"
#include "base/FolderLookup.h"
#include "projects/CommandTableSave.h"
#include "projects/ProjectFiles.h"

#include <QDir>
#include <cstdio>

// Checks the project's cmdmb.xml as the command editor checks its rows before a save: every
// failing row is reported with the editor's message.
int runCheck(const QStringList& arguments, CliPrompts& prompts) {
    if (const int status = checkProjectFolderArgument(
            arguments, QStringLiteral("check PROJECT_FOLDER"), prompts)) {
        return status;
    }
    const QString folder = arguments.front();
    if (!fileExistsInFolder(folder, ProjectFiles::CommandsFile)) {
        prompts.inform(QDir::toNativeSeparators(pathInFolder(folder, ProjectFiles::CommandsFile)) +
                       QStringLiteral(": no such file"));
        return 1;
    }
    const auto rows = ProjectFiles::loadCommandRows(folder);
    if (!rows) {
        prompts.inform(QDir::toNativeSeparators(pathInFolder(folder, ProjectFiles::CommandsFile)) +
                       QStringLiteral(": not a readable XML file"));
        return 1;
    }
    const QStringList problems = commandRowProblems(*rows);
    for (const QString& problem : problems) {
        prompts.inform(problem);
    }
    if (!problems.isEmpty()) {
        return 1;
    }
    std::printf("%zu commands\n", rows->size());
    return 0;
}
