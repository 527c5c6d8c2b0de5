#pragma once

#include <string>

#include "PrinterSettings.h"

// The text positioning page's list and fields. The list is left, right, centre, so the
// alignment byte is the item index plus 1.
struct TextPositionValues {
    int alignmentIndex = 0;  // -1 nothing chosen
    std::string leftIndent;
    std::string fieldWidth;
    std::string tabulation;
};

TextPositionValues TextPositionValuesOf(const PrinterSettings& settings);
int StoreTextPosition(const TextPositionValues& values, PrinterSettings& settings);
