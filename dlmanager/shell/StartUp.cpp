#include "shell/StartUp.h"

#include "projects/ProjectFiles.h"

StartUpState startUp(const ProgramPlaces& places) {
    ProgramFolders::furnish(places);
    StartUpState state;
    state.settings = Settings::prepareFolders(places);
    Settings::readSettings(state.settings);
    state.projectReopened = Settings::reopenLastProject(state.settings);
    if (state.projectReopened) {
        state.commands = ProjectFiles::loadCommandList(state.settings.ProjectFolder);
    }
    return state;
}
