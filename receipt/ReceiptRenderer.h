#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "Cell.h"
#include "PrintCommands.h"
#include "PrintState.h"
#include "PrinterSettings.h"
#include "Raster.h"

// What the printer puts on paper for the bytes a host sends, starting from the settings
// record's defaults. Text is Windows-1251. A byte that starts no command of the table prints
// as the character it is (control bytes as the replacement mark; CR is ignored, HT tabs);
// a command the bytes end in the middle of is dropped. A line wraps when the next character
// does not fit in the print field.
class CReceiptRenderer {
public:
    explicit CReceiptRenderer(const PrinterSettings& record);

    void Print(std::span<const std::uint8_t> bytes);
    // Prints the line still in the buffer, as the paper is torn off.
    Raster Finish();
    std::uint8_t Contrast() const { return m_state.contrast; }

private:
    void Apply(const PrintCommand& command);
    void ApplySetting(PrintAction action, std::span<const std::uint8_t> params);
    void Character(std::uint8_t byte);
    void Tab();
    void Add(Cell cell);
    void PrintLine();
    void LineFeed();

    PrinterSettings m_record;
    PrintState m_state;
    Raster m_raster;
    std::vector<Cell> m_line;
    int m_lineWidth = 0;
};

// The whole receipt at once.
Raster RenderReceipt(std::span<const std::uint8_t> bytes, const PrinterSettings& record);
