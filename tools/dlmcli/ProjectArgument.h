#pragma once

#include <QStringList>

class CliPrompts;

// Checks that the arguments are exactly one existing project folder. Returns 0 when they are,
// else the exit status (2 wrong usage, 1 no such folder) after telling the user why.
int checkProjectFolderArgument(const QStringList& arguments, const QString& usage,
                               CliPrompts& prompts);
