#include "OptionsStore.h"

OptionsValues OptionsValuesOf(const PrinterSettings& settings) {
    return {(settings.feedButtonDisabled & 0x01) == 0, (settings.statusAutoReturn & 0x01) == 1};
}

int StoreOptions(const OptionsValues& values, PrinterSettings& settings) {
    int mask = 0;
    const std::uint8_t feed = values.feedEnabled ? 0 : 1;
    if (feed != settings.feedButtonDisabled) {
        settings.feedButtonDisabled = feed;
        mask |= 0x02;
    }
    const std::uint8_t status = values.statusAutoReturn ? 1 : 0;
    if (status != settings.statusAutoReturn) {
        settings.statusAutoReturn = status;
        mask |= 0x04;
    }
    return mask;
}
