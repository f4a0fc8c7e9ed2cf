#include "CliProgramFolder.h"

#include "base/ProgramFolders.h"

ProgramSettings preparedProgramFolders() {
    const ProgramPlaces places = ProgramFolders::placesOfThisProgram();
    ProgramFolders::furnish(places);
    return Settings::prepareFolders(places);
}
