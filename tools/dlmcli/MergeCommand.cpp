#include "CliProgramFolder.h"
#include "CliPrompts.h"
#include "ProjectArgument.h"
#include "Subcommands.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/FirmwareVariant.h"
#include "firmware/SRecordMerge.h"

#include <QDir>
#include <cstdio>

// Merges the project's banks into the base firmware, slot by slot, as the update wizard does.
int runMerge(const QStringList& arguments, CliPrompts& prompts) {
    const QString usage = QStringLiteral("merge PROJECT_FOLDER [--base FILE]");
    QString base;
    QStringList rest = arguments;
    const qsizetype option = rest.indexOf(QStringLiteral("--base"));
    if (option >= 0) {
        if (option + 1 >= rest.size()) {
            prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
            return 2;
        }
        base = rest.takeAt(option + 1);
        rest.removeAt(option);
    }
    if (const int status = checkProjectFolderArgument(rest, usage, prompts)) {
        return status;
    }
    const QString project = rest.front();
    const ProgramSettings folders = preparedProgramFolders();
    MergeRun run =
        mergeRunFor(folders.MasterFolder, folders.ProgramFolder, project, FirmwareVariant);
    if (!base.isEmpty()) {
        run.baseFirmware = base;
    }
    NoMergeProgress progress;
    const MergeSummary summary = mergeTellingWhy(run, prompts, progress);
    if (summary.aborted || summary.fileError) {
        return 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(summary.finalOutput)));
    return 0;
}
