#include "CliPrompts.h"
#include "ProjectArgument.h"
#include "Subcommands.h"
#include "firmware/BankOutputs.h"
#include "firmware/BankSlots.h"

#include <QDir>
#include <cstdio>

// Builds the configuration bank from the project files and writes bank1.bin ... bank5.bin and
// bankg.c into the project's bin folder, as "Update Device" does before the wizard opens.
int runBank(const QStringList& arguments, CliPrompts& prompts) {
    if (const int status =
            checkProjectFolderArgument(arguments, QStringLiteral("bank PROJECT_FOLDER"), prompts)) {
        return status;
    }
    const QString folder = arguments.front();
    BankImages banks;
    if (!prepareBanksForUpdate(folder, banks, prompts)) {
        return 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(bankFolderOf(folder))));
    return 0;
}
