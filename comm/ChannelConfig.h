#pragma once

#include <string>

inline constexpr const char* kSerialInterfaceName = "RS-232";

// Which transport a connection uses and how it is set up: the serial port for "RS-232",
// a TCP connection to host and hostPort for any other interface name.
struct ChannelConfig {
    std::string interfaceName = kSerialInterfaceName;
    std::string host;
    int hostPort = 0;
    std::string portName;
    unsigned baudRate = 115200;
    int parity = 0;
    int flowControl = 0;
    int stopBits = 0;
};
