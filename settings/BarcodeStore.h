#pragma once

#include <string>

#include "PrinterSettings.h"

// The barcode page's fields as typed, and its check box.
struct BarcodeValues {
    std::string height;
    std::string width;
    std::string aboveBelow;  // white field above and below, lines
    std::string leftRight;   // white field left and right, mm
    std::string leftIndent;
    bool readable = false;
};

// The readable-characters byte a checked box stores and sends. The page shows the box from
// bit 2, so 4 is what makes a saved setting read back as it was saved.
inline constexpr std::uint8_t kBarcodeHriOn = 0x04;

BarcodeValues BarcodeValuesOf(const PrinterSettings& settings);
int StoreBarcode(const BarcodeValues& values, PrinterSettings& settings);
