#include "ConnectParameters.h"

#include <cstdlib>

#include "PrinterLine.h"

ConnectParameters DeriveConnectParameters(const std::string& portText, const std::string& baudText,
                                          int framingIndex, int flowIndex) {
    ConnectParameters parameters;
    parameters.portName = portText;
    parameters.baudRate = static_cast<unsigned>(std::strtoul(baudText.c_str(), nullptr, 10));
    parameters.parity = ParityAt(framingIndex);
    parameters.stopBits = StopBitsAt(framingIndex);
    parameters.flowControl = FlowAt(flowIndex);
    return parameters;
}
