#pragma once

#include "PrinterSettings.h"

// The printer port page's lists as indexes.
struct PortValues {
    int baudIndex = 0;     // 0 = 115200 ... 9 = 1200
    int framingIndex = 0;  // always the first item: the box is disabled
    int flowIndex = 0;     // 0 None, 1 RTS/CTS, 2 Xon/Xoff, 3 both
};

// What the page shows for a record.
PortValues PortValuesOf(const PrinterSettings& settings);
// Stores the three bytes; any difference gives mask 0x01 (one command carries all three).
int StorePort(const PortValues& values, PrinterSettings& settings);
