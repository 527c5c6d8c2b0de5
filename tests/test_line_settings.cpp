#include <gtest/gtest.h>
#include <termios.h>

#include "SerialLineSettings.h"
#include "SerialTermios_posix.h"

namespace {

struct FlowCase {
    FlowControl flowControl;
    bool rtsCts;
    bool xonXoff;
};

TEST(SerialLineMapping, FlowControlKinds) {
    const FlowCase cases[] = {{FlowControl::None, false, false},
                              {FlowControl::RtsCts, true, false},
                              {FlowControl::XonXoff, false, true},
                              {FlowControl::Both, false, true}};
    for (const FlowCase& c : cases) {
        SerialLineRequest request;
        request.flowControl = c.flowControl;
        const SerialLineSettings line = MapSerialLine(request);
        EXPECT_EQ(line.rtsCts, c.rtsCts) << "flow " << static_cast<int>(c.flowControl);
        EXPECT_EQ(line.xonXoff, c.xonXoff) << "flow " << static_cast<int>(c.flowControl);
    }
}

TEST(SerialLineMapping, CombinedFlowProgramsExactlyWhatXonXoffDoes) {
    SerialLineRequest xon;
    xon.flowControl = FlowControl::XonXoff;
    SerialLineRequest both = xon;
    both.flowControl = FlowControl::Both;
    EXPECT_EQ(MapSerialLine(both), MapSerialLine(xon));
    termios a{}, b{};
    ApplySerialLine(MapSerialLine(xon), a);
    ApplySerialLine(MapSerialLine(both), b);
    EXPECT_EQ(a.c_cflag, b.c_cflag);
    EXPECT_EQ(a.c_iflag, b.c_iflag);
}

struct FramingCase {
    Parity parity;
    StopBits stopBits;
    tcflag_t cflagSet;
    tcflag_t cflagClear;
};

TEST(SerialLineMapping, ParityAndStopBitsReachTermios) {
    const FramingCase cases[] = {
        {Parity::None, StopBits::One, 0, PARENB | PARODD | CSTOPB},
        {Parity::Odd, StopBits::One, PARENB | PARODD, CSTOPB},
        {Parity::Even, StopBits::One, PARENB, PARODD | CSTOPB},
        {Parity::None, StopBits::Two, CSTOPB, PARENB},
        {Parity::Even, StopBits::Two, PARENB | CSTOPB, PARODD},
    };
    for (const FramingCase& c : cases) {
        SerialLineRequest request;
        request.parity = c.parity;
        request.stopBits = c.stopBits;
        termios tio{};
        tio.c_cflag = PARODD | CS7;  // left over from a previous user of the port
        ApplySerialLine(MapSerialLine(request), tio);
        EXPECT_EQ(tio.c_cflag & c.cflagSet, c.cflagSet)
            << static_cast<int>(c.parity) << "/" << static_cast<int>(c.stopBits);
        EXPECT_EQ(tio.c_cflag & c.cflagClear, 0u)
            << static_cast<int>(c.parity) << "/" << static_cast<int>(c.stopBits);
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ((tio.c_iflag & INPCK) != 0, c.parity != Parity::None);
    }
}

TEST(SerialLineMapping, RawModeWithFlowCharacters) {
    SerialLineRequest request;
    request.flowControl = FlowControl::XonXoff;
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

}  // namespace
