#include "PortName.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

std::string DropTrailingColon(std::string name) {
    if (!name.empty() && name.back() == ':') {
        name.pop_back();
    }
    return name;
}

}  // namespace

std::string NormaliseWindowsPortName(std::string name) {
    name = DropTrailingColon(std::move(name));
    if (name.size() >= 5) {
        name.insert(0, "\\\\.\\");
    }
    return name;
}

std::string NormalisePosixPortName(std::string name) {
    return DropTrailingColon(std::move(name));
}

std::string NormalisePortName(std::string name) {
#ifdef _WIN32
    return NormaliseWindowsPortName(std::move(name));
#else
    return NormalisePosixPortName(std::move(name));
#endif
}

std::string WindowsQueuePortName(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper.empty() || upper.back() != ':') {
        upper.push_back(':');
    }
    return upper;
}

std::string PosixQueuePortName(const std::string& name) {
    const std::string path = DropTrailingColon(name);
    std::error_code error;
    const auto resolved = std::filesystem::canonical(path, error);
    return error ? path : resolved.string();
}

std::string QueuePortName(const std::string& name) {
#ifdef _WIN32
    return WindowsQueuePortName(name);
#else
    return PosixQueuePortName(name);
#endif
}
