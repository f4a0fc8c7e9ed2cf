#include "ProjectArgument.h"

#include "CliPrompts.h"

#include <QFileInfo>

int checkProjectFolderArgument(const QStringList& arguments, const QString& usage,
                               CliPrompts& prompts) {
    if (arguments.size() != 1) {
        prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
        return 2;
    }
    if (!QFileInfo(arguments.front()).isDir()) {
        prompts.inform(QStringLiteral("Project folder not found: ") + arguments.front());
        return 1;
    }
    return 0;
}
