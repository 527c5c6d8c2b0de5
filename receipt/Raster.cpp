#include "Raster.h"

#include <algorithm>

Raster::Raster(int width, int maxHeight) : m_width(width), m_maxHeight(maxHeight) {}

bool Raster::Ink(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return false;
    }
    return m_dots[static_cast<std::size_t>(y) * m_width + x] != 0;
}

void Raster::SetInk(int x, int y, bool ink) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    m_dots[static_cast<std::size_t>(y) * m_width + x] = ink ? 1 : 0;
}

void Raster::AddRows(int rows) {
    if (rows <= 0 || m_height >= m_maxHeight) {
        return;
    }
    m_height += std::min(rows, m_maxHeight - m_height);
    m_dots.resize(static_cast<std::size_t>(m_height) * m_width, 0);
}
