#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Datalogger;

// Setting the flash up for a test: a crafted image served from a file.
namespace FlashControl {

// A whole image as --dump-image writes it: 540,672 words, low byte first.
bool readImage(const std::string& path, std::vector<uint16_t>& words, std::string& error);

// The control socket's "flash FILE", which serves the image; nothing for other commands.
std::optional<std::string> command(Datalogger& logger, const std::string& verb,
                                   const std::string& argument);

}  // namespace FlashControl
