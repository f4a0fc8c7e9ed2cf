#pragma once

#include "base/ProgramSettings.h"

// The folders dlmanager uses on this machine, for the subcommands that need MASTER or PROJECTS:
// the per-user program folder of an installed program is made and furnished as at its start.
ProgramSettings preparedProgramFolders();
