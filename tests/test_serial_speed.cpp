#include <gtest/gtest.h>

#include "OpenFailure.h"
#include "SerialSpeed.h"

namespace {

struct SpeedCase {
    const char* driver;
    unsigned requested;
    unsigned reported;
    bool accepted;
};

TEST(SerialSpeedReadBack, AcceptsWhatRealDriversReport) {
    const SpeedCase cases[] = {
        // A 16550 on its 1.8432 MHz clock divides every offered speed exactly.
        {"8250", 115200, 115200, true},
        {"8250", 7200, 7200, true},
        {"8250", 1200, 1200, true},
        // ftdi_sio reports the rate its divisor of 3 MHz achieved.
        {"ftdi_sio", 115200, 115384, true},
        {"ftdi_sio", 57600, 57553, true},
        {"ftdi_sio", 28800, 28811, true},
        {"ftdi_sio", 14400, 14397, true},
        {"ftdi_sio", 38400, 38461, true},
        // A UART on a 48 MHz clock rounds to its whole divisor.
        {"48 MHz divisor", 28800, 28846, true},
        {"48 MHz divisor", 7200, 7211, true},
        // The edge of what the line tolerates, 2 %, and just past it.
        {"2 % fast", 100000, 102000, true},
        {"2 % slow", 100000, 98000, true},
        {"2.1 % fast", 100000, 102100, false},
        {"2.1 % slow", 100000, 97900, false},
        // Drivers that cannot make the speed and fall back to another one.
        {"falls back to 9600", 7200, 9600, false},
        {"standard speeds only", 14400, 19200, false},
        {"standard speeds only", 28800, 38400, false},
        {"speed unreadable", 9600, 0, false},
        {"nothing requested", 0, 0, false},
    };
    for (const SpeedCase& c : cases) {
        EXPECT_EQ(IsSpeedAcceptable(c.requested, c.reported), c.accepted)
            << c.driver << ": " << c.requested << " reported as " << c.reported;
    }
}

TEST(SerialSpeedReadBack, RefusalNamesBothSpeeds) {
    OpenFailure failure(OpenFailureKind::SpeedRefused, "/dev/ttyUSB0");
    failure.requestedSpeed = 7200;
    failure.reportedSpeed = 9600;
    EXPECT_EQ(DescribeOpenFailure(failure),
              "The driver of /dev/ttyUSB0 runs the line at 9600 bit/s instead of 7200 bit/s.");
}

struct WriteCase {
    const char* what;
    std::size_t bytes;
    unsigned baudRate;
};

// A write that is still leaving at the line's pace is no failure; one that takes far longer
// than its bytes need is.
TEST(SerialWriteLimit, GivesEveryWriteItsWireTimeAndTheDriverItsAllowance) {
    using namespace std::chrono_literals;
    const WriteCase cases[] = {
        {"a block's data request at 1200 bit/s", 261, 1200},
        {"a block's data request at 2400 bit/s", 261, 2400},
        {"a block's data request at 115200 bit/s", 261, 115200},
        {"a short request at 1200 bit/s", 5, 1200},
        {"a short request at 115200 bit/s", 5, 115200},
    };
    for (const WriteCase& c : cases) {
        // With parity and two stop bits a byte takes 12 bit times.
        const auto wire = std::chrono::milliseconds(c.bytes * 12 * 1000 / c.baudRate);
        const auto limit = SerialWriteLimit(c.bytes, c.baudRate);
        EXPECT_GE(limit, wire + 1s) << c.what;
        EXPECT_LE(limit, wire + 2100ms) << c.what << ": a dead line is still noticed";
    }
}

struct FailureCase {
    OpenFailure failure;
    const char* text;
};

OpenFailure With(OpenFailure failure, std::vector<std::string> devices, std::string group) {
    failure.presentDevices = std::move(devices);
    failure.owningGroup = std::move(group);
    return failure;
}

TEST(OpenFailureText, SaysWhyAndWhatToDo) {
    const FailureCase cases[] = {
        {With({OpenFailureKind::NoDevice, "/dev/ttyUSB0"}, {"/dev/ttyS0", "/dev/ttyUSB1"}, ""),
         "/dev/ttyUSB0 does not exist; the serial devices present are /dev/ttyS0, /dev/ttyUSB1."},
        {{OpenFailureKind::NoDevice, "/dev/ttyUSB0"},
         "/dev/ttyUSB0 does not exist; no serial device is present."},
        {With({OpenFailureKind::PermissionDenied, "/dev/ttyUSB0"}, {}, "dialout"),
         "Permission denied for /dev/ttyUSB0: it belongs to the group dialout; add yourself with "
         "\"sudo usermod -aG dialout $USER\" and log in again."},
        {With({OpenFailureKind::PermissionDenied, "/dev/ttyUSB0"}, {}, "root"),
         "Permission denied for /dev/ttyUSB0."},
        {{OpenFailureKind::InUse, "/dev/ttyS0"}, "/dev/ttyS0 is in use by another program."},
        {{OpenFailureKind::NotSerial, "/dev/null"}, "/dev/null is not a serial port."},
        {{OpenFailureKind::ConnectTimedOut, "10.0.0.5:9100"},
         "10.0.0.5:9100 did not accept the connection in time."},
        {{OpenFailureKind::None, ""}, ""},
    };
    for (const FailureCase& c : cases) {
        EXPECT_EQ(DescribeOpenFailure(c.failure), c.text);
    }
}

}  // namespace

// A window that sends in timed pieces keeps each within its time even at the longest framing,
// and always sends something.
TEST(BytesInWireTime, FitsTheLongestFrameAndNeverNone) {
    struct Case {
        unsigned baudRate;
        std::size_t bytes;
    } const cases[] = {{115200, 480}, {9600, 40}, {1200, 5}, {300, 1}, {50, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(BytesInWireTime(std::chrono::milliseconds(50), c.baudRate), c.bytes)
            << c.baudRate;
    }
}
