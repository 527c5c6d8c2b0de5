#include "StationName.h"

#include <windows.h>

std::string StationName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = sizeof name;
    return ::GetComputerNameA(name, &length) ? std::string(name, length) : std::string();
}
