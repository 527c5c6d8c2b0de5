#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// What each command of the printer's table does to the paper. The prefixes and parameter
// counts are the printer's own table (CommandTable); this adds the meaning, in the manner of
// the ESC/POS family, and the data that follows a command's parameters.
enum class PrintAction {
    LineFeed,           // LF: print the line, or feed one empty line
    FeedDots,           // ESC J n: print the line, then feed n dot rows
    BitImage,           // ESC * m n, then n columns: m bit 5 gives 24-dot columns (3 bytes each)
                        // instead of 8 (1 byte), m bit 0 full density (otherwise each column is
                        // printed twice as wide); each byte's top bit is the top dot
    Barcode,            // GS k m n, then n data bytes; m as ESC/POS's second form (65 UPC-A ...
                        // 73 CODE128)
    Initialise,         // ESC @: back to the settings record's defaults, line dropped
    Cancel,             // CAN: drops the line not yet printed
    CharacterSize,      // GS ! n: width (bits 4-6) and height (bits 0-2) as multiples of normal
    FontMode,           // ESC ! n: the record's font byte
    Bold,               // ESC E n: bit 0
    Reverse,            // GS B n: bit 0, white on black
    Underline,          // ESC - n: 0 off, 1 one dot, 2 two dots
    Alignment,          // ESC a n: the record's codes, 1 left, 2 right, 3 centre
    LeftIndent,         // GS L nL nH: millimetres
    FieldWidth,         // GS W nL nH: millimetres
    Tabulation,         // ESC D n: the tab step in characters
    BarcodeHri,         // GS H n
    BarcodeHeight,      // GS h n: dot rows
    BarcodeWidth,       // GS w n: dots a module
    BarcodeQuietZone,   // GS m n: bits 3-7 dot rows above and below, bits 0-2 mm either side
    BarcodeLeftIndent,  // GS S n: millimetres
    Contrast,           // DC2 DEL n: only the picture's tint
    NoMark,             // settings, queries and the rest that leave nothing on the paper
};

// A command found at the start of some bytes.
struct PrintCommand {
    PrintAction action;
    std::span<const std::uint8_t> params;  // the table's parameter bytes
    std::span<const std::uint8_t> data;    // what follows them (bit images, barcodes)
    std::size_t length;                    // all of it, prefix included
};

enum class CommandMatch { None, Found, Truncated };

// Whether the bytes start with a command of the table, and which. Truncated: they start with a
// command whose parameters or data the bytes end before.
CommandMatch MatchPrintCommand(std::span<const std::uint8_t> bytes, PrintCommand& command);
