#include "PrinterLine.h"

#include "LineItems.h"
#include "PortStore.h"

LineChoice PrinterLineOf(const PrinterSettings& record) {
    const PortValues port = PortValuesOf(record);
    const int framing = record.portFraming <= 5 ? record.portFraming : 0;
    return {port.baudIndex, framing, port.flowIndex};
}

ChannelConfig LineAt(ChannelConfig base, const LineChoice& choice) {
    base.baudRate = kPrinterPortSpeeds[static_cast<std::size_t>(choice.baudIndex)];
    base.parity = choice.framingIndex / 2;
    base.stopBits = choice.framingIndex % 2 == 1 ? 2 : 0;
    base.flowControl = choice.flowIndex;
    return base;
}
