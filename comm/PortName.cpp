#include "PortName.h"

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
