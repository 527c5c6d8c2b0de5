#include "OptionFrame.h"

#include <array>

#include "CommandTable.h"

namespace {

enum class SecondParam { None, Zero, PortFramingAndFlow };

struct OptionRow {
    int group;
    int maskBit;
    int command;
    int settingsByte;
    SecondParam second;
};

constexpr std::array<OptionRow, 16> kRows{{
    {kGroupPrinterOptions, 0x02, CMD_SET_FEED_BUTTON, 13, SecondParam::None},
    {kGroupPrinterOptions, 0x04, CMD_SET_STATUS_AUTO_RETURN, 15, SecondParam::None},
    {kGroupPrinting, 0x01, CMD_SET_CONTRAST, 0, SecondParam::None},
    {kGroupPrinting, 0x02, CMD_SET_PRINT_SPEED, 2, SecondParam::None},
    {kGroupPrinting, 0x04, CMD_SET_DOTS_COUNT, 1, SecondParam::None},
    {kGroupFont, 0x01, CMD_SET_FONT_MODE, 3, SecondParam::None},
    {kGroupTextPosition, 0x01, CMD_SET_ALIGNMENT, 6, SecondParam::None},
    {kGroupTextPosition, 0x02, CMD_SET_LEFT_INDENT, 5, SecondParam::Zero},
    {kGroupTextPosition, 0x04, CMD_SET_PRINT_FIELD_WIDTH, 12, SecondParam::Zero},
    {kGroupTextPosition, 0x08, CMD_SET_TABULATION, 4, SecondParam::None},
    {kGroupBarcode, 0x01, CMD_SET_BARCODE_HEIGHT, 8, SecondParam::None},
    {kGroupBarcode, 0x02, CMD_SET_BARCODE_LEFT_INDENT, 11, SecondParam::None},
    {kGroupBarcode, 0x04, CMD_SET_BARCODE_WIDTH, 9, SecondParam::None},
    {kGroupBarcode, 0x08, CMD_SET_BARCODE_QUIET_ZONE, 10, SecondParam::None},
    {kGroupBarcode, 0x10, CMD_SET_BARCODE_HRI, 7, SecondParam::None},
    {kGroupPrinterPort, 0x01, CMD_SET_PORT, 16, SecondParam::PortFramingAndFlow},
}};

void AppendPrefix(std::vector<std::uint8_t>& frame, const CommandEntry& entry) {
    frame.insert(frame.end(), entry.prefix.begin(), entry.prefix.begin() + entry.prefixLen);
}

void AppendRow(std::vector<std::uint8_t>& frame, const OptionRow& row,
               const std::array<std::uint8_t, PrinterSettings::kSize>& record) {
    AppendPrefix(frame, *FindCommand(row.command));
    frame.push_back(record[static_cast<std::size_t>(row.settingsByte)]);
    switch (row.second) {
        case SecondParam::None:
            break;
        case SecondParam::Zero:
            frame.push_back(0);
            break;
        case SecondParam::PortFramingAndFlow:
            frame.push_back(static_cast<std::uint8_t>(record[17] | record[18]));
            break;
    }
}

}  // namespace

OptionFrame BuildOptionFrame(const PrinterSettings& settings, int group, int changedMask) {
    OptionFrame frame;
    if (group < kGroupPrinterOptions || group > kGroupPrinterPort) {
        frame.result = OptionFrameResult::NoSuchGroup;
        return frame;
    }
    const auto record = settings.ToBytes();
    for (const OptionRow& row : kRows) {
        if (row.group == group && (changedMask & row.maskBit) != 0) {
            AppendRow(frame.bytes, row, record);
        }
    }
    if (frame.bytes.empty()) {
        frame.result = OptionFrameResult::NothingSelected;
        return frame;
    }
    if (group != kGroupPrinterPort) {
        AppendPrefix(frame.bytes, *FindCommand(CMD_STORE_SETTINGS));
    }
    frame.result = frame.bytes.size() > kOptionFrameCapacity ? OptionFrameResult::TooLong
                                                             : OptionFrameResult::Built;
    return frame;
}

std::optional<OptionBit> OptionBitOf(std::size_t settingsByte) {
    constexpr std::size_t kPortFraming = 17;
    constexpr std::size_t kPortFlow = 18;
    constexpr std::size_t kPortBaud = 16;
    if (settingsByte == kPortFraming || settingsByte == kPortFlow) {
        settingsByte = kPortBaud;
    }
    for (const OptionRow& row : kRows) {
        if (static_cast<std::size_t>(row.settingsByte) == settingsByte) {
            return OptionBit{row.group, row.maskBit};
        }
    }
    return std::nullopt;
}
