#include "ProjectConfiguration.h"

#include "projects/ProjectFiles.h"

#include <QDir>
#include <QString>

std::optional<LoggerConfiguration> configurationFromProject(const std::string& folder,
                                                            LoggerConfiguration base) {
    const QString path = QString::fromStdString(folder);
    if (!QDir(path).exists()) {
        return std::nullopt;
    }
    base.commands.clear();
    for (const Comandi& command : ProjectFiles::loadCommandList(path)) {
        base.commands.push_back({command.DataAddress, command.PointCount});
    }
    if (const auto serial = ProjectFiles::loadSerialParameters(path)) {
        base.baudCode = static_cast<uint16_t>(serial->baudCode);
        base.parityCode = static_cast<uint16_t>(serial->parityCode);
    }
    if (const auto options = ProjectFiles::loadStartStopOptions(path)) {
        base.cyclicalMemory = options->cyclicalMemory.value_or(false);
    }
    return base;
}
