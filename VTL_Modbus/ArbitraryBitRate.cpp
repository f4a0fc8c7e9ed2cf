#include "ArbitraryBitRate.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

int SetArbitraryBitRate(int fd, uint32_t bitsPerSecond) {
    struct termios2 settings {};
    if (ioctl(fd, TCGETS2, &settings) != 0) {
        return errno;
    }
    settings.c_cflag &= ~CBAUD;
    settings.c_cflag |= BOTHER;
    settings.c_cflag &= ~(CBAUD << IBSHIFT);
    settings.c_cflag |= BOTHER << IBSHIFT;
    settings.c_ispeed = bitsPerSecond;
    settings.c_ospeed = bitsPerSecond;
    if (ioctl(fd, TCSETS2, &settings) != 0) {
        return errno;
    }
    return 0;
}
