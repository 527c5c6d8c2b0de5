#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A PNG read back through libpng as grey levels, one byte a pixel; width 0 when unreadable.
struct DecodedPng {
    int width = 0, height = 0;
    std::vector<std::uint8_t> grey;

    std::uint8_t At(int x, int y) const { return grey[static_cast<std::size_t>(y) * width + x]; }
};

DecodedPng DecodePng(const std::string& path);
