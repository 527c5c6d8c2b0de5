#include <linux/serial.h>
#include <sys/ioctl.h>

#include "SerialLowLatency.h"

void RequestLowLatency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) {
        return;
    }
    serial.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &serial);
}
