#pragma once

#include "LoggerConfiguration.h"

#include <optional>
#include <string>

// The configuration a project would put into the device: the command table of its cmdmb.xml
// and, when its pargen.xml reads, the baud rate and parity codes. Nothing when the folder
// does not exist.
std::optional<LoggerConfiguration> configurationFromProject(const std::string& folder,
                                                            LoggerConfiguration base);
