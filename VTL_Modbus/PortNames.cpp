#include "PortNames.h"

#include <cctype>
#include <cstdlib>

namespace {

bool ParseComNumber(const std::string& name, unsigned long& number) {
    if (name.size() < 4 || name.size() > 8) {
        return false;
    }
    for (size_t i = 0; i < 3; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != "com"[i]) {
            return false;
        }
    }
    number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return false;
        }
        number = number * 10 + static_cast<unsigned long>(name[i] - '0');
    }
    return number >= 1;
}

}  // namespace

std::string DevicePathForName(const std::string& name) {
    unsigned long number = 0;
    if (!ParseComNumber(name, number)) {
        return name;
    }
    const std::string variable = "VTL_MODBUS_COM" + std::to_string(number);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') {
        return path;
    }
    return "/dev/ttyS" + std::to_string(number - 1);
}
