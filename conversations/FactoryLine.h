#pragma once

#include "ChannelConfig.h"
#include "PrinterLine.h"

// The printer's factory line, 115200 bit/s, 8N1, RTS/CTS, as the connection page's list indices:
// the window's choices at a first start, so that a new printer answers without any choosing,
// and the line a factory restore comes back on.
inline constexpr int kFactoryBaudIndex = 0;
inline constexpr int kFactoryFramingIndex = 0;
inline constexpr int kFactoryFlowIndex = 1;
inline constexpr LineChoice kFactoryLine{kFactoryBaudIndex, kFactoryFramingIndex,
                                         kFactoryFlowIndex};

// The same line on the transport of line, which it otherwise keeps (its port or host).
ChannelConfig FactoryLine(ChannelConfig line);
