#pragma once

#include <optional>
#include <string>

// The simulated datalogger's control socket beside its port: "PORT.control". Nothing when the
// port has none, that is when it is not the simulator.
std::optional<std::string> controlSocketOf(const std::string& portPath);

// Sends one command line and returns the answer line ("OK ..." or "ERROR ..."), or what went
// wrong on the way, starting with "ERROR".
std::string sendControlCommand(const std::string& socketPath, const std::string& command);
