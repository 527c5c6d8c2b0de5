#pragma once

#include <string>
#include <vector>

// The serial devices the system reports, by the names the serial port opens, sorted.
std::vector<std::string> ListSerialDevices();
// The print spooler's serial ports ("COM1:"), in its order; empty where there is no spooler.
std::vector<std::string> ListSpoolerPorts();
