#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

// The printer's 19-byte settings record, laid out exactly as its reply to the read request.
struct PrinterSettings {
    std::uint8_t contrast;       // 0: 17 and 19 are never written (18 and 20 instead)
    std::uint8_t dotsCount;      // 1: dots burned at once: 32, 64, 96 or 128
    std::uint8_t printSpeed;     // 2: 17 and 19 are never written
    std::uint8_t fontMode;       // 3: height bits 6-7, width 4-5, negative 3, underline 2, bold 0
    std::uint8_t tabulation;     // 4: in characters
    std::uint8_t leftIndent;     // 5: in mm
    std::uint8_t alignment;      // 6: 1 left, 2 right, 3 centre
    std::uint8_t barcodeHri;     // 7: the barcode's readable characters
    std::uint8_t barcodeHeight;  // 8: in lines
    std::uint8_t barcodeWidth;   // 9: width of a barcode element
    std::uint8_t barcodeQuietZone;    // 10: bits 3-7 top and bottom in lines, 0-2 sides in mm
    std::uint8_t barcodeLeftIndent;   // 11: in mm
    std::uint8_t printFieldWidth;     // 12: in mm
    std::uint8_t feedButtonDisabled;  // 13: 1 the FEED button is disabled
    std::uint8_t reserved14;          // 14: not used; kept as read
    std::uint8_t statusAutoReturn;    // 15: 1 the printer returns its state by itself
    std::uint8_t portBaudIndex;       // 16: low 4 bits index 115200 ... 1200
    std::uint8_t portFraming;         // 17: stop bits and parity index
    std::uint8_t portFlowControl;     // 18: bits 4-5 flow control

    static constexpr std::size_t kSize = 19;

    static PrinterSettings FromBytes(std::span<const std::uint8_t, kSize> bytes) {
        PrinterSettings settings;
        std::memcpy(&settings, bytes.data(), kSize);
        return settings;
    }
    std::array<std::uint8_t, kSize> ToBytes() const {
        std::array<std::uint8_t, kSize> bytes{};
        std::memcpy(bytes.data(), this, kSize);
        return bytes;
    }
    bool operator==(const PrinterSettings&) const = default;
};

static_assert(sizeof(PrinterSettings) == PrinterSettings::kSize);
static_assert(offsetof(PrinterSettings, reserved14) == 14);
static_assert(offsetof(PrinterSettings, portFlowControl) == 18);
