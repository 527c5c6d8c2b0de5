#include "PrintState.h"

#include <algorithm>

#include "PaperFigures.h"

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
    charHeight = paper::kCharHeightDots[(mode >> 6) & 0x03];
    charWidth = paper::kCharWidthDots[(mode >> 4) & 0x03];
    negative = (mode & 0x08) != 0;
    underline = (mode & 0x04) != 0 ? 1 : 0;
    bold = (mode & 0x01) != 0;
}

int PrintState::FieldLeft() const {
    return paper::PrintField(leftIndentMm, fieldWidthMm).left;
}

int PrintState::FieldRight() const {
    return paper::PrintField(leftIndentMm, fieldWidthMm).right;
}
