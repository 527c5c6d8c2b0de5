#include "PortDiscovery.h"

#include <algorithm>
#include <cctype>

namespace {

std::string PortKey(std::string name) {
    if (!name.empty() && name.back() == ':') {
        name.pop_back();
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

}  // namespace

bool SamePort(const std::string& a, const std::string& b) {
    return PortKey(a) == PortKey(b);
}

std::vector<std::string> MergePortLists(const std::vector<std::string>& spoolerPorts,
                                        const std::vector<std::string>& devices) {
    std::vector<std::string> merged = spoolerPorts;
    for (const std::string& device : devices) {
        const bool listed = std::any_of(merged.begin(), merged.end(), [&](const std::string& port) {
            return SamePort(port, device);
        });
        if (!listed) {
            merged.push_back(device);
        }
    }
    return merged;
}

bool IsSerialSpoolerPort(const std::string& name) {
#ifdef _WIN32
    return name.size() >= 3 && PortKey(name.substr(0, 3)) == "com";
#else
    return name.rfind("/dev/", 0) == 0;
#endif
}
