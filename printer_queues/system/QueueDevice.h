#pragma once

#include <string>

// The port a CUPS queue prints to, from its device URI: the serial backend's device
// ("serial:/dev/ttyS0?baud=115200") with links resolved, so that it compares exactly with the
// port a program holds. Any other URI is its own port and never names a serial device.
std::string QueueDevicePort(const std::string& deviceUri);
