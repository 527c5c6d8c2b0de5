#pragma once

#include <vector>

#include "FlowCharacters.h"
#include "PrinterSettings.h"

// The printing page's controls as values.
struct PrintingValues {
    int contrast = 0;  // trackbar position 0 to 255
    int speed = 0;     // trackbar position 0 to 255
    int dots = 0;      // the chosen list item read as a number: 32, 64, 96 or 128
};

// The list item a dots count shows: 32, 64, 96, anything else 128.
int DotsItemIndex(std::uint8_t dotsCount);
// Stores the values that differ; 17 and 19 (XON and XOFF) become 18 and 20. Returns the mask.
int StorePrinting(const PrintingValues& values, PrinterSettings& settings);
// The values that store moves off 17 or 19, as the window tells the user about them.
std::vector<FlowCharacterChange> PrintingFlowChanges(const PrintingValues& values);
