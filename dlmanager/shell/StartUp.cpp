#include "shell/StartUp.h"

#include "projects/ProjectFiles.h"

StartUpState startUp(const QString& programFolder) {
    StartUpState state;
    state.settings = Settings::prepareFolders(programFolder);
    Settings::readSettings(state.settings);
    state.projectReopened = Settings::reopenLastProject(state.settings);
    if (state.projectReopened) {
        state.commands = ProjectFiles::loadCommandList(state.settings.ProjectFolder);
    }
    return state;
}
