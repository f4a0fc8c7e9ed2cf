#include "ProgrammerRequest.h"

#include "PortNames.h"

std::optional<ProgrammerRequest> parseProgrammerArgument(const std::string& argument) {
    const size_t mark = argument.rfind('\xB6');
    if (mark == std::string::npos || mark < 3 || argument.front() != '"' ||
        argument[mark - 1] != '"') {
        return std::nullopt;
    }
    const std::string digits = argument.substr(mark + 1);
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return ProgrammerRequest{argument.substr(1, mark - 2), std::stoi(digits)};
}

std::string portName(int portIndex) {
    return "Com" + std::to_string(portIndex + 1);
}

std::string portPath(int portIndex) {
    return DevicePathForName(portName(portIndex));
}
