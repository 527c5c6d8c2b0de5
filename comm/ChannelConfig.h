#pragma once

#include <string>

#include "LineKinds.h"

// Which transport a connection uses and how it is set up: the serial port with its line, or a
// TCP connection to host and hostPort.
struct ChannelConfig {
    TransportKind transport = TransportKind::Serial;
    std::string host;
    int hostPort = 0;
    std::string portName;
    unsigned baudRate = 115200;
    Parity parity = Parity::None;
    FlowControl flowControl = FlowControl::None;
    StopBits stopBits = StopBits::One;
};
