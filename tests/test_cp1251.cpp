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

}  // namespace
