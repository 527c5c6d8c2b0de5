#pragma once

#include <array>

// The speeds a load can run at, as the loader's window lists them and tq20 load takes them:
// every speed the printer's port page offers, and 7200.
inline constexpr std::array<unsigned, 11> kLoadSpeeds{1200,  2400,  4800,  7200,  9600,  14400,
                                                      19200, 28800, 38400, 57600, 115200};
