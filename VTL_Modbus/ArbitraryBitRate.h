#pragma once

#include <cstdint>

// Sets a bit rate outside the POSIX speed table through the kernel's termios2 interface.
// Kept in its own unit because <asm/termbits.h> and <termios.h> cannot share one.
// Returns 0 or the errno of the failed call.
int SetArbitraryBitRate(int fd, uint32_t bitsPerSecond);
