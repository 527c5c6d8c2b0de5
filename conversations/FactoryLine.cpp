#include "FactoryLine.h"

#include "LineItems.h"

ChannelConfig FactoryLine(ChannelConfig line) {
    line.baudRate = kPrinterPortSpeeds[kFactoryBaudIndex];
    line.parity = kFactoryFramingIndex / 2;
    line.stopBits = kFactoryFramingIndex % 2 == 1 ? 2 : 0;
    line.flowControl = kFactoryFlowIndex;
    return line;
}
