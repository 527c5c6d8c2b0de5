#include "TextPositionStore.h"

#include "NumberText.h"

namespace {

void StoreByte(std::uint8_t value, std::uint8_t& field, int bit, int& mask) {
    if (value != field) {
        field = value;
        mask |= bit;
    }
}

}  // namespace

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
    StoreByte(static_cast<std::uint8_t>(values.alignmentIndex + 1), settings.alignment, 0x01, mask);
    StoreByte(TextToByte(values.leftIndent), settings.leftIndent, 0x02, mask);
    StoreByte(TextToByte(values.fieldWidth), settings.printFieldWidth, 0x04, mask);
    StoreByte(TextToByte(values.tabulation), settings.tabulation, 0x08, mask);
    return mask;
}
