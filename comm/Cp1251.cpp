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

// Decodes one UTF-8 sequence at text[i], moving i past it; 0xFFFD when malformed.
unsigned NextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x06 ? 1 : (lead >> 4) == 0x0E ? 2 : -1;
    if (extra < 0) {
        return 0xFFFD;
    }
    unsigned code = extra == 0 ? lead : lead & (extra == 1 ? 0x1Fu : 0x0Fu);
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
    }
    return code;
}

char ByteOf(unsigned code) {
    for (unsigned b = 0; b < 256; ++b) {
        if (CodePoint(static_cast<std::uint8_t>(b)) == code) {
            return static_cast<char>(b);
        }
    }
    return '?';
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

std::string Utf8ToCp1251(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bytes.push_back(ByteOf(NextCodePoint(text, i)));
    }
    return bytes;
}
