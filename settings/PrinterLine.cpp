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
    base.parity = ParityAt(choice.framingIndex);
    base.stopBits = StopBitsAt(choice.framingIndex);
    base.flowControl = FlowAt(choice.flowIndex);
    return base;
}

Parity ParityAt(int framingIndex) {
    if (framingIndex >= 4) {
        return Parity::Even;
    }
    return framingIndex >= 2 ? Parity::Odd : Parity::None;
}

StopBits StopBitsAt(int framingIndex) {
    return framingIndex % 2 == 1 ? StopBits::Two : StopBits::One;
}

FlowControl FlowAt(int flowIndex) {
    switch (flowIndex) {
        case 0:
            return FlowControl::None;
        case 1:
            return FlowControl::RtsCts;
        case 2:
            return FlowControl::XonXoff;
        default:
            return FlowControl::Both;
    }
}

int FramingIndexOf(Parity parity, StopBits stopBits) {
    return static_cast<int>(parity) * 2 + (stopBits == StopBits::Two ? 1 : 0);
}

int FlowIndexOf(FlowControl flow) {
    return static_cast<int>(flow);
}
