#include "ProjectArgument.h"
#include "Subcommands.h"
#include "projects/ProjectFiles.h"

#include <cstdio>

// Prints the command list as the program loads it, one line per command.
int runCommands(const QStringList& arguments, CliPrompts& prompts) {
    if (const int status = checkProjectFolderArgument(
            arguments, QStringLiteral("commands PROJECT_FOLDER"), prompts)) {
        return status;
    }
    const CommandList commands = ProjectFiles::loadCommandList(arguments.front());
    std::printf("%-5s %-7s %-6s %-8s %-10s %s\n", "N°", "address", "points", "decimals", "unit",
                "description");
    for (size_t i = 0; i < commands.size(); ++i) {
        const Comandi& command = commands[i];
        std::printf("%-4zu %-7u %-6u %-8u %-10s %s\n", i, command.DataAddress, command.PointCount,
                    command.Decimals, command.Unit.toUtf8().constData(),
                    command.Description.toUtf8().constData());
    }
    return 0;
}
