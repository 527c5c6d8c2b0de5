#pragma once

#include <string>

// The arguments of a connect, derived from the connection page's choices.
struct ConnectParameters {
    std::string portName;
    unsigned baudRate = 0;
    int parity = 0;
    int stopBits = 0;
    int flowControl = 0;
};

// Speed text as a decimal number; framing index 0-1 no parity, 2-3 odd, 4-5 even, odd indexes
// two stop bits; flow index 0, 1, 2 as they are, anything else 3.
ConnectParameters DeriveConnectParameters(const std::string& portText, const std::string& baudText,
                                          int framingIndex, int flowIndex);
