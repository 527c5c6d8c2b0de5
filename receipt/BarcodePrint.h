#pragma once

#include <cstdint>
#include <span>

#include "PrintState.h"
#include "Raster.h"

// Prints a barcode block below what the raster holds: the white field above, the readable
// characters above, the bars, the readable characters below, the white field below. The bars
// start at the barcode's own left indent plus the side white field. Data the symbology
// refuses (a letter in an EAN, a wrong length) prints nothing, as an unknown symbology does.
void PrintBarcode(std::uint8_t symbology, std::span<const std::uint8_t> data,
                  const PrintState& state, Raster& raster);
