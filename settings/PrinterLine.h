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
