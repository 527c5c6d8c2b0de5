#include "BarcodeStore.h"

#include "NumberText.h"

BarcodeValues BarcodeValuesOf(const PrinterSettings& settings) {
    BarcodeValues values;
    values.height = ByteToText(settings.barcodeHeight);
    values.width = ByteToText(settings.barcodeWidth);
    values.aboveBelow =
        ByteToText(static_cast<std::uint8_t>((settings.barcodeQuietZone >> 3) & 0x1F));
    values.leftRight = ByteToText(static_cast<std::uint8_t>(settings.barcodeQuietZone & 0x07));
    values.leftIndent = ByteToText(settings.barcodeLeftIndent);
    values.readable = (settings.barcodeHri & 0x04) != 0;
    return values;
}

int StoreBarcode(const BarcodeValues& values, PrinterSettings& settings) {
    int mask = 0;
    StoreChangedByte(TextToByte(values.height), settings.barcodeHeight, 0x01, mask);
    StoreChangedByte(TextToByte(values.width), settings.barcodeWidth, 0x04, mask);
    // Two numbers in one byte, each cut to its bits: 32 lines become 0, 9 mm become 1.
    const auto zone = static_cast<std::uint8_t>(((TextToByte(values.aboveBelow) & 0x1F) << 3) +
                                                (TextToByte(values.leftRight) & 0x07));
    StoreChangedByte(zone, settings.barcodeQuietZone, 0x08, mask);
    StoreChangedByte(TextToByte(values.leftIndent), settings.barcodeLeftIndent, 0x02, mask);
    StoreChangedByte(values.readable ? kBarcodeHriOn : 0, settings.barcodeHri, 0x10, mask);
    return mask;
}
