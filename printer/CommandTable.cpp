#include "CommandTable.h"

namespace {

constexpr std::uint8_t ESC = 0x1B;
constexpr std::uint8_t GS = 0x1D;
constexpr std::uint8_t DC2 = 0x12;

constexpr std::array<CommandEntry, kCommandCount> kCommands{{
    {CMD_LINE_FEED, {0x0A}, 1, 0},
    {CMD_FEED_DOTS, {ESC, 'J'}, 2, 1},
    {CMD_BIT_IMAGE, {ESC, '*'}, 2, 2},
    {CMD_PRINT_BARCODE, {GS, 'k'}, 2, 2},
    {CMD_SET_FEED_BUTTON, {ESC, 'c', '5'}, 3, 1},
    {CMD_SET_STATUS_AUTO_RETURN, {GS, 'a'}, 2, 1},
    {CMD_GET_PRINTER_INFO, {GS, 'I'}, 2, 1},
    {CMD_GET_STATUS, {0x10, 0x04}, 2, 1},
    {CMD_READ_SETTINGS, {DC2, 'c', 'L', 'c'}, 4, 0},
    {CMD_INITIALISE, {ESC, 0x40}, 2, 0},
    {CMD_CANCEL, {0x18}, 1, 0},
    {CMD_RESTORE_FACTORY, {DC2, 'P', 'C'}, 3, 0},
    {CMD_RESTORE_SAVED, {DC2, '0'}, 2, 0},
    {CMD_STORE_SETTINGS, {DC2, 'c', 'S'}, 3, 0},
    {CMD_SET_PORT, {DC2, 'U'}, 2, 2},
    {15, {DC2, 'S', 'M'}, 3, 1},
    {CMD_SET_BARCODE_HRI, {GS, 'H'}, 2, 1},
    {CMD_SET_BARCODE_HEIGHT, {GS, 'h'}, 2, 1},
    {CMD_SET_BARCODE_WIDTH, {GS, 'w'}, 2, 1},
    {CMD_SET_BARCODE_QUIET_ZONE, {GS, 'm'}, 2, 1},
    {CMD_SET_BARCODE_LEFT_INDENT, {GS, 'S'}, 2, 1},
    {CMD_SET_DOTS_COUNT, {DC2, 'D', 'S'}, 3, 1},
    {CMD_SET_CONTRAST, {DC2, 0x7F}, 2, 1},
    {CMD_SET_PRINT_SPEED, {DC2, '~'}, 2, 1},
    {CMD_CHARACTER_SIZE, {GS, '!'}, 2, 1},
    {CMD_SET_FONT_MODE, {ESC, '!'}, 2, 1},
    {CMD_BOLD, {ESC, 'E'}, 2, 1},
    {CMD_REVERSE, {GS, 'B'}, 2, 1},
    {CMD_UNDERLINE, {ESC, '-'}, 2, 1},
    {CMD_SET_ALIGNMENT, {ESC, 'a'}, 2, 1},
    {CMD_SET_LEFT_INDENT, {GS, 'L'}, 2, 2},
    {CMD_SET_PRINT_FIELD_WIDTH, {GS, 'W'}, 2, 2},
    {CMD_SET_TABULATION, {ESC, 'D'}, 2, 1},
}};

}  // namespace

const CommandEntry* FindCommand(int id) {
    for (const CommandEntry& entry : kCommands) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

void AppendCommand(std::vector<std::uint8_t>& out, int id,
                   std::initializer_list<std::uint8_t> params) {
    const CommandEntry* entry = FindCommand(id);
    out.insert(out.end(), entry->prefix.begin(), entry->prefix.begin() + entry->prefixLen);
    out.insert(out.end(), params.begin(), params.end());
}
