#include "Cell.h"

#include "GlyphFont.h"

Cell::Cell(int w, int h) : width(w), height(h), dots(static_cast<std::size_t>(w) * h, 0) {}

Cell CharacterCell(std::uint8_t byte, const PrintState& state) {
    // The normal font where the size reaches it; the small one scaled up otherwise, so a low
    // or narrow character keeps its shape.
    const bool normal =
        state.charWidth >= kNormalGlyphs.width && state.charHeight >= kNormalGlyphs.height;
    const GlyphFont& font = normal ? kNormalGlyphs : kSmallGlyphs;
    const int sx = state.charWidth / font.width;
    const int sy = state.charHeight / font.height;
    Cell cell(state.charWidth, state.charHeight);
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            const bool ink = font.Ink(byte, x / sx, y / sy) ||
                             (state.bold && x >= sx && font.Ink(byte, (x - sx) / sx, y / sy));
            const bool line = y >= cell.height - state.underline;
            if (ink || line) {
                cell.SetInk(x, y);
            }
        }
    }
    if (state.negative) {
        for (auto& dot : cell.dots) {
            dot ^= 1;
        }
    }
    return cell;
}

Cell BitImageCell(const std::vector<std::uint8_t>& data, int perColumn, bool doubleWidth) {
    const int columns = static_cast<int>(data.size()) / perColumn;
    const int scale = doubleWidth ? 2 : 1;
    Cell cell(columns * scale, perColumn * 8);
    for (int c = 0; c < columns; ++c) {
        for (int y = 0; y < cell.height; ++y) {
            if ((data[static_cast<std::size_t>(c * perColumn + y / 8)] & (0x80 >> (y % 8))) == 0) {
                continue;
            }
            for (int k = 0; k < scale; ++k) {
                cell.SetInk(c * scale + k, y);
            }
        }
    }
    return cell;
}
