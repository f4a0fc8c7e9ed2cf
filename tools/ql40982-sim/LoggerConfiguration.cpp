#include "LoggerConfiguration.h"

#include <sstream>

LoggerConfiguration demoConfiguration() {
    LoggerConfiguration configuration;
    configuration.commands = {{100, 2}, {200, 4}, {40001, 1}, {300, 3}};
    return configuration;
}

std::optional<LoggerConfiguration> withSerialText(LoggerConfiguration base,
                                                  const std::string& text) {
    std::istringstream in(text);
    unsigned long values[3];
    char separator = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && (!(in >> separator) || separator != ',')) {
            return std::nullopt;
        }
        if (!(in >> values[i]) || values[i] > 0xFFFF) {
            return std::nullopt;
        }
    }
    if (in >> separator) {
        return std::nullopt;
    }
    base.timeout = static_cast<uint16_t>(values[0]);
    base.baudCode = static_cast<uint16_t>(values[1]);
    base.parityCode = static_cast<uint16_t>(values[2]);
    return base;
}
