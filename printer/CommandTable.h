#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Command identifiers the tools send or read on paper; the others are carried under their
// numbers only.
enum PrinterCommand : int {
    CMD_LINE_FEED = 0,
    CMD_FEED_DOTS = 1,
    CMD_BIT_IMAGE = 2,
    CMD_PRINT_BARCODE = 3,
    CMD_SET_FEED_BUTTON = 4,
    CMD_SET_STATUS_AUTO_RETURN = 5,
    CMD_GET_PRINTER_INFO = 6,
    CMD_GET_STATUS = 7,
    CMD_READ_SETTINGS = 8,
    CMD_INITIALISE = 9,
    CMD_CANCEL = 10,
    CMD_RESTORE_FACTORY = 11,
    CMD_RESTORE_SAVED = 12,
    CMD_STORE_SETTINGS = 13,
    CMD_SET_PORT = 14,
    CMD_SET_BARCODE_HRI = 16,
    CMD_SET_BARCODE_HEIGHT = 17,
    CMD_SET_BARCODE_WIDTH = 18,
    CMD_SET_BARCODE_QUIET_ZONE = 19,
    CMD_SET_BARCODE_LEFT_INDENT = 20,
    CMD_SET_DOTS_COUNT = 21,
    CMD_SET_CONTRAST = 22,
    CMD_SET_PRINT_SPEED = 23,
    CMD_CHARACTER_SIZE = 24,
    CMD_SET_FONT_MODE = 25,
    CMD_BOLD = 26,
    CMD_REVERSE = 27,
    CMD_UNDERLINE = 28,
    CMD_SET_ALIGNMENT = 29,
    CMD_SET_LEFT_INDENT = 30,
    CMD_SET_PRINT_FIELD_WIDTH = 31,
    CMD_SET_TABULATION = 32,
};

// One command: its fixed prefix and how many parameter bytes follow it.
struct CommandEntry {
    int id;
    std::array<std::uint8_t, 4> prefix;
    int prefixLen;
    int paramCount;
};

inline constexpr int kCommandCount = 33;

// The entry for an identifier, or nullptr when the printer has no such command.
const CommandEntry* FindCommand(int id);
// Appends the command's prefix and its parameters, for bytes sent as they stand (a receipt).
// The identifier must be one of the table's.
void AppendCommand(std::vector<std::uint8_t>& out, int id,
                   std::initializer_list<std::uint8_t> params = {});

// The barcode command's symbologies, numbered as the second form of the ESC/POS family.
enum BarcodeSymbology : std::uint8_t {
    kBarcodeUpcA = 65,
    kBarcodeUpcE = 66,
    kBarcodeEan13 = 67,
    kBarcodeEan8 = 68,
    kBarcodeCode39 = 69,
    kBarcodeItf = 70,
    kBarcodeCodabar = 71,
    kBarcodeCode93 = 72,
    kBarcodeCode128 = 73,
};
