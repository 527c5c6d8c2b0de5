#pragma once

#include "ChannelConfig.h"
#include "PrinterSettings.h"

// A line of the printer's port as its record and the line lists code it: the lists' indices.
struct LineChoice {
    int baudIndex = 0;     // 0 = 115200 ... 9 = 1200
    int framingIndex = 0;  // 0-1 no parity, 2-3 odd, 4-5 even; odd indices two stop bits
    int flowIndex = 0;     // 0 None, 1 RTS/CTS, 2 Xon/Xoff, 3 both
};

// The line the printer's port takes once the record is stored.
LineChoice PrinterLineOf(const PrinterSettings& record);

// The same line on the transport of base, which it otherwise keeps (its port or host).
ChannelConfig LineAt(ChannelConfig base, const LineChoice& choice);

// The one place where the lists' indices become the line's kinds and back. An index off the
// list (-1 for a list with nothing selected) is no parity and one stop bit, and flow control
// both, as the connection page has always connected with it.
Parity ParityAt(int framingIndex);
StopBits StopBitsAt(int framingIndex);
FlowControl FlowAt(int flowIndex);
int FramingIndexOf(Parity parity, StopBits stopBits);
int FlowIndexOf(FlowControl flow);
