#include "CliPrompts.h"
#include "Subcommands.h"
#include "base/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

namespace {

struct Subcommand {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& arguments, CliPrompts& prompts);
};

const Subcommand subcommands[] = {
    {"commands", "commands PROJECT_FOLDER   print the project's command list", runCommands},
    {"bank", "bank PROJECT_FOLDER       write the bank files and bankg.c", runBank},
    {"merge", "merge PROJECT_FOLDER [--base FILE]   merge the banks into the firmware", runMerge},
    {"status", "status --port N            the logger's clock and run state", runStatus},
    {"run", "run --port N               start logging", runRun},
    {"stop", "stop --port N              stop logging", runStop},
    {"clock", "clock [set] --port N [now | DD MM YY hh mm ss]   read or set the logger's clock",
     runClock},
    {"readback", "readback --port N [--into DIR]   read the project back from the logger on ComN",
     runReadBack},
    {"check", "check PROJECT_FOLDER      check cmdmb.xml as the command editor does", runCheck},
    {"download",
     "download --port N --project DIR --out FILE.xml|FILE.csv|- [--format xml|csv] [--all]\n"
     "                            [--iso] [--image FILE]\n"
     "                            download the memory of the logger on ComN and decode it",
     runDownload},
    {"decode",
     "decode IMAGE --project DIR --out FILE.xml|FILE.csv|- [--format xml|csv] [--iso]\n"
     "                            decode a memory image file",
     runDecode},
    {"export",
     "export DATA.xml --project DIR --csv OUT.csv|- [--base dec|hex|bin] [--iso]\n"
     "                            export a data file as CSV",
     runExport},
    {"erase", "erase --port N            erase the memory of the logger on ComN", runErase},
};

void printUsage(FILE* stream) {
    std::fprintf(stream, "usage: dlmcli SUBCOMMAND ARGUMENTS...\n");
    for (const Subcommand& subcommand : subcommands) {
        std::fprintf(stream, "  dlmcli %s\n", subcommand.usage);
    }
    std::fprintf(stream, "  dlmcli --help | --version\n");
}

int usage() {
    printUsage(stderr);
    return 2;
}

// The version, and the program folder the subcommands use for MASTER and PROJECTS.
int version() {
    std::printf(
        "dlmcli %s\nprogram folder: %s\n", DLM_VERSION,
        qPrintable(QDir::toNativeSeparators(ProgramFolders::placesOfThisProgram().programFolder)));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty()) {
        return usage();
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return 0;
    }
    if (name == QLatin1String("--version")) {
        return version();
    }
    for (const Subcommand& subcommand : subcommands) {
        if (name == QLatin1String(subcommand.name)) {
            CliPrompts prompts;
            return subcommand.run(arguments, prompts);
        }
    }
    return usage();
}
