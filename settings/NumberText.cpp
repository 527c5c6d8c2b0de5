#include "NumberText.h"

#include <cctype>

std::string ByteToText(std::uint8_t value) {
    return std::to_string(value);
}

std::uint8_t TextToByte(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    // Only the low 8 bits survive, so the digits can be folded modulo 256 without overflow.
    unsigned value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        value = (value * 10 + static_cast<unsigned>(text[at] - '0')) & 0xFFu;
    }
    return static_cast<std::uint8_t>(negative ? (256 - value) & 0xFFu : value);
}
