#include "SerialTermios_posix.h"

namespace {

tcflag_t DataBitsFlag(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

}  // namespace

void ApplySerialLine(const SerialLineSettings& line, termios& tio) {
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY | INPCK);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    tio.c_cflag |= DataBitsFlag(line.dataBits) | CLOCAL | CREAD;
    if (line.parityEnabled) {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (line.parityOdd) {
            tio.c_cflag |= PARODD;
        }
    }
    if (line.twoStopBits) {
        tio.c_cflag |= CSTOPB;
    }
    if (line.rtsCts) {
        tio.c_cflag |= CRTSCTS;
    } else {
        tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    }
    if (line.xonXoff) {
        tio.c_iflag |= IXON | IXOFF;
    }
    tio.c_cc[VSTART] = line.xonChar;
    tio.c_cc[VSTOP] = line.xoffChar;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}
