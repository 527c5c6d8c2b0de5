#pragma once

#include <cstdint>
#include <vector>

#include "PrinterSettings.h"

// The test receipt the window prints and previews: the built-in sample in the interface's
// language, with the record's settings and the date of now.
std::vector<std::uint8_t> WindowTestPrint(const PrinterSettings& record);
