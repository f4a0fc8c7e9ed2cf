#pragma once

#include <QStringList>

class CliPrompts;

// One function per subcommand: arguments after the subcommand's name; the process exit status.
int runCommands(const QStringList& arguments, CliPrompts& prompts);
int runBank(const QStringList& arguments, CliPrompts& prompts);
int runMerge(const QStringList& arguments, CliPrompts& prompts);
int runStatus(const QStringList& arguments, CliPrompts& prompts);
int runRun(const QStringList& arguments, CliPrompts& prompts);
int runStop(const QStringList& arguments, CliPrompts& prompts);
int runClock(const QStringList& arguments, CliPrompts& prompts);
int runReadBack(const QStringList& arguments, CliPrompts& prompts);
int runCheck(const QStringList& arguments, CliPrompts& prompts);
int runDownload(const QStringList& arguments, CliPrompts& prompts);
int runDecode(const QStringList& arguments, CliPrompts& prompts);
int runExport(const QStringList& arguments, CliPrompts& prompts);
int runErase(const QStringList& arguments, CliPrompts& prompts);
