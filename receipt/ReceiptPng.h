#pragma once

#include <cstdint>
#include <string>

#include "Raster.h"

// The grey of the ink on a picture of the paper: light grey at contrast 0, black at 255.
std::uint8_t InkGrey(std::uint8_t contrast);

// Writes the receipt as a 1-bit PNG the width of the paper, the head's dots in its middle.
// The contrast (0 to 255) only tints the ink, from light grey to black: the raster is the same.
// Returns false with the reason in `error` when the file cannot be written.
bool WriteReceiptPng(const Raster& raster, std::uint8_t contrast, const std::string& path,
                     std::string& error);
