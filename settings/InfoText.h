#pragma once

#include <cstdint>
#include <span>
#include <string>

// The information page's text, in UTF-8, one line per item. Reply bytes are single-byte text
// in Windows-1251, as the printer sends it (decoded by Cp1251ToUtf8, as the loader's model).

// The terminator that ends the reply to an item: NUL for the name (1) and the font (9), LF
// for the others.
std::uint8_t InfoTerminator(int item);
// "Prefix:  text\n" for items 1 to 8: NUL shows as a blank, LF ends the text, at most 125
// characters are kept.
std::string InfoItemLine(int item, std::span<const std::uint8_t> reply);
// "Шрифт:  text\n": the text up to its NUL, without one trailing LF.
std::string InfoFontLine(std::span<const std::uint8_t> reply);
// The item's text alone, for comparing (a firmware version, a font name): up to its
// terminator, without trailing blanks.
std::string InfoItemValue(int item, std::span<const std::uint8_t> reply);
// "\nСостояние принтера:" followed by " OK" or one line per state bit 0 to 5.
std::string InfoStateBlock(std::uint8_t state);
