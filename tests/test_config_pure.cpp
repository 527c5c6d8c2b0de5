#include <gtest/gtest.h>

#include "BarcodeStore.h"
#include "ConnectParameters.h"
#include "ExchangeControls.h"
#include "FontStore.h"
#include "InfoText.h"
#include "NumberText.h"
#include "OptionsStore.h"
#include "PortDiscovery.h"
#include "PortStore.h"
#include "PrinterLine.h"
#include "PrintingStore.h"
#include "TextPositionStore.h"

namespace {

using Names = std::vector<std::string>;

TEST(PortDiscovery, MergesTheTwoSourcesDroppingOnlyTheSamePort) {
    const std::tuple<Names, Names, Names> cases[] = {
        {{"COM1:", "COM2:"}, {"COM1", "COM3"}, {"COM1:", "COM2:", "COM3"}},
        {{"COM1:"}, {"COM10", "com1"}, {"COM1:", "COM10"}},
        {{}, {"/dev/ttyS1", "/dev/ttyS10"}, {"/dev/ttyS1", "/dev/ttyS10"}},
        {{"/dev/ttyS1"}, {"/dev/ttyS10", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyS10"}},
        {{}, {}, {}},
    };
    for (const auto& [spooler, devices, merged] : cases) {
        EXPECT_EQ(MergePortLists(spooler, devices), merged);
    }
    EXPECT_TRUE(SamePort("COM3:", "com3"));
    EXPECT_FALSE(SamePort("COM1:", "COM10"));
}

struct ParameterCase {
    int framing;
    int flow;
    Parity parity;
    StopBits stopBits;
    FlowControl flowControl;
};

TEST(ConnectParameters, FromThePagesChoices) {
    const ParameterCase cases[] = {
        {0, 0, Parity::None, StopBits::One, FlowControl::None},
        {1, 1, Parity::None, StopBits::Two, FlowControl::RtsCts},
        {2, 2, Parity::Odd, StopBits::One, FlowControl::XonXoff},
        {3, 3, Parity::Odd, StopBits::Two, FlowControl::Both},
        {4, -1, Parity::Even, StopBits::One, FlowControl::Both},
        {5, 7, Parity::Even, StopBits::Two, FlowControl::Both},
        {-1, 0, Parity::None, StopBits::One, FlowControl::None},
    };
    for (const ParameterCase& c : cases) {
        const ConnectParameters p =
            DeriveConnectParameters("/dev/ttyS0", "38400", c.framing, c.flow);
        EXPECT_EQ(p.baudRate, 38400u);
        EXPECT_EQ(p.parity, c.parity) << c.framing;
        EXPECT_EQ(p.stopBits, c.stopBits) << c.framing;
        EXPECT_EQ(p.flowControl, c.flowControl) << c.flow;
    }
}

// A line found by the search is selected in the lists it came from.
TEST(ConnectParameters, EveryListEntryComesBackToItsIndex) {
    for (int framing = 0; framing < 6; ++framing) {
        EXPECT_EQ(FramingIndexOf(ParityAt(framing), StopBitsAt(framing)), framing);
    }
    for (int flow = 0; flow < 4; ++flow) {
        EXPECT_EQ(FlowIndexOf(FlowAt(flow)), flow);
    }
}

TEST(NumberText, TypedNumbersBecomeBytes) {
    const std::pair<const char*, int> cases[] = {{"300", 44}, {"", 0},      {"007", 7},
                                                 {"256", 0},  {"255", 255}, {"  12ab", 12},
                                                 {"-1", 255}, {"x9", 0},    {"99999999999", 255}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(TextToByte(text), value) << '"' << text << '"';
    }
    EXPECT_EQ(ByteToText(0), "0");
    EXPECT_EQ(ByteToText(200), "200");
}

struct PrintingCase {
    PrintingValues values;
    std::uint8_t contrast, speed, dots;  // record before
    int mask;
    std::uint8_t storedContrast, storedSpeed, storedDots;
};

TEST(PrintingStore, StoresWhatDiffersAndAvoidsXonXoff) {
    const PrintingCase cases[] = {
        {{17, 5, 64}, 18, 5, 64, 0x00, 18, 5, 64}, {{8, 19, 64}, 8, 5, 64, 0x02, 8, 20, 64},
        {{17, 5, 64}, 17, 5, 64, 0x01, 18, 5, 64}, {{0, 255, 128}, 1, 254, 0, 0x07, 0, 255, 128},
        {{8, 5, 96}, 8, 5, 32, 0x04, 8, 5, 96},
    };
    for (const PrintingCase& c : cases) {
        PrinterSettings settings{};
        settings.contrast = c.contrast;
        settings.printSpeed = c.speed;
        settings.dotsCount = c.dots;
        EXPECT_EQ(StorePrinting(c.values, settings), c.mask);
        EXPECT_EQ(settings.contrast, c.storedContrast);
        EXPECT_EQ(settings.printSpeed, c.storedSpeed);
        EXPECT_EQ(settings.dotsCount, c.storedDots);
    }
    EXPECT_EQ(DotsItemIndex(0), 3);
    EXPECT_EQ(DotsItemIndex(100), 3);
    EXPECT_EQ(DotsItemIndex(96), 2);
}

TEST(PortStore, ShowsAndStoresThePrintersLine) {
    PrinterSettings settings{};
    settings.portBaudIndex = 0x1C;
    EXPECT_EQ(PortValuesOf(settings).baudIndex, 9) << "low bits 12 show 1200";
    settings.portBaudIndex = 0x13;
    EXPECT_EQ(PortValuesOf(settings).baudIndex, 3) << "28800";
    settings.portFraming = 4;
    settings.portFlowControl = 0x20;
    const PortValues shown = PortValuesOf(settings);
    EXPECT_EQ(shown.framingIndex, 0) << "the disabled framing box always shows its first item";
    EXPECT_EQ(shown.flowIndex, 2);
    EXPECT_EQ(StorePort(shown, settings), 0x01) << "framing 4 becomes 0: a change";
    EXPECT_EQ(settings.portFraming, 0);
    EXPECT_EQ(settings.portBaudIndex, 3);
    EXPECT_EQ(StorePort(PortValuesOf(settings), settings), 0);
    EXPECT_EQ(StorePort({2, 0, 2}, settings), 0x01);
    EXPECT_EQ(settings.portFlowControl, 0x20);
}

}  // namespace

namespace {

TEST(FontStore, ByteToControlsAndBack) {
    const FontValues low = FontValuesOf(0x00);
    EXPECT_EQ(low.heightIndex, 0);
    EXPECT_EQ(low.widthIndex, 0);
    EXPECT_FALSE(low.bold || low.underline || low.negative);
    const FontValues full = FontValuesOf(0xFD);
    EXPECT_EQ(full.heightIndex, 3);
    EXPECT_EQ(full.widthIndex, 3);
    EXPECT_TRUE(full.bold && full.underline && full.negative);

    const std::tuple<std::uint8_t, FontValues, int, std::uint8_t> cases[] = {
        {0xFD, FontValuesOf(0xFD), 0x00, 0xFD},
        {0x02, FontValuesOf(0x02), 0x01, 0x00},  // bit 1 is cleared by a save
        {0x00, {-1, -1, true, false, false}, 0x01, 0x01},
        {0x00, {1, 2, false, true, true}, 0x01, 0x6C},
    };
    for (const auto& [before, values, mask, after] : cases) {
        PrinterSettings settings{};
        settings.fontMode = before;
        EXPECT_EQ(StoreFont(values, settings), mask) << int{before};
        EXPECT_EQ(settings.fontMode, after) << int{before};
    }
}

TEST(BarcodeStore, FieldsPackAndReadableCharactersRoundTrip) {
    PrinterSettings settings{};
    settings.barcodeQuietZone = 0x2B;
    settings.barcodeHeight = 80;
    settings.barcodeWidth = 3;
    settings.barcodeHri = kBarcodeHriOn;
    BarcodeValues values = BarcodeValuesOf(settings);
    EXPECT_EQ(values.aboveBelow, "5");
    EXPECT_EQ(values.leftRight, "3");
    EXPECT_TRUE(values.readable);
    EXPECT_EQ(StoreBarcode(values, settings), 0) << "unchanged values send nothing";

    values.aboveBelow = "40";
    values.leftRight = "10";
    values.height = "300";
    EXPECT_EQ(StoreBarcode(values, settings), 0x08 | 0x01);
    EXPECT_EQ(settings.barcodeQuietZone, 0x42);
    EXPECT_EQ(settings.barcodeHeight, 44);

    const std::tuple<std::uint8_t, bool, int, std::uint8_t> hri[] = {{0x04, true, 0x00, 0x04},
                                                                     {0x01, true, 0x10, 0x04},
                                                                     {0x00, false, 0x00, 0x00},
                                                                     {0x04, false, 0x10, 0x00},
                                                                     {0x00, true, 0x10, 0x04}};
    for (const auto& [before, checked, mask, after] : hri) {
        PrinterSettings record = settings;
        record.barcodeHri = before;
        BarcodeValues shown = BarcodeValuesOf(record);
        shown.readable = checked;
        EXPECT_EQ(StoreBarcode(shown, record), mask) << int{before} << checked;
        EXPECT_EQ(record.barcodeHri, after);
        EXPECT_EQ(BarcodeValuesOf(record).readable, checked) << "reads back as saved";
    }
}

TEST(TextPositionStore, AlignmentListIsLeftRightCentre) {
    const std::tuple<std::uint8_t, int> shown[] = {{0, 0}, {7, 0}, {1, 0}, {2, 1}, {3, 2}};
    for (const auto& [alignment, index] : shown) {
        PrinterSettings settings{};
        settings.alignment = alignment;
        EXPECT_EQ(TextPositionValuesOf(settings).alignmentIndex, index) << int{alignment};
    }
    const std::tuple<int, std::uint8_t> stored[] = {{0, 1}, {1, 2}, {2, 3}, {-1, 0}};
    for (const auto& [index, alignment] : stored) {
        PrinterSettings settings{};
        settings.alignment = 7;
        TextPositionValues values = TextPositionValuesOf(settings);
        values.alignmentIndex = index;
        EXPECT_EQ(StoreTextPosition(values, settings) & 0x01, 0x01);
        EXPECT_EQ(settings.alignment, alignment);
    }
    PrinterSettings settings{};
    settings.alignment = 1;
    TextPositionValues values = TextPositionValuesOf(settings);
    values.fieldWidth = "80";
    values.tabulation = "0";
    EXPECT_EQ(StoreTextPosition(values, settings), 0x04);
    EXPECT_EQ(settings.printFieldWidth, 80);
}

TEST(OptionsStore, FeedAndStatusBytes) {
    PrinterSettings settings{};
    EXPECT_TRUE(OptionsValuesOf(settings).feedEnabled);
    EXPECT_EQ(StoreOptions({false, false}, settings), 0x02);
    EXPECT_EQ(settings.feedButtonDisabled, 1);
    settings.feedButtonDisabled = 3;
    EXPECT_FALSE(OptionsValuesOf(settings).feedEnabled);
    EXPECT_EQ(StoreOptions(OptionsValuesOf(settings), settings), 0x02) << "3 is stored as 1";
    EXPECT_EQ(StoreOptions({false, true}, settings), 0x04);
    EXPECT_EQ(settings.statusAutoReturn, 1);
}

TEST(InfoText, LinesAndStateBlock) {
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(InfoItemLine(1, Bytes{'T', 'Q', 0x00}), "Название принтера:  TQ \n");
    EXPECT_EQ(InfoItemLine(2, Bytes{'C', 'P', 'U', 0x0A, 'x'}), "Контроллер:  CPU\n");
    EXPECT_EQ(InfoItemLine(3, Bytes{0xC0, 0xE1, 0x0A}), "Серийный номер принтера:  Аб\n");
    const std::string longLine = InfoItemLine(4, Bytes(300, 'A'));
    EXPECT_EQ(longLine, std::string("Версия внутреннего ПО:  ") + std::string(125, 'A') + "\n");
    EXPECT_EQ(InfoFontLine(Bytes{'F', '1', 0x0A, 0x00}), "Шрифт:  F1\n");
    EXPECT_EQ(InfoStateBlock(0x00), "\nСостояние принтера: OK");
    EXPECT_EQ(InfoStateBlock(0xC0), "\nСостояние принтера: OK");
    EXPECT_EQ(InfoStateBlock(0x03),
              "\nСостояние принтера:\n- Отсутствует бумага\n- Открыта крышка");
    EXPECT_EQ(InfoTerminator(1), 0x00);
    EXPECT_EQ(InfoTerminator(5), 0x0A);
    EXPECT_EQ(InfoTerminator(9), 0x00);
}

// A conversation that closes or awaits the line on its own timers takes no click that could close
// the line or start another request; the wait for a save's read may be cut off by a disconnect.
TEST(ExchangeControls, RunningConversationsShutOutWhatWouldWedgeThem) {
    const Conversation timed[] = {Conversation::FirstRead, Conversation::PortChange,
                                  Conversation::FactoryRestore, Conversation::SavedRestore};
    for (const Conversation conversation : timed) {
        const ExchangeControls controls = ControlsDuring(conversation);
        EXPECT_FALSE(controls.connectButton || controls.saveButton || controls.restoreButtons)
            << static_cast<int>(conversation);
    }
    const ExchangeControls save = ControlsDuring(Conversation::Save);
    EXPECT_TRUE(save.connectButton);
    EXPECT_FALSE(save.saveButton || save.restoreButtons);
    const ExchangeControls idle = ControlsDuring(Conversation::Idle);
    EXPECT_TRUE(idle.connectButton && idle.saveButton && idle.restoreButtons);
}

}  // namespace
