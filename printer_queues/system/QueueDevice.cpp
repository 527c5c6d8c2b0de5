#include "QueueDevice.h"

#include "PortName.h"

std::string QueueDevicePort(const std::string& deviceUri) {
    constexpr std::string_view kSerial = "serial:";
    if (deviceUri.rfind(kSerial, 0) != 0) {
        return deviceUri;
    }
    std::string path = deviceUri.substr(kSerial.size(), deviceUri.find('?') - kSerial.size());
    // "serial:///dev/ttyS0" names the same device as "serial:/dev/ttyS0".
    while (path.rfind("//", 0) == 0) {
        path.erase(0, 1);
    }
    return PosixQueuePortName(path);
}
