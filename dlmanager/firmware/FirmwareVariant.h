#pragma once

// The firmware family this program is built for. Variants 2 and 3 carry the configuration in
// banks 1 and 2 and build the bank on "Update Device"; other variants merge all five banks.
inline constexpr int FirmwareVariant = 3;

inline constexpr bool buildsConfigBank(int variant) {
    return variant == 2 || variant == 3;
}
