#pragma once

#include "projects/Comandi.h"
#include "projects/CommandRowTexts.h"

#include <QStringList>

class Prompts;

namespace CommandEditorTexts {
inline const QString SelectProject = QStringLiteral("Please select one project");
}  // namespace CommandEditorTexts

// The message of every row that a save would write (its "Address Word" is not empty) with a
// cell out of range or not a number: one per row, for its first failing cell, with the row's
// position counted from 1. `firstOnly` stops at the first.
QStringList commandRowProblems(const CommandRows& rows, bool firstOnly = false);

// Saves the editor's rows: every row with an "Address Word" is checked before anything changes;
// then cmdmb.xml is written with the texts as typed and `commands` rebuilt from those rows, in
// order, without gaps. On any failure the message is shown and neither the file nor `commands`
// changes. True when saved.
bool saveCommandTable(const CommandRows& rows, const QString& projectFolder, CommandList& commands,
                      Prompts& prompts);
