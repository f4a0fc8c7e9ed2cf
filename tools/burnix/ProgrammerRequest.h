#pragma once

#include <optional>
#include <string>

// What the update wizard asks for, in its one argument: a double quote, the firmware's path, a
// double quote, the byte 0xB6 and the port index (0 is Com1).
struct ProgrammerRequest {
    std::string firmware;
    int portIndex = 0;
};

std::optional<ProgrammerRequest> parseProgrammerArgument(const std::string& argument);

// "ComN" for the port index, resolved to a device path as the Modbus library does.
std::string portName(int portIndex);
std::string portPath(int portIndex);
