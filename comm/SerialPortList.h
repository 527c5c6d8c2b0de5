#pragma once

#include <string>
#include <vector>

// The serial devices the system reports, by the names the serial port opens, sorted.
std::vector<std::string> ListSerialDevices();
