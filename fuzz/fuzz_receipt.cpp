// Arbitrary bytes to print under an arbitrary settings record: the renderer never crashes or
// hangs, and the paper stays the head's width and no longer than the longest receipt. The
// first 19 bytes are the record.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "PaperFigures.h"
#include "ReceiptRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < PrinterSettings::kSize) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data, size);
    const auto record = PrinterSettings::FromBytes(bytes.first<PrinterSettings::kSize>());
    const Raster raster = RenderReceipt(bytes.subspan(PrinterSettings::kSize), record);
    if (raster.Width() != paper::kHeadDots || raster.Height() < 0 ||
        raster.Height() > paper::kMaxReceiptDots) {
        std::abort();
    }
    return 0;
}
