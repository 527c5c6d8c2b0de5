#include <gtest/gtest.h>

#include "ConnectParameters.h"
#include "NumberText.h"
#include "PortDiscovery.h"
#include "PortStore.h"
#include "PrintingStore.h"

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
    int parity;
    int stopBits;
    int flowControl;
};

TEST(ConnectParameters, FromThePagesChoices) {
    const ParameterCase cases[] = {
        {0, 0, 0, 0, 0}, {1, 1, 0, 2, 1},  {2, 2, 1, 0, 2},
        {3, 3, 1, 2, 3}, {4, -1, 2, 0, 3}, {5, 7, 2, 2, 3},
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
