#include "PortStore.h"

PortValues PortValuesOf(const PrinterSettings& settings) {
    PortValues values;
    const int baud = settings.portBaudIndex & 0x0F;
    values.baudIndex = baud > 9 ? 9 : baud;
    values.framingIndex = 0;
    values.flowIndex = (settings.portFlowControl >> 4) & 0x03;
    return values;
}

int StorePort(const PortValues& values, PrinterSettings& settings) {
    const auto baud = static_cast<std::uint8_t>(values.baudIndex);
    const auto framing = static_cast<std::uint8_t>(values.framingIndex);
    const auto flow = static_cast<std::uint8_t>(values.flowIndex << 4);
    const bool changed = baud != settings.portBaudIndex || framing != settings.portFraming ||
                         flow != settings.portFlowControl;
    settings.portBaudIndex = baud;
    settings.portFraming = framing;
    settings.portFlowControl = flow;
    return changed ? 0x01 : 0;
}
