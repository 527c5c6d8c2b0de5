#pragma once

#include "PrinterSettings.h"

// The record of a printer out of the box (what a factory restore brings back): 115200 bit/s,
// 8N1, RTS/CTS, normal font, left aligned, the whole 48 mm field. What the tools show and
// print with when no printer has been read.
inline constexpr PrinterSettings kFactorySettings{8,    64, 6,  0x50, 8, 0, 1, 0, 80,  3,
                                                  0x12, 0,  48, 0,    0, 0, 0, 0, 0x10};
