#pragma once

#include "PrinterSettings.h"

// The font page's controls as values.
struct FontValues {
    int heightIndex = 0;  // 0 low, 1 normal, 2 double, 3 quadruple; -1 nothing chosen
    int widthIndex = 0;   // 0 narrow, 1 normal, 2 double, 3 quadruple; -1 nothing chosen
    bool bold = false;
    bool underline = false;
    bool negative = false;
};

FontValues FontValuesOf(std::uint8_t fontMode);
// Builds the byte from nothing, so bit 1 (not shown on the page) is cleared. Returns the mask.
int StoreFont(const FontValues& values, PrinterSettings& settings);
