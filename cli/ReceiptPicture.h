#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "PrinterSettings.h"

// Draws what the printer would print for the bytes, with the record's settings, as a PNG file.
// False with the reason when it cannot: the file cannot be written, or this build draws no
// receipts.
bool WriteReceiptPicture(std::span<const std::uint8_t> bytes, const PrinterSettings& record,
                         const std::string& path, std::string& error);
