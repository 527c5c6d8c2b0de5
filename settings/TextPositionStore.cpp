#include "TextPositionStore.h"

#include "NumberText.h"

TextPositionValues TextPositionValuesOf(const PrinterSettings& settings) {
    TextPositionValues values;
    values.alignmentIndex = settings.alignment == 3 ? 2 : settings.alignment == 2 ? 1 : 0;
    values.leftIndent = ByteToText(settings.leftIndent);
    values.fieldWidth = ByteToText(settings.printFieldWidth);
    values.tabulation = ByteToText(settings.tabulation);
    return values;
}

int StoreTextPosition(const TextPositionValues& values, PrinterSettings& settings) {
    int mask = 0;
    StoreChangedByte(static_cast<std::uint8_t>(values.alignmentIndex + 1), settings.alignment, 0x01,
                     mask);
    StoreChangedByte(TextToByte(values.leftIndent), settings.leftIndent, 0x02, mask);
    StoreChangedByte(TextToByte(values.fieldWidth), settings.printFieldWidth, 0x04, mask);
    StoreChangedByte(TextToByte(values.tabulation), settings.tabulation, 0x08, mask);
    return mask;
}
