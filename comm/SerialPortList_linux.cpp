#include <algorithm>
#include <filesystem>
#include <fstream>

#include "SerialPortList.h"

namespace {

namespace fs = std::filesystem;

// The 8250 driver registers ttyS ports whether or not a UART answers; such a port reports
// type 0 (unknown) and cannot carry a printer.
bool HasHardware(const fs::path& ttyClassEntry) {
    const std::string name = ttyClassEntry.filename().string();
    if (name.rfind("ttyS", 0) != 0) {
        return true;
    }
    std::ifstream type(ttyClassEntry / "type");
    int value = 0;
    return (type >> value) && value != 0;
}

}  // namespace

std::vector<std::string> ListSerialDevices() {
    std::vector<std::string> devices;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/sys/class/tty", error)) {
        if (fs::exists(entry.path() / "device", error) && HasHardware(entry.path())) {
            devices.push_back("/dev/" + entry.path().filename().string());
        }
    }
    std::sort(devices.begin(), devices.end());
    return devices;
}

// Printer queues name their devices themselves; there is no separate list of spooler ports.
std::vector<std::string> ListSpoolerPorts() {
    return {};
}
