#pragma once

#include <string>

#include "LineKinds.h"

// The arguments of a connect, derived from the connection page's choices.
struct ConnectParameters {
    std::string portName;
    unsigned baudRate = 0;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    FlowControl flowControl = FlowControl::None;
};

// Speed text as a decimal number; the framing and flow indices as settings/PrinterLine reads
// them, an unselected list (-1) included.
ConnectParameters DeriveConnectParameters(const std::string& portText, const std::string& baudText,
                                          int framingIndex, int flowIndex);
