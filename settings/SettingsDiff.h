#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "PrinterSettings.h"

// A table of the fields, among those named, whose bytes differ: the field, then the printer's
// and the file's byte, each with the meaning that tells them apart. Empty when none differ.
std::string SettingsDifferences(const PrinterSettings& printer, const PrinterSettings& file,
                                const std::vector<std::size_t>& fields);
