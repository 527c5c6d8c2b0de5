#pragma once

#include <cstdint>
#include <string>

// A record byte as pages show it: unsigned decimal, no padding.
std::string ByteToText(std::uint8_t value);
// A number field's text as a record byte: a decimal integer (leading blanks, an optional sign,
// digits up to the first other character; none gives 0) cut to its low 8 bits. "300" is 44.
std::uint8_t TextToByte(const std::string& text);

// Stores a converted value when it differs from the record's byte and marks it in the mask.
inline void StoreChangedByte(std::uint8_t value, std::uint8_t& field, int bit, int& mask) {
    if (value != field) {
        field = value;
        mask |= bit;
    }
}
