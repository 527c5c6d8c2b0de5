#include <gtest/gtest.h>

#include "FlowCharacters.h"
#include "OptionFrame.h"

namespace {

struct NudgeCase {
    const char* name;
    int group;
    std::size_t byteIndex;
    std::uint8_t wanted;
    std::uint8_t stored;
    int maskBit;
};

TEST(FlowCharacters, NoFieldIsWrittenAsXonOrXoff) {
    const NudgeCase cases[] = {
        {"tabulation", kGroupTextPosition, 4, 17, 18, 0x08},
        {"left indent", kGroupTextPosition, 5, 19, 20, 0x02},
        {"print field", kGroupTextPosition, 12, 17, 18, 0x04},
        {"barcode height", kGroupBarcode, 8, 19, 20, 0x01},
        {"barcode width", kGroupBarcode, 9, 17, 18, 0x04},
        {"barcode indent", kGroupBarcode, 11, 17, 18, 0x02},
        // Two lines above and below with 1 or 3 mm at the sides packs to 17 or 19.
        {"white field 2/1", kGroupBarcode, 10, 0x11, 0x12, 0x08},
        {"white field 2/3", kGroupBarcode, 10, 0x13, 0x14, 0x08},
        // Low font, normal width, bold is 17; bit 1 is never set by the font page, so the
        // nearest value the font byte can hold drops the bold.
        {"font bold", kGroupFont, 3, 0x11, 0x10, 0x01},
        {"font with bit 1", kGroupFont, 3, 0x13, 0x14, 0x01},
        {"contrast", kGroupPrinting, 0, 19, 20, 0x01},
        {"other values stay", kGroupBarcode, 8, 16, 16, 0},
    };
    for (const NudgeCase& c : cases) {
        auto bytes = PrinterSettings{}.ToBytes();
        bytes[c.byteIndex] = c.wanted;
        PrinterSettings record = PrinterSettings::FromBytes(bytes);
        int mask = 0;
        const auto changes = AvoidFlowCharacters(c.group, record, mask);
        EXPECT_EQ(record.ToBytes()[c.byteIndex], c.stored) << c.name;
        EXPECT_EQ(mask, c.maskBit) << c.name;
        EXPECT_EQ(changes.size(), c.maskBit != 0 ? 1u : 0u) << c.name;
    }
}

TEST(FlowCharacters, OnlyTheGroupsOwnFieldsChange) {
    PrinterSettings record{};
    record.fontMode = 0x11;
    record.barcodeHeight = 17;
    int mask = 0;
    EXPECT_TRUE(AvoidFlowCharacters(kGroupTextPosition, record, mask).empty());
    EXPECT_EQ(mask, 0);
    EXPECT_EQ(record.fontMode, 0x11);
    EXPECT_EQ(record.barcodeHeight, 17);
}

TEST(FlowCharacters, SoftwareFlowOnTheLineOrOnThePrintersPort) {
    PrinterSettings record{};
    record.portFlowControl = 0x10;
    EXPECT_FALSE(UsesSoftwareFlow(FlowControl::None, record));
    EXPECT_FALSE(UsesSoftwareFlow(FlowControl::RtsCts, record));
    EXPECT_TRUE(UsesSoftwareFlow(FlowControl::XonXoff, record));
    EXPECT_TRUE(UsesSoftwareFlow(FlowControl::Both, record));
    record.portFlowControl = 0x20;
    EXPECT_TRUE(UsesSoftwareFlow(FlowControl::None, record));
    record.portFlowControl = 0x30;
    EXPECT_TRUE(UsesSoftwareFlow(FlowControl::RtsCts, record));
}

TEST(FlowCharacters, TheWindowsMessageNamesTheFieldsAsThePagesDo) {
    const std::vector<FlowCharacterChange> changes{{8, 19, 20}, {10, 0x11, 0x12}};
    EXPECT_EQ(FlowCharacterMessage(changes),
              "При управлении потоком Xon/Xoff принтер не может передать байты 17 и 19, поэтому "
              "сохранено:\nВысота штрих-кода, линий: 20 вместо 19\nБелое поле слева/справа, мм: "
              "2 вместо 1");
    EXPECT_EQ(FlowFieldName(10), "barcodeQuietZone");
}

}  // namespace
