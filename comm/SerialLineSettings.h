#pragma once

#include <optional>

// What the caller of the serial port chooses, in the codes of the connection page.
struct SerialLineRequest {
    unsigned baudRate = 115200;
    int parity = 0;        // 0 none, 1 odd, 2 even
    int byteSizeCode = 4;  // data bits minus 4
    int stopBits = 0;      // 0 one stop bit, 2 two
    int flowControl = 0;   // 0 none, 1 RTS/CTS, 2 Xon/Xoff, 3 RTS/CTS+Xon/Xoff
};

// What the operating system is told, independent of its own structures.
struct SerialLineSettings {
    unsigned baudRate = 0;
    int dataBits = 8;
    bool parityEnabled = false;
    bool parityOdd = false;
    bool twoStopBits = false;
    // Hardware handshake; empty for an unknown flow-control code, which keeps the driver's.
    std::optional<bool> rtsCts;
    bool xonXoff = false;
    unsigned char xonChar = 0x11;
    unsigned char xoffChar = 0x13;

    bool operator==(const SerialLineSettings&) const = default;
};

SerialLineSettings MapSerialLine(const SerialLineRequest& request);
