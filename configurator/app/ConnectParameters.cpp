#include "ConnectParameters.h"

#include <cstdlib>

ConnectParameters DeriveConnectParameters(const std::string& portText, const std::string& baudText,
                                          int framingIndex, int flowIndex) {
    ConnectParameters parameters;
    parameters.portName = portText;
    parameters.baudRate = static_cast<unsigned>(std::strtoul(baudText.c_str(), nullptr, 10));
    parameters.parity = framingIndex >= 4 ? 2 : framingIndex >= 2 ? 1 : 0;
    parameters.stopBits = framingIndex % 2 == 1 ? 2 : 0;
    parameters.flowControl = flowIndex >= 0 && flowIndex <= 2 ? flowIndex : 3;
    return parameters;
}
