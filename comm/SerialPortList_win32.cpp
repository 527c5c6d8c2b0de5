#include <windows.h>
#include <winspool.h>

#include <algorithm>

#include "PortDiscovery.h"
#include "SerialPortList.h"

namespace {

constexpr DWORD kRegistryTextSize = 256;

}  // namespace

// The device map holds one value per serial device the drivers created; its data is the name.
std::vector<std::string> ListSerialDevices() {
    std::vector<std::string> devices;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return devices;
    }
    for (DWORD index = 0;; ++index) {
        char name[kRegistryTextSize];
        char data[kRegistryTextSize];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        if (::RegEnumValueA(key, index, name, &nameSize, nullptr, &type,
                            reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS) {
            break;
        }
        if (type == REG_SZ && dataSize > 0) {
            data[dataSize] = '\0';
            devices.emplace_back(data);
        }
    }
    ::RegCloseKey(key);
    std::sort(devices.begin(), devices.end());
    return devices;
}

std::vector<std::string> ListSpoolerPorts() {
    std::vector<std::string> ports;
    DWORD needed = 0;
    DWORD count = 0;
    ::EnumPortsA(nullptr, 2, nullptr, 0, &needed, &count);
    if (needed == 0) {
        return ports;
    }
    std::vector<BYTE> buffer(needed);
    if (!::EnumPortsA(nullptr, 2, buffer.data(), needed, &needed, &count)) {
        return ports;
    }
    const auto* info = reinterpret_cast<const PORT_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        if (info[i].pPortName != nullptr && IsSerialSpoolerPort(info[i].pPortName)) {
            ports.emplace_back(info[i].pPortName);
        }
    }
    return ports;
}
