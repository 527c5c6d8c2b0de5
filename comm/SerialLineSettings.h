#pragma once

#include "LineKinds.h"

// What the caller of the serial port chooses; always eight data bits.
struct SerialLineRequest {
    unsigned baudRate = 115200;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    FlowControl flowControl = FlowControl::None;
};

// What the operating system is told, independent of its own structures.
struct SerialLineSettings {
    unsigned baudRate = 0;
    int dataBits = 8;
    bool parityEnabled = false;
    bool parityOdd = false;
    bool twoStopBits = false;
    bool rtsCts = false;  // hardware handshake
    bool xonXoff = false;
    unsigned char xonChar = 0x11;
    unsigned char xoffChar = 0x13;

    bool operator==(const SerialLineSettings&) const = default;
};

SerialLineSettings MapSerialLine(const SerialLineRequest& request);
