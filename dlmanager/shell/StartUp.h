#pragma once

#include "base/ProgramSettings.h"
#include "projects/Comandi.h"

// What the main window's creation step works out before any other window exists.
struct StartUpState {
    ProgramSettings settings;
    CommandList commands;
    bool projectReopened = false;  // the title then names settings.ProjectName
};

// Sets the folders (making a per-user program folder from the shipped files, creating MASTER and
// PROJECTS), reads the settings file and reopens the last project, loading its command list,
// when its folder still exists.
StartUpState startUp(const ProgramPlaces& places);
