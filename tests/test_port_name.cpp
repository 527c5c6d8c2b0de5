#include <gtest/gtest.h>

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

}  // namespace
