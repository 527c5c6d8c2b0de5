#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "OptionFrame.h"
#include "PrinterSettings.h"

// What a save writes: the record with the wanted values, which option bits of each group
// changed, and the fields a read-back checks (none: no read-back).
struct SettingsWrite {
    PrinterSettings record{};
    std::array<int, kGroupPrinterPort + 1> masks{};
    std::vector<std::size_t> checkedFields;
};
