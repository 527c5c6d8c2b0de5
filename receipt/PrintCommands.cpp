#include "PrintCommands.h"

#include <algorithm>
#include <array>

#include "CommandTable.h"

namespace {

struct Meaning {
    int id;
    PrintAction action;
};

// Every identifier of the printer's table; the ones that only set up or ask the printer
// leave no mark. Settings commands that shape the print change the print as it goes.
constexpr std::array<Meaning, kCommandCount> kMeanings{{
    {CMD_LINE_FEED, PrintAction::LineFeed},
    {CMD_FEED_DOTS, PrintAction::FeedDots},
    {CMD_BIT_IMAGE, PrintAction::BitImage},
    {CMD_PRINT_BARCODE, PrintAction::Barcode},
    {CMD_SET_FEED_BUTTON, PrintAction::NoMark},
    {CMD_SET_STATUS_AUTO_RETURN, PrintAction::NoMark},
    {CMD_GET_PRINTER_INFO, PrintAction::NoMark},
    {CMD_GET_STATUS, PrintAction::NoMark},
    {CMD_READ_SETTINGS, PrintAction::NoMark},
    {CMD_INITIALISE, PrintAction::Initialise},
    {CMD_CANCEL, PrintAction::Cancel},
    {CMD_RESTORE_FACTORY, PrintAction::NoMark},
    {CMD_RESTORE_SAVED, PrintAction::NoMark},
    {CMD_STORE_SETTINGS, PrintAction::NoMark},
    {CMD_SET_PORT, PrintAction::NoMark},
    {15, PrintAction::NoMark},
    {CMD_SET_BARCODE_HRI, PrintAction::BarcodeHri},
    {CMD_SET_BARCODE_HEIGHT, PrintAction::BarcodeHeight},
    {CMD_SET_BARCODE_WIDTH, PrintAction::BarcodeWidth},
    {CMD_SET_BARCODE_QUIET_ZONE, PrintAction::BarcodeQuietZone},
    {CMD_SET_BARCODE_LEFT_INDENT, PrintAction::BarcodeLeftIndent},
    {CMD_SET_DOTS_COUNT, PrintAction::NoMark},
    {CMD_SET_CONTRAST, PrintAction::Contrast},
    {CMD_SET_PRINT_SPEED, PrintAction::NoMark},
    {CMD_CHARACTER_SIZE, PrintAction::CharacterSize},
    {CMD_SET_FONT_MODE, PrintAction::FontMode},
    {CMD_BOLD, PrintAction::Bold},
    {CMD_REVERSE, PrintAction::Reverse},
    {CMD_UNDERLINE, PrintAction::Underline},
    {CMD_SET_ALIGNMENT, PrintAction::Alignment},
    {CMD_SET_LEFT_INDENT, PrintAction::LeftIndent},
    {CMD_SET_PRINT_FIELD_WIDTH, PrintAction::FieldWidth},
    {CMD_SET_TABULATION, PrintAction::Tabulation},
}};

std::size_t DataLength(PrintAction action, std::span<const std::uint8_t> params) {
    if (action == PrintAction::BitImage) {
        return std::size_t{params[1]} * ((params[0] & 0x20) != 0 ? 3u : 1u);
    }
    if (action == PrintAction::Barcode) {
        return params[1];
    }
    return 0;
}

bool StartsWith(std::span<const std::uint8_t> bytes, const CommandEntry& entry) {
    const auto n = static_cast<std::size_t>(entry.prefixLen);
    return bytes.size() >= n &&
           std::equal(entry.prefix.begin(), entry.prefix.begin() + n, bytes.begin());
}

}  // namespace

CommandMatch MatchPrintCommand(std::span<const std::uint8_t> bytes, PrintCommand& command) {
    for (const Meaning& meaning : kMeanings) {
        const CommandEntry* entry = FindCommand(meaning.id);
        if (entry == nullptr || !StartsWith(bytes, *entry)) {
            continue;
        }
        const auto prefix = static_cast<std::size_t>(entry->prefixLen);
        const auto count = static_cast<std::size_t>(entry->paramCount);
        if (bytes.size() < prefix + count) {
            return CommandMatch::Truncated;
        }
        const auto params = bytes.subspan(prefix, count);
        const std::size_t data = DataLength(meaning.action, params);
        if (bytes.size() < prefix + count + data) {
            return CommandMatch::Truncated;
        }
        command = {meaning.action, params, bytes.subspan(prefix + count, data),
                   prefix + count + data};
        return CommandMatch::Found;
    }
    return CommandMatch::None;
}
