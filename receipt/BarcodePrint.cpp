#include "BarcodePrint.h"

#include <zint.h>

#include <memory>
#include <string>

#include "Cell.h"
#include "CommandTable.h"
#include "Cp1251.h"
#include "PaperFigures.h"

namespace {

int ZintSymbology(std::uint8_t m) {
    switch (m) {
        case kBarcodeUpcA:
            return BARCODE_UPCA;
        case kBarcodeUpcE:
            return BARCODE_UPCE;
        case kBarcodeEan13:
            return BARCODE_EANX;  // EAN-13
        case kBarcodeEan8:
            return BARCODE_EANX;  // EAN-8: the length tells them apart
        case kBarcodeCode39:
            return BARCODE_CODE39;
        case kBarcodeItf:
            return BARCODE_C25INTER;
        case kBarcodeCodabar:
            return BARCODE_CODABAR;
        case kBarcodeCode93:
            return BARCODE_CODE93;
        case kBarcodeCode128:
            return BARCODE_CODE128;
        default:
            return 0;
    }
}

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// CODE128 data in ESC/POS names its code set first ("{B..."); Zint picks code sets itself.
std::span<const std::uint8_t> WithoutCodeSet(int symbology, std::span<const std::uint8_t> data) {
    if (symbology == BARCODE_CODE128 && data.size() >= 2 && data[0] == '{' && data[1] >= 'A' &&
        data[1] <= 'C') {
        return data.subspan(2);
    }
    return data;
}

bool ModuleIsDark(const zint_symbol& symbol, int column) {
    return ((symbol.encoded_data[0][column >> 3] >> (column & 7)) & 1) != 0;
}

// The readable characters in the normal font, centred on the bars.
void PrintHri(const std::string& text, int centre, Raster& raster) {
    PrintState plain;
    const int top = raster.Height();
    raster.AddRows(plain.charHeight + paper::kLineGapDots);
    int x = centre - static_cast<int>(text.size()) * plain.charWidth / 2;
    for (const char c : text) {
        const Cell cell = CharacterCell(static_cast<std::uint8_t>(c), plain);
        for (int y = 0; y < cell.height; ++y) {
            for (int cx = 0; cx < cell.width; ++cx) {
                if (cell.Ink(cx, y)) {
                    raster.SetInk(x + cx, top + y, true);
                }
            }
        }
        x += cell.width;
    }
}

}  // namespace

void PrintBarcode(std::uint8_t symbology, std::span<const std::uint8_t> data,
                  const PrintState& state, Raster& raster) {
    const int zintSymbology = ZintSymbology(symbology);
    if (zintSymbology == 0) {
        return;
    }
    data = WithoutCodeSet(zintSymbology, data);
    Symbol symbol(ZBarcode_Create());
    if (!symbol || data.empty()) {
        return;
    }
    symbol->symbology = zintSymbology;
    if (ZBarcode_Encode(symbol.get(), data.data(), static_cast<int>(data.size())) >= ZINT_ERROR) {
        return;
    }
    const int module = state.barcodeModule;
    const int left = paper::DotsOfMm(state.barcodeLeftIndentMm + (state.barcodeQuietZone & 0x07));
    const int centre = left + symbol->width * module / 2;
    const std::string hri = Utf8ToCp1251(reinterpret_cast<const char*>(symbol->text));
    raster.AddRows(state.barcodeQuietZone >> 3);
    if (HriAbove(state.barcodeHri)) {
        PrintHri(hri, centre, raster);
    }
    const int top = raster.Height();
    raster.AddRows(state.barcodeHeight);
    for (int column = 0; column < symbol->width && left + column * module < raster.Width();
         ++column) {
        if (!ModuleIsDark(*symbol, column)) {
            continue;
        }
        for (int y = top; y < raster.Height(); ++y) {
            for (int k = 0; k < module; ++k) {
                raster.SetInk(left + column * module + k, y, true);
            }
        }
    }
    if (HriBelow(state.barcodeHri)) {
        raster.AddRows(paper::kLineGapDots);
        PrintHri(hri, centre, raster);
    }
    raster.AddRows(state.barcodeQuietZone >> 3);
}
