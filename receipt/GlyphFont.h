#pragma once

#include <cstdint>

// A bitmap font indexed by the Windows-1251 byte. Each row is 16 bits, the leftmost dot in the
// top bit; the tables are made from the console fonts at build time.
struct GlyphFont {
    int width;
    int height;
    const std::uint16_t* rows;  // 256 glyphs of `height` rows

    bool Ink(std::uint8_t byte, int x, int y) const {
        return (rows[byte * height + y] & (0x8000u >> x)) != 0;
    }
};

// 12x24, the normal size; 6x12, what the low and narrow modes are drawn from.
extern const GlyphFont kNormalGlyphs;
extern const GlyphFont kSmallGlyphs;
