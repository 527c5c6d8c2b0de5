#include "StationName.h"

#include <unistd.h>

#include <array>

std::string StationName() {
    std::array<char, 256> name{};
    return ::gethostname(name.data(), name.size() - 1) == 0 ? std::string(name.data())
                                                            : std::string();
}
