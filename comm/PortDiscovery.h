#pragma once

#include <string>
#include <vector>

// Whether two names mean the same port: one trailing ':' ignored, letters compared without case.
bool SamePort(const std::string& a, const std::string& b);
// The spooler's ports first, in their order, then each device that is not one of them. Only a
// name for the same port is dropped; COM10 is not hidden behind COM1:.
std::vector<std::string> MergePortLists(const std::vector<std::string>& spoolerPorts,
                                        const std::vector<std::string>& devices);
// Spooler port names that stand for serial ports: "COM..." in any case on Windows, device
// paths elsewhere.
bool IsSerialSpoolerPort(const std::string& name);
