#include <gtest/gtest.h>
#include <termios.h>

#include "SerialLineSettings.h"
#include "SerialTermios_posix.h"

namespace {

struct FlowCase {
    int flowControl;
    std::optional<bool> rtsCts;
    bool xonXoff;
};

TEST(SerialLineMapping, FlowControlCodes) {
    const FlowCase cases[] = {
        {0, false, false}, {1, true, false}, {2, false, true}, {3, false, true}, {7, {}, false}};
    for (const FlowCase& c : cases) {
        SerialLineRequest request;
        request.flowControl = c.flowControl;
        const SerialLineSettings line = MapSerialLine(request);
        EXPECT_EQ(line.rtsCts, c.rtsCts) << "flow " << c.flowControl;
        EXPECT_EQ(line.xonXoff, c.xonXoff) << "flow " << c.flowControl;
    }
}

TEST(SerialLineMapping, CombinedFlowProgramsExactlyWhatXonXoffDoes) {
    SerialLineRequest xon;
    xon.flowControl = 2;
    SerialLineRequest both = xon;
    both.flowControl = 3;
    EXPECT_EQ(MapSerialLine(both), MapSerialLine(xon));
    termios a{}, b{};
    ApplySerialLine(MapSerialLine(xon), a);
    ApplySerialLine(MapSerialLine(both), b);
    EXPECT_EQ(a.c_cflag, b.c_cflag);
    EXPECT_EQ(a.c_iflag, b.c_iflag);
}

struct FramingCase {
    int parity;
    int stopBits;
    tcflag_t cflagSet;
    tcflag_t cflagClear;
};

TEST(SerialLineMapping, ParityAndStopBitsReachTermios) {
    const FramingCase cases[] = {
        {0, 0, 0, PARENB | PARODD | CSTOPB}, {1, 0, PARENB | PARODD, CSTOPB},
        {2, 0, PARENB, PARODD | CSTOPB},     {0, 2, CSTOPB, PARENB},
        {2, 2, PARENB | CSTOPB, PARODD},
    };
    for (const FramingCase& c : cases) {
        SerialLineRequest request;
        request.parity = c.parity;
        request.stopBits = c.stopBits;
        termios tio{};
        tio.c_cflag = PARODD | CS7;  // left over from a previous user of the port
        ApplySerialLine(MapSerialLine(request), tio);
        EXPECT_EQ(tio.c_cflag & c.cflagSet, c.cflagSet) << c.parity << "/" << c.stopBits;
        EXPECT_EQ(tio.c_cflag & c.cflagClear, 0u) << c.parity << "/" << c.stopBits;
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ((tio.c_iflag & INPCK) != 0, c.parity != 0);
    }
}

TEST(SerialLineMapping, RawModeWithFlowCharacters) {
    SerialLineRequest request;
    request.flowControl = 2;
    termios tio{};
    tio.c_lflag = ICANON | ECHO | ISIG;
    tio.c_iflag = ICRNL;
    tio.c_oflag = OPOST;
    ApplySerialLine(MapSerialLine(request), tio);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & ICRNL, 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
}

TEST(SerialLineMapping, UnknownFlowKeepsTheDriversHandshake) {
    SerialLineRequest request;
    request.flowControl = 9;
    termios tio{};
    tio.c_cflag = CRTSCTS;
    tio.c_iflag = IXON;
    ApplySerialLine(MapSerialLine(request), tio);
    EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_iflag & IXON, 0u);
}

}  // namespace
