#include "PrintingStore.h"

#include "NumberText.h"

namespace {

// The printer's flow-control characters must never be a setting.
std::uint8_t AvoidFlowCharacters(int position) {
    if (position == 0x11 || position == 0x13) {
        ++position;
    }
    return static_cast<std::uint8_t>(position);
}

}  // namespace

int DotsItemIndex(std::uint8_t dotsCount) {
    switch (dotsCount) {
        case 32:
            return 0;
        case 64:
            return 1;
        case 96:
            return 2;
        default:
            return 3;
    }
}

std::vector<FlowCharacterChange> PrintingFlowChanges(const PrintingValues& values) {
    std::vector<FlowCharacterChange> changes;
    for (const auto& [byteIndex, value] : {std::pair{0, values.contrast}, {2, values.speed}}) {
        const std::uint8_t stored = AvoidFlowCharacters(value);
        if (stored != value) {
            changes.push_back({byteIndex, static_cast<std::uint8_t>(value), stored});
        }
    }
    return changes;
}

int StorePrinting(const PrintingValues& values, PrinterSettings& settings) {
    int mask = 0;
    StoreChangedByte(AvoidFlowCharacters(values.contrast), settings.contrast, 0x01, mask);
    StoreChangedByte(AvoidFlowCharacters(values.speed), settings.printSpeed, 0x02, mask);
    StoreChangedByte(static_cast<std::uint8_t>(values.dots), settings.dotsCount, 0x04, mask);
    return mask;
}
