#pragma once

#include <cstdint>
#include <span>
#include <string>

// The printer's text (model names, information items) is single-byte Windows-1251; the programs
// show UTF-8. ASCII passes unchanged; the one byte that code page leaves unassigned (0x98)
// shows as '?'.
std::string Cp1251ToUtf8(std::span<const std::uint8_t> bytes);
std::string Cp1251ToUtf8(const std::string& bytes);

// The other way, for text a program sends to be printed: a character the code page lacks
// becomes '?'. Invalid UTF-8 bytes become '?' one by one.
std::string Utf8ToCp1251(const std::string& text);
