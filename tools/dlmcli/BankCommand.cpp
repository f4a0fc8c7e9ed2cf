#include "CliPrompts.h"
#include "Subcommands.h"
#include "firmware/BankOutputs.h"
#include "firmware/BankSlots.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

// Builds the configuration bank from the project files and writes bank1.bin ... bank5.bin and
// bankg.c into the project's bin folder, as "Update Device" does before the wizard opens.
int runBank(const QStringList& arguments, CliPrompts& prompts) {
    if (arguments.size() != 1) {
        prompts.inform(QStringLiteral("usage: dlmcli bank PROJECT_FOLDER"));
        return 2;
    }
    const QString folder = arguments.front();
    if (!QFileInfo(folder).isDir()) {
        prompts.inform(QStringLiteral("Project folder not found: ") + folder);
        return 1;
    }
    BankImages banks;
    if (!prepareBanksForUpdate(folder, banks, prompts)) {
        return 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(bankFolderOf(folder))));
    return 0;
}
