#include "Cp1251.h"

#include <array>

namespace {

// Code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are А to я in order.
constexpr std::array<char16_t, 64> kHighHalf{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, u'?',   0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

unsigned CodePoint(std::uint8_t b) {
    if (b < 0x80) {
        return b;
    }
    if (b >= 0xC0) {
        return 0x0410 + (b - 0xC0u);
    }
    return kHighHalf[b - 0x80u];
}

void AppendUtf8(unsigned code, std::string& text) {
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

std::string Cp1251ToUtf8(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::uint8_t b : bytes) {
        AppendUtf8(CodePoint(b), text);
    }
    return text;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
    return Cp1251ToUtf8(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}
