#pragma once

#include <array>
#include <cstdint>

// The firmware reserves five configuration banks of 16 KiB; only bank 1, the configuration
// image, is ever filled, banks 2 to 5 stay zero. One object lives for the whole run.
inline constexpr int BankSize = 16384;
inline constexpr int BankCount = 5;

using BankImage = std::array<uint8_t, BankSize>;

struct BankImages {
    std::array<BankImage, BankCount> images{};

    // Bank numbers count from 1.
    BankImage& bank(int number) { return images.at(number - 1); }
    const BankImage& bank(int number) const { return images.at(number - 1); }

    BankImage& ConfigBank() { return images[0]; }
    const BankImage& ConfigBank() const { return images[0]; }
};
