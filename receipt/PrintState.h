#pragma once

#include <cstdint>

#include "PaperFigures.h"
#include "PrinterSettings.h"

// How the next character, line and barcode print: the settings record's defaults until a
// command changes them.
struct PrintState {
    int charWidth = paper::kNormalCharWidthDots;
    int charHeight = paper::kNormalCharHeightDots;
    bool bold = false;
    int underline = 0;  // dot rows
    bool negative = false;
    int alignment = 1;  // 1 left, 2 right, 3 centre (the record's codes)
    int leftIndentMm = 0;
    int fieldWidthMm = 0;  // 0: the factory field
    int tabStep = 0;       // characters; 0: tabs do nothing
    std::uint8_t barcodeHri = 0;
    int barcodeHeight = 0;  // dot rows
    int barcodeModule = 1;  // dots
    std::uint8_t barcodeQuietZone = 0;
    int barcodeLeftIndentMm = 0;
    std::uint8_t contrast = 0;

    static PrintState FromRecord(const PrinterSettings& record);
    // The record's font byte: height bits 6-7 and width 4-5 (low/narrow, normal, double,
    // quadruple), negative 3, underline 2, bold 0.
    void SetFontMode(std::uint8_t mode);

    // The print field in head dots: from the left indent, as wide as set, never past the head.
    int FieldLeft() const;
    int FieldRight() const;
};

// The readable characters of a barcode. The byte is read bit by bit: bit 0 prints them above
// the bars, bit 1 below, and bit 2 (what the barcode page stores for "printed") below too, so
// 0 prints none, 1 above, 2 and 4 below, 3 and 5 both.
inline bool HriAbove(std::uint8_t hri) {
    return (hri & 0x01) != 0;
}
inline bool HriBelow(std::uint8_t hri) {
    return (hri & 0x06) != 0;
}
