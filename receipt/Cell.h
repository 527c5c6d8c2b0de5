#pragma once

#include <cstdint>
#include <vector>

#include "PrintState.h"

// One piece of a line before it prints: a character as the state draws it, a bit image or
// the white room of a tab.
struct Cell {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dots;  // row by row, 1 for ink

    Cell(int w, int h);
    bool Ink(int x, int y) const { return dots[static_cast<std::size_t>(y) * width + x] != 0; }
    void SetInk(int x, int y) { dots[static_cast<std::size_t>(y) * width + x] = 1; }
};

// The character's glyph, scaled to the state's size, with its bold, underline and negative.
Cell CharacterCell(std::uint8_t byte, const PrintState& state);
// ESC * columns: `perColumn` bytes a column, the top dot in the top bit.
Cell BitImageCell(const std::vector<std::uint8_t>& data, int perColumn, bool doubleWidth);
