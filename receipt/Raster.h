#pragma once

#include <cstdint>
#include <vector>

// The paper as the head burns it: one bit a dot, as many rows as were printed. Writes outside
// the head's width are dropped, so whatever overflows the head is clipped, never wrapped.
class Raster {
public:
    Raster(int width, int maxHeight);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Ink(int x, int y) const;
    void SetInk(int x, int y, bool ink);
    // Adds white rows at the bottom.
    void AddRows(int rows);

private:
    int m_width;
    int m_maxHeight;
    int m_height = 0;
    std::vector<std::uint8_t> m_dots;
};
