#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "PortName.h"

namespace {

struct NameCase {
    const char* given;
    const char* windows;
    const char* posix;
};

TEST(PortName, NormalisedForEachPlatform) {
    const NameCase cases[] = {
        {"COM1", "COM1", "COM1"},
        {"COM3", "COM3", "COM3"},
        {"COM3:", "COM3", "COM3"},
        {"COM15", "\\\\.\\COM15", "COM15"},
        {"COM12:", "\\\\.\\COM12", "COM12"},
        {"/dev/ttyS0", "\\\\.\\/dev/ttyS0", "/dev/ttyS0"},
        {"/dev/ttyUSB0:", "\\\\.\\/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"", "", ""},
        {"COM1::", "\\\\.\\COM1:", "COM1:"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(NormaliseWindowsPortName(c.given), c.windows) << c.given;
        EXPECT_EQ(NormalisePosixPortName(c.given), c.posix) << c.given;
    }
}

TEST(PortName, QueuePortNameForEachPlatform) {
    const NameCase cases[] = {
        {"com3", "COM3:", "com3"},
        {"COM3:", "COM3:", "COM3"},
        {"COM10", "COM10:", "COM10"},
        {"/dev/no-such-port:", "/DEV/NO-SUCH-PORT:", "/dev/no-such-port"},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(WindowsQueuePortName(c.given), c.windows) << c.given;
        EXPECT_EQ(PosixQueuePortName(c.given), c.posix) << c.given;
    }
}

// A /dev/serial/by-id/... name and the tty it points to are one port.
TEST(PortName, QueuePortNameResolvesLinks) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("port-name-" + std::to_string(::getpid()));
    fs::create_directories(folder / "by-id");
    std::ofstream(folder / "ttyUSB0").put('\n');
    fs::create_symlink("../ttyUSB0", folder / "by-id" / "usb-printer");
    const std::string device = fs::canonical(folder / "ttyUSB0").string();
    EXPECT_EQ(PosixQueuePortName((folder / "by-id" / "usb-printer").string()), device);
    EXPECT_EQ(PosixQueuePortName((folder / "by-id" / "usb-printer").string() + ":"), device);
    fs::remove_all(folder);
}

}  // namespace
