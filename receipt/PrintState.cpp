#include "PrintState.h"

#include <algorithm>

#include "PaperFigures.h"

namespace {

// Low/narrow, normal, double, quadruple.
constexpr int kWidths[] = {6, 12, 24, 48};
constexpr int kHeights[] = {12, 24, 48, 96};

}  // namespace

PrintState PrintState::FromRecord(const PrinterSettings& record) {
    PrintState state;
    state.SetFontMode(record.fontMode);
    state.alignment = record.alignment;
    state.leftIndentMm = record.leftIndent;
    state.fieldWidthMm = record.printFieldWidth;
    state.tabStep = record.tabulation;
    state.barcodeHri = record.barcodeHri;
    state.barcodeHeight = record.barcodeHeight;
    state.barcodeModule = std::max(1, int{record.barcodeWidth});
    state.barcodeQuietZone = record.barcodeQuietZone;
    state.barcodeLeftIndentMm = record.barcodeLeftIndent;
    state.contrast = record.contrast;
    return state;
}

void PrintState::SetFontMode(std::uint8_t mode) {
    charHeight = kHeights[(mode >> 6) & 0x03];
    charWidth = kWidths[(mode >> 4) & 0x03];
    negative = (mode & 0x08) != 0;
    underline = (mode & 0x04) != 0 ? 1 : 0;
    bold = (mode & 0x01) != 0;
}

int PrintState::FieldLeft() const {
    return std::min(paper::DotsOfMm(leftIndentMm), paper::kHeadDots);
}

int PrintState::FieldRight() const {
    const int width = fieldWidthMm == 0 ? paper::kFactoryFieldMm : fieldWidthMm;
    return std::min(FieldLeft() + paper::DotsOfMm(width), paper::kHeadDots);
}
