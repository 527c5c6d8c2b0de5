#include <gtest/gtest.h>

#include "Cp1251.h"

namespace {

TEST(Cp1251, DecodesEveryByteOfTheCodePage) {
    const std::pair<std::string, std::string> cases[] = {
        {"TQ-20 A0", "TQ-20 A0"},
        {"\xD2\xCA-20 \xC0\x30", "ТК-20 А0"},
        {"\xC0\xDF\xE0\xFF", "АЯая"},
        {"\xA8\xB8", "Ёё"},
        {"\xB9 \xAB\xBB \x96", "№ «» –"},
        {"\xA5\xB4\xAA\xBA\xB2\xB3\xAF\xBF", "ҐґЄєІіЇї"},
        {"\x80\x88\x99", "Ђ€™"},
        {"\x98", "?"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Cp1251ToUtf8(bytes), text) << text;
    }
}

// Every byte but the unassigned one comes back from its own text; what the code page lacks
// and broken UTF-8 become '?'.
TEST(Cp1251, EncodesWhatItDecodes) {
    for (unsigned b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        if (b != 0x98) {
            EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(byte)), byte) << b;
        }
    }
    const std::pair<std::string, std::string> cases[] = {
        {"Пробная печать №1",
         "\xCF\xF0\xEE\xE1\xED\xE0\xFF \xEF\xE5\xF7\xE0\xF2\xFC \xB9"
         "1"},
        {"日", "?"},
        {"a\xC3", "a?"},
        {"\xBFz", "?z"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(Utf8ToCp1251(text), bytes) << text;
    }
}

}  // namespace
