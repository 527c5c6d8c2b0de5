// termios2 lives in the kernel's <asm/termbits.h>, whose struct termios clashes with glibc's
// <termios.h>; this file therefore includes only the kernel header.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include "SerialSpeed.h"

unsigned SetSerialSpeed(int fd, unsigned baudRate) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return 0;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = baudRate;
    tio.c_ospeed = baudRate;
    if (::ioctl(fd, TCSETS2, &tio) != 0) {
        return 0;
    }
    return ReadSerialSpeed(fd);
}

unsigned ReadSerialSpeed(int fd) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return 0;
    }
    return tio.c_ospeed;
}
