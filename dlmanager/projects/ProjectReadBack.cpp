#include "projects/ProjectReadBack.h"

#include "base/FolderLookup.h"
#include "base/Prompts.h"
#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"
#include "loggeddata/WaitingWork.h"
#include "projects/CommandTable.h"
#include "projects/CommandTableSave.h"
#include "projects/ProjectFiles.h"

#include <QDir>
#include <QFileInfo>

namespace ReadBack {

namespace {

bool readWithRetries(Comon& comon, uint16_t start, uint8_t count, uint16_t* words) {
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (comon.ReadRegisters(RegisterMap::LoggerNode, start, count, words) == 1) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool readCommandTable(Comon& comon, WaitingWork& work, CommandList& commands) {
    commands.clear();
    for (int entry = 0; entry < MaxEntries; ++entry) {
        uint16_t words[2] = {};
        const auto start =
            static_cast<uint16_t>(RegisterMap::CommandTableRegister + WordsPerEntry * entry);
        if (!readWithRetries(comon, start, 2, words)) {
            return false;
        }
        const bool ended = words[0] == 0;
        if (!ended) {
            commands.push_back(
                Comandi{words[0], static_cast<uint8_t>(words[1] & 0xFF), QString(), 1, 0, {}});
        }
        work.showProgress(QString::number(commands.size()));
        work.processEvents();
        if (work.abortRequested()) {
            return false;
        }
        if (ended) {
            break;
        }
    }
    return true;
}

std::optional<std::array<uint16_t, 3>> readSerialSettings(Comon& comon) {
    std::array<uint16_t, 3> registers{};
    if (!readWithRetries(comon, RegisterMap::SerialSettingsRegister, 3, registers.data())) {
        return std::nullopt;
    }
    return registers;
}

bool linkAllows(LinkState state, Prompts& prompts) {
    switch (state) {
        case LinkState::Closed:
            prompts.warn(ComonTexts::OpenPortFailed);
            return false;
        case LinkState::Lost:
            prompts.warn(ReadBackTexts::LoggerMissing);
            return false;
        case LinkState::Connecting:
            return false;
        case LinkState::Connected:
            return true;
    }
    return false;
}

void makeTempProjectCurrent(ProgramSettings& settings) {
    const QString folder = pathInFolder(settings.ProjectsFolder, ReadBackTexts::TempProject);
    settings.ProjectFolder = folder;
    settings.ProjectName = QFileInfo(folder).fileName();
    prepareProjectFolder(folder);
}

void prepareProjectFolder(const QString& folder) {
    QDir().mkpath(folder);
    QDir().mkpath(pathInFolder(folder, ReadBackTexts::BinFolder));
}

Outcome readInto(const QString& projectFolder, CommandList& commands, CommandTable& table,
                 Comon& comon, Prompts& prompts, View& view) {
    Outcome outcome;
    outcome.commandsRead = view.readCommandTableWaiting();
    if (outcome.commandsRead) {
        table.fill(commands);
        view.showCommandEditor();
        outcome.commandsSaved = saveCommandTable(table.rows(), projectFolder, commands, prompts);
    } else {
        prompts.warn(ReadBackTexts::CommandListFailed);
    }
    const auto serial = readSerialSettings(comon);
    if (!serial) {
        prompts.warn(ReadBackTexts::SerialSettingsFailed);
        return outcome;
    }
    QString failure;
    const auto result = ProjectFiles::saveReadBackSerialRegisters(
        projectFolder, {(*serial)[0], (*serial)[1], (*serial)[2]}, &failure);
    outcome.serialSettingsSaved = ProjectFiles::savedOrReported(result, failure, prompts);
    return outcome;
}

}  // namespace ReadBack
