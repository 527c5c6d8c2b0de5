#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "PrinterSettings.h"

// Option groups: the settings one page writes in one transmission.
enum OptionGroup : int {
    kGroupPrinterOptions = 0,
    kGroupPrinting = 1,
    kGroupFont = 2,
    kGroupTextPosition = 3,
    kGroupBarcode = 4,
    kGroupPrinterPort = 5,
};

inline constexpr int kOptionFrameCapacity = 128;

enum class OptionFrameResult { Built, NoSuchGroup, NothingSelected, TooLong };

struct OptionFrame {
    OptionFrameResult result = OptionFrameResult::NothingSelected;
    std::vector<std::uint8_t> bytes;
};

struct OptionBit {
    int group;
    int maskBit;
};

// The group and mask bit whose command writes a record byte; none for a byte no command
// writes. The port's three bytes share one command.
std::optional<OptionBit> OptionBitOf(std::size_t settingsByte);

// One command per mask bit set, in the group's fixed order, taking its parameters from the
// record; groups 0 to 4 end with the store command so the printer keeps the values.
OptionFrame BuildOptionFrame(const PrinterSettings& settings, int group, int changedMask);
