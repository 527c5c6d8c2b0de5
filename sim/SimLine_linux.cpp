// Reads the host's settings with termios2, which lives in a kernel header that clashes with
// glibc's <termios.h>; hence a file of its own.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include "SimLine.h"

std::optional<HostLine> ReadHostLine(int masterFd) {
    struct termios2 tio {};
    // On the master side of a pseudo-terminal this returns the slave's settings.
    if (::ioctl(masterFd, TCGETS2, &tio) != 0) {
        return std::nullopt;
    }
    HostLine host;
    host.baudRate = tio.c_ospeed;
    host.twoStopBits = (tio.c_cflag & CSTOPB) != 0;
    host.rtsCts = (tio.c_cflag & CRTSCTS) != 0;
    host.xonXoff = (tio.c_iflag & IXON) != 0;
    return host;
}

bool ProgramPtyLine(int fd, const SimLine& line) {
    struct termios2 tio {};
    if (::ioctl(fd, TCGETS2, &tio) != 0) {
        return false;
    }
    tio.c_iflag = 0;
    tio.c_oflag = 0;
    tio.c_lflag = 0;
    tio.c_cflag = CS8 | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    if (line.twoStopBits) {
        tio.c_cflag |= CSTOPB;
    }
    if (line.flowControl == 1) {
        tio.c_cflag |= CRTSCTS;
    }
    if (line.flowControl >= 2) {
        tio.c_iflag |= IXON | IXOFF;
    }
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    tio.c_ispeed = line.baudRate;
    tio.c_ospeed = line.baudRate;
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}
