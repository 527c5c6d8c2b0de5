#include "FontStore.h"

FontValues FontValuesOf(std::uint8_t fontMode) {
    FontValues values;
    values.heightIndex = (fontMode >> 6) & 0x03;
    values.widthIndex = (fontMode >> 4) & 0x03;
    values.negative = (fontMode & 0x08) != 0;
    values.underline = (fontMode & 0x04) != 0;
    values.bold = (fontMode & 0x01) != 0;
    return values;
}

int StoreFont(const FontValues& values, PrinterSettings& settings) {
    int mode = 0;
    if (values.heightIndex > 0 && values.heightIndex <= 3) {
        mode |= values.heightIndex << 6;
    }
    if (values.widthIndex > 0 && values.widthIndex <= 3) {
        mode |= values.widthIndex << 4;
    }
    mode |= (values.negative ? 0x08 : 0) | (values.underline ? 0x04 : 0) | (values.bold ? 0x01 : 0);
    if (mode == settings.fontMode) {
        return 0;
    }
    settings.fontMode = static_cast<std::uint8_t>(mode);
    return 0x01;
}
